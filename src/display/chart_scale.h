#pragma once

#include <vector>

namespace orvane {

// Round values from low to high for a chart's axis: steps of 1, 2 or 5 times a power of ten,
// the fewest that give at most mostCount + 1 ticks, the first at or below low and the last at or
// above high (so the ticks span the values). Empty unless low and high are finite, low <= high
// and mostCount >= 1; one tick when low equals high.
std::vector<double> roundTicks(double low, double high, int mostCount);

// A value range mapped linearly onto a pixel range (to may lie below from, as a y axis runs).
struct LinearScale {
    double low = 0.0;
    double high = 1.0;
    double fromPx = 0.0;
    double toPx = 1.0;
    // The pixel of a value (values outside the range map outside the pixels); fromPx for an
    // empty range.
    double pixel(double value) const;
};

// The pixels [from, to) of one bar among groups of bars side by side: the pixels from fromPx to
// toPx shared out evenly among groupCount groups, each leaving up to a quarter of its width as a
// gap (less where the bars would get narrower than a pixel) and sharing the rest among
// barsPerGroup bars. Every bar is at least a pixel wide, and bars never overlap while there is a
// pixel for each.
struct PixelSpan {
    int from = 0;
    int to = 0;
};
PixelSpan groupedBarSpan(int fromPx, int toPx, int groupCount, int barsPerGroup, int group,
                         int bar);

} // namespace orvane
