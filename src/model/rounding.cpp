#include "model/rounding.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvane {

double roundHalfUpExact(double x)
{
    if (!std::isfinite(x))
        return x;
    const double whole = std::floor(x);
    return (x - whole >= 0.5) ? whole + 1.0 : whole;
}

int roundHalfUp(double x)
{
    if (std::isnan(x))
        return 0;
    const double rounded = roundHalfUpExact(x);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

double integerPower(double x, int n)
{
    if (n == 0)
        return 1.0;
    const long long count = std::llabs(static_cast<long long>(n));
    // Repeated multiplication cannot change these, so a huge exponent must not loop for ages.
    if (x == 0.0 || x == 1.0 || x == -1.0 || std::isnan(x)) {
        const double magnitude = (x == -1.0 && count % 2 == 0) ? 1.0 : x;
        return n < 0 ? 1.0 / magnitude : magnitude;
    }
    double result = x;
    for (long long i = 1; i < count; ++i) {
        result *= x;
        if (!std::isfinite(result) || result == 0.0)
            break;
    }
    return n < 0 ? 1.0 / result : result;
}

double roundToDecimals(double x, int n)
{
    if (n < 0)
        n = 0;
    const double scale = integerPower(10.0, n);
    const double scaled = x * scale;
    if (!std::isfinite(scaled) || !std::isfinite(scale))
        return x;
    return roundHalfUpExact(scaled) / scale;
}

} // namespace orvane
