#include "dialogs/fixed_carrier_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace orvane {

FixedCarrierDialog::FixedCarrierDialog(Carrier& carrier, QWidget* parent)
    : CarrierFormDialog(carrier, calcModeFixed, helpKey::fixedCarrier,
                        QStringLiteral("Carrier : Fixed Bandwidth or SymbolRate"), parent)
{
    auto* form = new QGridLayout;
    form->setColumnStretch(1, 1);
    form->addWidget(makeText(this, QStringLiteral("Carrier Label :")), 0, 0, Qt::AlignTop);
    form->addWidget(labelBox(), 0, 1, 1, 2);
    placeBox(form, 1, 0, makeText(this, QStringLiteral("Centre Frequency :")), FormField::centre,
             "MHz");
    placeBox(form, 2, 0, symbolRateRadio(), FormField::symbolRate, "kSps");
    placeBox(form, 3, 0, rateRadio(), FormField::bandwidth, "MHz");
    placeBox(form, 4, 0, makeText(this, QStringLiteral("Power Level :")), FormField::power, "dBW");
    placeBox(form, 5, 0, makeText(this, QStringLiteral("IF Filter Rolloff Factor :")),
             FormField::rolloff, "% (default 35%)");
    finishForm(form, {labelBox(), box(FormField::centre), symbolRateRadio(),
                      box(FormField::symbolRate), rateRadio(), box(FormField::bandwidth),
                      box(FormField::power), box(FormField::rolloff)});
}

} // namespace orvane
