#include "budget/required_esn0.h"

#include "files/modcod_file.h"

#include <cmath>

namespace orvane {

namespace {

std::optional<double> finiteValue(double value)
{
    if (std::isfinite(value))
        return value;
    return std::nullopt;
}

} // namespace

const CarrierList& shippedDvbS2Catalogue()
{
    static const CarrierList catalogue = [] {
        CarrierList read;
        readModcodText(read, shippedDvbS2CatalogueText());
        return read;
    }();
    return catalogue;
}

std::optional<double> requiredEsN0Db(const Carrier& carrier, const CarrierList& reference)
{
    if (carrier.fromModcod != 0)
        return finiteValue(carrier.modcodParamA);
    if (carrier.calcMode != calcModeFec && carrier.calcMode != calcModeSpectral)
        return std::nullopt;
    for (const Carrier& entry : reference) {
        if (entry.modulationOrder == carrier.modulationOrder &&
            std::fabs(entry.fecRate - carrier.fecRate) <= sameFecRateTolerance)
            return finiteValue(entry.modcodParamA);
    }
    return std::nullopt;
}

} // namespace orvane
