#include "dialogs/entry_problem.h"

#include "model/program_identity.h"

#include <QLineEdit>
#include <QMessageBox>

#include <utility>

namespace orvane {

namespace {
EntryProblemReporter& installedReporter()
{
    static EntryProblemReporter reporter;
    return reporter;
}
} // namespace

void setEntryProblemReporter(EntryProblemReporter reporter)
{
    installedReporter() = std::move(reporter);
}

void reportEntryProblem(QWidget* dialog, const QString& message)
{
    if (installedReporter()) {
        installedReporter()(dialog, message);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(programCaption), message,
                    QMessageBox::Ok, dialog);
    box.exec();
}

void refuseEntry(QWidget* dialog, QWidget* field, const QString& message)
{
    reportEntryProblem(dialog, message);
    focusEntry(field);
}

void focusEntry(QWidget* field)
{
    field->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(field))
        box->selectAll();
}

} // namespace orvane
