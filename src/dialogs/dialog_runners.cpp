#include "dialogs/dialog_runners.h"

// Placeholder until the carrier dialogs land.
namespace orvane {

bool runCarrierDialog(QWidget*, Carrier&) { return false; }
std::optional<CarrierPosition> runCarrierSelection(QWidget*, const CarrierList&, const std::string&,
                                                   const std::string&)
{
    return std::nullopt;
}
std::optional<double> runFrequencyEntry(QWidget*, const std::string&, double) { return std::nullopt; }

}  // namespace orvane
