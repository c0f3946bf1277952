#include "display/chart_scale.h"

#include <algorithm>
#include <cmath>

namespace orvane {

std::vector<double> roundTicks(double low, double high, int mostCount)
{
    std::vector<double> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || low > high || mostCount < 1)
        return ticks;
    if (low == high)
        return {low};
    const double rough = (high - low) / mostCount;
    double step = std::pow(10.0, std::floor(std::log10(rough)));
    // The first and last ticks lie outside the range by up to a step each: a step or two
    // larger than the rough one may be needed.
    for (int tried = 0; tried < 9; ++tried) {
        if (std::ceil(high / step - 1e-9) - std::floor(low / step + 1e-9) <= mostCount)
            break;
        step *= tried % 3 == 1 ? 2.5 : 2.0; // 1, 2, 5, 10, 20, 50, ...
    }
    const double first = std::floor(low / step + 1e-9);
    const double last = std::ceil(high / step - 1e-9);
    for (double index = first; index <= last; ++index)
        ticks.push_back(index * step == 0.0 ? 0.0 : index * step);
    return ticks;
}

double LinearScale::pixel(double value) const
{
    if (!(high != low))
        return fromPx;
    return fromPx + (value - low) / (high - low) * (toPx - fromPx);
}

PixelSpan groupedBarSpan(int fromPx, int toPx, int groupCount, int barsPerGroup, int group, int bar)
{
    if (groupCount < 1 || barsPerGroup < 1)
        return {fromPx, fromPx + 1};
    const double groupWidth = static_cast<double>(toPx - fromPx) / groupCount;
    // The gap gives way before a bar gets narrower than a pixel.
    const double gap = std::clamp(groupWidth - barsPerGroup, 0.0, groupWidth / 4.0);
    const double barWidth = (groupWidth - gap) / barsPerGroup;
    const double start = fromPx + group * groupWidth + gap / 2.0;
    const int from = static_cast<int>(std::lround(start + bar * barWidth));
    const int to = static_cast<int>(std::lround(start + (bar + 1) * barWidth));
    return {from, std::max(to, from + 1)};
}

} // namespace orvane
