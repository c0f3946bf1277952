#include "model/coding_tables.h"

#include "model/carrier.h"
#include "model/rounding.h"

namespace orvane {

int fecRateIndex(double rate)
{
    const double roundedRate = roundToDecimals(rate, 5);
    for (std::size_t i = 0; i < fecRateValues.size(); ++i)
        if (roundedRate == roundToDecimals(fecRateValues[i], 5))
            return static_cast<int>(i);
    return -1;
}

int modulationPosition(int modulationOrder)
{
    const int position = bitsPerSymbol(modulationOrder) - 1;
    if (position < 0 || position >= static_cast<int>(modulationNames.size()))
        return -1;
    return position;
}

} // namespace orvane
