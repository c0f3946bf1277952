#include "dialogs/fec_carrier_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace orvane {

FecCarrierDialog::FecCarrierDialog(Carrier& carrier, QWidget* parent)
    : CarrierFormDialog(carrier, calcModeFec, helpKey::fecCarrier,
                        QStringLiteral("Carrier : FEC & Modulation Calculation"), parent)
{
    QGridLayout* form = makeCodedForm();
    placeBox(form, 2, 4, makeText(this, QStringLiteral("Overheads :")), FormField::overheads,
             "kbps");
    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(2);
    codeRow->addWidget(makeText(this, QStringLiteral("RS(")));
    codeRow->addWidget(box(FormField::rsN));
    codeRow->addWidget(makeText(this, QStringLiteral(",")));
    codeRow->addWidget(box(FormField::rsK));
    codeRow->addWidget(makeText(this, QStringLiteral(")  =")));
    codeRow->addWidget(box(FormField::rsRatio), 1);
    form->addWidget(reedSolomonCheck(), 4, 4);
    form->addLayout(codeRow, 4, 5, 1, 2);
    finishForm(form,
               {labelBox(), box(FormField::centre), box(FormField::power), rateRadio(),
                box(FormField::dataRate), box(FormField::overheads), symbolRateRadio(),
                box(FormField::symbolRate), modulationList(), fecList(), box(FormField::fecValue),
                reedSolomonCheck(), box(FormField::rsN), box(FormField::rsK),
                box(FormField::rsRatio), box(FormField::rolloff), box(FormField::bandwidth)});
}

} // namespace orvane
