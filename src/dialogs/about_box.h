#pragma once

#include <QDialog>
#include <QPixmap>

class QPushButton;

namespace orvane {

// The program's name, version and maker. As a splash it has no caption bar and no OK button
// and closes itself after one second; otherwise it stays until OK.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(QWidget* parent, bool splashMode, bool customColours,
             const QPixmap& backgroundPicture);

    static constexpr int splashDurationMs = 1000;
    QPushButton* okButton() const { return okButton_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap backgroundPicture_;
    bool splash_;
    QPushButton* okButton_;
};

} // namespace orvane
