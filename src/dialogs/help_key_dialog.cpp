#include "dialogs/help_key_dialog.h"

#include "commands/help_request.h"

#include <QKeyEvent>

namespace orvane {

HelpKeyDialog::HelpKeyDialog(unsigned helpKey, QWidget* parent) : QDialog(parent), helpKey_(helpKey)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void HelpKeyDialog::keyPressEvent(QKeyEvent* event)
{
    // The boxes leave F1 to their dialog, so it arrives here from any of them.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        requestHelp(helpKey_);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvane
