#pragma once

#include <QDialog>

class QKeyEvent;

namespace orvane {

// A modal dialog whose F1 asks for the help page of its key, wherever the focus is inside it.
class HelpKeyDialog : public QDialog {
    Q_OBJECT

public:
    HelpKeyDialog(unsigned helpKey, QWidget* parent);
    unsigned helpKey() const { return helpKey_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    unsigned helpKey_;
};

} // namespace orvane
