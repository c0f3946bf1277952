#include "dialogs/field_reader.h"

#include "dialogs/dialog_text.h"
#include "dialogs/entry_problem.h"
#include "model/coding_tables.h"

#include <QLineEdit>

#include <algorithm>

namespace orvane {

void FieldReader::number(QLineEdit* box, double& value)
{
    if (skipping())
        return;
    if (const std::optional<double> read = readNumberText(box->text()))
        value = *read;
    else
        unreadable(box, enterNumberText);
}

void FieldReader::integer(QLineEdit* box, int& value)
{
    if (skipping())
        return;
    if (const std::optional<int> read = readIntegerText(box->text()))
        value = *read;
    else
        unreadable(box, enterIntegerText);
}

void FieldReader::require(bool condition, QWidget* field, const QString& message)
{
    if (skipping() || condition || mode_ != Mode::validating)
        return;
    refuse(field, message);
}

void FieldReader::unreadable(QLineEdit* box, const char* message)
{
    unreadable_.push_back(box);
    // A box the user cannot edit holds a value the dialog computes again on OK.
    if (mode_ == Mode::live || !box->isEnabled() || box->isReadOnly())
        return;
    refuse(box, QString::fromLatin1(message));
}

void FieldReader::refuse(QWidget* field, const QString& message)
{
    ok_ = false;
    reportEntryProblem(dialog_, message);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(field))
        box->selectAll();
}

bool UnreadableBoxes::contains(const QLineEdit* box) const
{
    return std::find(boxes_.begin(), boxes_.end(), box) != boxes_.end();
}

void UnreadableBoxes::markWritten(const QLineEdit* box)
{
    boxes_.erase(std::remove(boxes_.begin(), boxes_.end(), box), boxes_.end());
}

void applyFecChoice(int fecPosition, QLineEdit* fecValueBox, double& fecValue,
                    UnreadableBoxes& unreadable)
{
    if (fecPosition >= 0 && fecPosition < fecOtherPosition) {
        fecValueBox->setEnabled(false);
        fecValue = fecRateValues[static_cast<std::size_t>(fecPosition)];
        unreadable.markWritten(fecValueBox);
    } else if (fecPosition == fecOtherPosition) {
        fecValueBox->setEnabled(true);
        fecValueBox->setFocus(Qt::OtherFocusReason);
        fecValueBox->selectAll();
    }
}

} // namespace orvane
