#pragma once

#include <QMainWindow>
#include <QUrl>

class QTextBrowser;

namespace orvane {

// The help viewer: one window that shows pages of the help bundle and follows their links.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showPage(const QUrl& page, const QString& title);
    QUrl currentPage() const;

private:
    QTextBrowser* browser_;
    QUrl homePage_;
};

} // namespace orvane
