#include "dialogs/frequency_entry_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/entry_problem.h"
#include "model/entry_text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

int FrequencyEntryDialog::widthForCaption(const QString& caption)
{
    // Window managers write captions in a bold title font, often larger than the dialog's,
    // beside an icon and three buttons: with less room the caption is cut short.
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    title.setPointSizeF(std::max(title.pointSizeF(), QApplication::font().pointSizeF()) * 1.2);
    return QFontMetrics(title).horizontalAdvance(caption) + titleBarRoomPx;
}

FrequencyEntryDialog::FrequencyEntryDialog(const QString& caption, double initialMhz,
                                           QWidget* parent)
    : HelpKeyDialog(helpKey::frequencyEntry, parent), frequencyMhz_(initialMhz)
{
    setWindowTitle(caption);
    auto* label = new QLabel(QStringLiteral("Frequency :  "), this);
    label->setObjectName(QStringLiteral("labelFrequency"));
    frequencyBox_ = makeNumberBox(this, QStringLiteral("editFrequency"));
    frequencyBox_->setText(numberText(initialMhz));

    auto* unit = new QLabel(QStringLiteral("MHz"), this);
    unit->setObjectName(QStringLiteral("unitFrequency"));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(frequencyBox_, 1);
    row->addWidget(unit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(makeOkCancelButtons(this));
    setMinimumWidth(widthForCaption(caption));
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
