#include "placement/free_space.h"

#include "analysis/hit_rule.h"
#include "model/rounding.h"

#include <algorithm>
#include <cmath>

namespace orvane::placement {

namespace {

// Beyond this many steps from 0 positions are not counted exactly; no band of a plan file
// comes near it.
constexpr double farthestPosition = 9e15;

long long clampedPosition(double steps)
{
    return static_cast<long long>(std::max(-farthestPosition, std::min(farthestPosition, steps)));
}

} // namespace

double Grid::centreMhz(long long position) const
{
    return roundToDecimals(static_cast<double>(position) * stepMhz_, 5);
}

long long Grid::nearest(double mhz) const
{
    return clampedPosition(std::round(mhz / stepMhz_));
}

bool Grid::within(double lowMhz, double highMhz, long long& first, long long& last) const
{
    const double low = lowMhz - touchToleranceMhz;
    const double high = highMhz + touchToleranceMhz;
    if (!(low <= high))
        return false;
    first = clampedPosition(std::ceil(low / stepMhz_));
    last = clampedPosition(std::floor(high / stepMhz_));
    // The centres are rounded to 10 Hz, which may carry an end position just outside.
    while (first <= last && centreMhz(first) < low)
        ++first;
    while (last >= first && centreMhz(last) > high)
        --last;
    return first <= last;
}

std::vector<Interval> freeGaps(const Interval& band, std::vector<Interval> blocked)
{
    std::sort(blocked.begin(), blocked.end(), [](const Interval& a, const Interval& b) {
        return a.lowMhz < b.lowMhz || (a.lowMhz == b.lowMhz && a.highMhz < b.highMhz);
    });
    std::vector<Interval> gaps;
    double freeFromMhz = band.lowMhz;
    for (const Interval& block : blocked) {
        if (block.lowMhz > freeFromMhz)
            gaps.push_back({freeFromMhz, std::min(block.lowMhz, band.highMhz)});
        freeFromMhz = std::max(freeFromMhz, block.highMhz);
        if (freeFromMhz >= band.highMhz)
            break;
    }
    if (freeFromMhz < band.highMhz)
        gaps.push_back({freeFromMhz, band.highMhz});
    // A gap of no width still takes a carrier of no width.
    gaps.erase(std::remove_if(gaps.begin(), gaps.end(),
                              [](const Interval& gap) { return gap.highMhz < gap.lowMhz; }),
               gaps.end());
    return gaps;
}

std::vector<PositionRange> positionsIn(const std::vector<Interval>& gaps, double halfWidthMhz,
                                       const Grid& grid)
{
    std::vector<PositionRange> ranges;
    for (const Interval& gap : gaps) {
        PositionRange range;
        if (grid.within(gap.lowMhz + halfWidthMhz, gap.highMhz - halfWidthMhz, range.first,
                        range.last))
            ranges.push_back(range);
    }
    return ranges;
}

bool fitsIn(const std::vector<Interval>& gaps, double centreMhz, double halfWidthMhz)
{
    for (const Interval& gap : gaps) {
        if (centreMhz - halfWidthMhz >= gap.lowMhz - touchToleranceMhz &&
            centreMhz + halfWidthMhz <= gap.highMhz + touchToleranceMhz)
            return true;
    }
    return false;
}

void occupy(std::vector<Interval>& gaps, double centreMhz, double halfWidthMhz, double spacingMhz)
{
    const double lowMhz = centreMhz - halfWidthMhz - spacingMhz;
    const double highMhz = centreMhz + halfWidthMhz + spacingMhz;
    std::vector<Interval> left;
    for (const Interval& gap : gaps) {
        if (gap.highMhz <= lowMhz || gap.lowMhz >= highMhz) {
            left.push_back(gap);
            continue;
        }
        if (gap.lowMhz < lowMhz)
            left.push_back({gap.lowMhz, lowMhz});
        if (gap.highMhz > highMhz)
            left.push_back({highMhz, gap.highMhz});
    }
    gaps.swap(left);
}

bool pack(std::vector<Interval> gaps, const std::vector<double>& halfWidthsMhz, const Grid& grid,
          double spacingMhz, bool bestFit, std::vector<double>* centresMhz)
{
    if (centresMhz)
        centresMhz->clear();
    for (const double halfWidthMhz : halfWidthsMhz) {
        std::size_t chosen = gaps.size();
        double chosenCentreMhz = 0.0;
        double leastLeftMhz = 0.0;
        for (std::size_t g = 0; g < gaps.size(); ++g) {
            long long first = 0;
            long long last = 0;
            if (!grid.within(gaps[g].lowMhz + halfWidthMhz, gaps[g].highMhz - halfWidthMhz, first,
                             last))
                continue;
            const double centreMhz = grid.centreMhz(first);
            const double leftMhz = gaps[g].highMhz - (centreMhz + halfWidthMhz);
            if (chosen == gaps.size() || leftMhz < leastLeftMhz) {
                chosen = g;
                chosenCentreMhz = centreMhz;
                leastLeftMhz = leftMhz;
            }
            if (!bestFit)
                break;
        }
        if (chosen == gaps.size())
            return false;
        Interval& gap = gaps[chosen];
        gap.lowMhz = std::max(gap.lowMhz, chosenCentreMhz + halfWidthMhz + spacingMhz);
        if (gap.lowMhz > gap.highMhz + touchToleranceMhz)
            gaps.erase(gaps.begin() + static_cast<std::ptrdiff_t>(chosen));
        if (centresMhz)
            centresMhz->push_back(chosenCentreMhz);
    }
    return true;
}

} // namespace orvane::placement
