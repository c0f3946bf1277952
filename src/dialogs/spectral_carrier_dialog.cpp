#include "dialogs/spectral_carrier_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace orvane {

SpectralCarrierDialog::SpectralCarrierDialog(Carrier& carrier, QWidget* parent)
    : CarrierFormDialog(carrier, calcModeSpectral, helpKey::spectralCarrier,
                        QStringLiteral("Carrier : Spectral Efficiency Calculation"), parent)
{
    QGridLayout* form = makeCodedForm();
    placeBox(form, 2, 4, makeText(this, QStringLiteral("Spectral Efficiency :")),
             FormField::efficiency, "bps/Hz");
    placeBox(form, 4, 4, makeText(this, QStringLiteral("Overheads :")), FormField::overheads,
             "kbps");
    finishForm(form,
               {labelBox(), box(FormField::centre), box(FormField::power), rateRadio(),
                box(FormField::dataRate), box(FormField::efficiency), symbolRateRadio(),
                box(FormField::symbolRate), modulationList(), fecList(), box(FormField::fecValue),
                box(FormField::overheads), box(FormField::rolloff), box(FormField::bandwidth)});
}

} // namespace orvane
