#include "dialogs/frequency_entry_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/entry_problem.h"
#include "model/entry_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvane {

FrequencyEntryDialog::FrequencyEntryDialog(const QString& caption, double initialMhz,
                                           QWidget* parent)
    : HelpKeyDialog(helpKey::frequencyEntry, parent), frequencyMhz_(initialMhz)
{
    setWindowTitle(caption);
    auto* label = new QLabel(QStringLiteral("Frequency :  "), this);
    label->setObjectName(QStringLiteral("labelFrequency"));
    frequencyBox_ = makeNumberBox(this, QStringLiteral("editFrequency"));
    frequencyBox_->setText(numberText(initialMhz));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(frequencyBox_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(makeOkCancelButtons(this));
    // Wide enough for the caption to show in full.
    setMinimumWidth(fontMetrics().horizontalAdvance(caption) + 120);
}

void FrequencyEntryDialog::accept()
{
    const std::optional<double> value = readEntryNumber(frequencyBox_->text().toStdString());
    // Shift and scrunch place carriers by it, which a saved plan must be able to keep.
    if (!value || !fitsInFile(*value)) {
        refuseEntry(this, frequencyBox_,
                    QString::fromStdString(value ? outsideFileRangeText("frequency", "MHz")
                                                 : enterNumberText));
        return;
    }
    frequencyMhz_ = *value;
    QDialog::accept();
}

} // namespace orvane
