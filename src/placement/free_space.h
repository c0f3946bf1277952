#pragma once

#include <vector>

// Where in the band a carrier may go, and whether a set of carriers fits at all.
namespace orvane::placement {

struct Interval {
    double lowMhz = 0.0;
    double highMhz = 0.0;
};

// Centres of moved carriers are whole steps from 0 MHz (the raster, or 10 Hz when free),
// rounded to the 10 Hz a carrier file keeps, so that a saved proposal reads back unchanged.
class Grid {
public:
    explicit Grid(double stepMhz) : stepMhz_(stepMhz) {}

    double stepMhz() const { return stepMhz_; }
    double centreMhz(long long position) const;
    // The nearest position to a frequency.
    long long nearest(double mhz) const;
    // The first and last position whose centre lies in [lowMhz, highMhz], widened by the
    // touch tolerance; false when there is none.
    bool within(double lowMhz, double highMhz, long long& first, long long& last) const;

private:
    double stepMhz_;
};

// Every position of a run from first to last.
struct PositionRange {
    long long first = 0;
    long long last = 0;
};

// The band less the blocked intervals (a carrier may touch them, not overlap them), in
// order. Blocked intervals may overlap one another and reach outside the band.
std::vector<Interval> freeGaps(const Interval& band, std::vector<Interval> blocked);

// The positions at which a carrier of this half width lies wholly inside one of the gaps.
std::vector<PositionRange> positionsIn(const std::vector<Interval>& gaps, double halfWidthMhz,
                                       const Grid& grid);

// Whether a carrier of this half width at centreMhz lies wholly inside one of the gaps.
bool fitsIn(const std::vector<Interval>& gaps, double centreMhz, double halfWidthMhz);

// The gaps once a carrier is at centreMhz: its band, widened by the spacing, leaves them.
void occupy(std::vector<Interval>& gaps, double centreMhz, double halfWidthMhz, double spacingMhz);

// Places carriers of these half widths one after another, in the order given, each at the
// lowest position of the first gap it fits in (bestFit: of the gap it leaves least of), the
// spacing kept between them. Their centres in that order when all fit; false otherwise.
bool pack(std::vector<Interval> gaps, const std::vector<double>& halfWidthsMhz, const Grid& grid,
          double spacingMhz, bool bestFit, std::vector<double>* centresMhz);

} // namespace orvane::placement
