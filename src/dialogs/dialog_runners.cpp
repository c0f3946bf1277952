#include "dialogs/dialog_runners.h"

#include "dialogs/arrange_dialog.h"
#include "dialogs/carrier_selection_dialog.h"
#include "dialogs/fec_carrier_dialog.h"
#include "dialogs/fixed_carrier_dialog.h"
#include "dialogs/frequency_entry_dialog.h"
#include "dialogs/spectral_carrier_dialog.h"

namespace orvane {

bool runCarrierDialog(QWidget* parent, Carrier& carrier)
{
    switch (carrier.getCalcMode()) {
    case calcModeFixed: {
        FixedCarrierDialog dialog(carrier, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    case calcModeSpectral: {
        SpectralCarrierDialog dialog(carrier, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    default: {
        FecCarrierDialog dialog(carrier, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    }
}

std::optional<CarrierPosition> runCarrierSelection(QWidget* parent, const CarrierList& list,
                                                   const std::string& caption,
                                                   const std::string& okButtonText,
                                                   std::optional<CarrierPosition> preselected)
{
    CarrierSelectionDialog dialog(list, QString::fromStdString(caption),
                                  QString::fromStdString(okButtonText), parent, preselected);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedEntry();
}

std::optional<double> runFrequencyEntry(QWidget* parent, const std::string& caption,
                                        double initialMhz)
{
    FrequencyEntryDialog dialog(QString::fromStdString(caption), initialMhz, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.frequencyMhz();
}

bool runArrangeDialog(QWidget* parent, ArrangeModel& model)
{
    ArrangeDialog dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvane
