#pragma once

#include "analysis/hit_rule.h"
#include "analysis/intermod_sweep.h"
#include "analysis/lanes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// One anti-diagonal of a plan's carrier pairs at a time, as the sweep takes them
// (docs/analysis-sweep.md): its pairs by class of reach, sorted by sum, pairs whose products
// cannot differ kept as one run with their number of copies.
namespace orvane::intermod {

// The pairs of one anti-diagonal in one reach class, by ascending sum, as runs: pairs whose
// products cannot differ (the same widths, symbol rates and power, sums a few ulps apart, as on
// a raster) are one run with their number of copies, taken once. A run stands for its pair
// with the lowest first carrier (whose key comes first); carriers are given by position in
// Carriers, as doubles for the lanes. Each array holds a block of lanes more than there are
// runs, so that a block can always be read.
struct PairGroup {
    std::size_t count = 0;
    double reachMhz = 0.0; // the largest half span or half summed symbol rate of its pairs
    std::vector<double> sumMhz;
    std::vector<double> firstMhz;
    std::vector<double> secondMhz;
    std::vector<double> first;
    std::vector<double> second;
    std::vector<double> halfSpanMhz;
    std::vector<double> symbolSumMhz;
    std::vector<double> widerSymbolMhz;
    std::vector<double> narrowerSymbolMhz;
    std::vector<double> inverseSymbols; // 1 / the rates' product, 0 with a rate of 0
    std::vector<double> power;          // linear, relative; 0 when not rated
    std::vector<double> rated;          // 1 or 0
    std::vector<double> copies;         // pairs in the run
    std::vector<double> nextFirst;      // the run's second pair's first carrier; -1 for none
    // The lanes of the products hit, with the current subtracted carrier; counted and cleared
    // over [markedBegin, markedEnd) once it is done.
    std::vector<long long> marks;
    std::size_t markedBegin = 0;
    std::size_t markedEnd = 0;

    explicit PairGroup(std::size_t capacity)
    {
        for (std::vector<double>* values :
             {&sumMhz, &firstMhz, &secondMhz, &first, &second, &halfSpanMhz, &symbolSumMhz,
              &widerSymbolMhz, &narrowerSymbolMhz, &inverseSymbols, &power, &rated, &copies,
              &nextFirst})
            values->assign(capacity + lanes::width, 0.0);
        marks.assign(capacity + lanes::width, 0);
    }
};

// A pair before sorting, with what decides whether two pairs' products can differ.
struct PairEntry {
    double sumMhz;
    double sumBucket; // the sum to a millionth of a hertz, so that near-equal sums sort together
    double halfSpanMhz;
    double widerSymbolMhz;
    double narrowerSymbolMhz;
    double power;
    int first;
    int second;

    bool sameProducts(const PairEntry& other) const
    {
        return halfSpanMhz == other.halfSpanMhz && widerSymbolMhz == other.widerSymbolMhz &&
               narrowerSymbolMhz == other.narrowerSymbolMhz && power == other.power &&
               (first == second) == (other.first == other.second);
    }
};

// A group's pairs with sums strictly between two frequencies.
struct Window {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Moves the window to the group's pairs with sums strictly within distance of landing. Victims
// and edges come in rising order, so a window only moves a little at a time: it is moved
// rather than searched for.
inline void moveWindow(const PairGroup& pairs, double landingMhz, double distanceMhz,
                       Window& window)
{
    const double lowMhz = landingMhz - distanceMhz;
    const double highMhz = landingMhz + distanceMhz;
    const double* const sums = pairs.sumMhz.data();
    while (window.begin > 0 && sums[window.begin - 1] > lowMhz)
        --window.begin;
    while (window.begin < pairs.count && !(sums[window.begin] > lowMhz))
        ++window.begin;
    window.end = std::max(window.end, window.begin);
    while (window.end < pairs.count && sums[window.end] < highMhz)
        ++window.end;
    while (window.end > window.begin && !(sums[window.end - 1] < highMhz))
        --window.end;
}

class AntiDiagonal {
public:
    explicit AntiDiagonal(const SweepPlan& plan);

    // Builds the anti-diagonal's pairs; false when it has none.
    bool build(std::size_t diagonal);
    std::size_t diagonal() const { return diagonal_; }
    std::vector<PairGroup>& groups() { return groups_; }
    const std::vector<PairGroup>& groups() const { return groups_; }
    double lowestSumMhz() const { return lowestSumMhz_; }
    double highestSumMhz() const { return highestSumMhz_; }
    double widestPairMhz() const { return widestPairMhz_; }

    // The carriers whose products with the pairs may land within reach of a victim or a bin,
    // as positions [begin, end).
    void subtractedRange(std::size_t& begin, std::size_t& end) const;
    // The victims whose centre plus the subtracted carrier's may come near a pair's sum.
    void victimRange(std::size_t z, std::size_t& begin, std::size_t& end) const;
    // The farthest a pair's sum, as a product with z, can lie from the sum of z and a victim it
    // reaches: the group's reach, z's and v's, and room for rounding.
    double runDistance(std::size_t group, std::size_t z, std::size_t v) const;

    // The one pair of the anti-diagonal that has z in it makes no product with z: its run
    // counts a copy less while z is swept, and another pair stands for it if it stood for it.
    struct Excluded {
        PairGroup* group = nullptr;
        std::size_t run = 0;
        double sumMhz = 0.0;
        double firstMhz = 0.0;
        double secondMhz = 0.0;
        double first = 0.0;
        double second = 0.0;
    };
    Excluded exclude(std::size_t z);
    static void restore(const Excluded& excluded);

private:
    void fill(PairGroup& group, std::vector<PairEntry>& entries);
    void sortRuns(PairGroup& group, const std::vector<PairEntry>& entries);
    void setRepresentative(PairGroup& group, std::size_t run, std::size_t a, std::size_t b);

    const SweepPlan& plan_;
    const Carriers& carriers_;
    std::vector<PairGroup> groups_;
    std::vector<std::vector<PairEntry>> entries_;
    std::vector<std::size_t> runOfFirst_; // by first carrier, the run it is in
    std::vector<std::size_t> order_;
    std::vector<std::size_t> placeOf_;
    std::vector<double> scratch_;
    std::size_t diagonal_ = 0;
    double lowestSumMhz_ = 0.0;
    double highestSumMhz_ = 0.0;
    double widestPairMhz_ = 0.0;
    double reachMhz_ = 0.0;
};

} // namespace orvane::intermod
