#include "analysis/intermod_sweep.h"

#include "analysis/lanes.h"
#include "analysis/uniform_sum.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The sweep is compiled twice where the compiler can: for processors with 256-bit vector
// registers and for the rest. Both do the same operations in the same order and give the same
// bits. Everything the sweep calls is inlined into it, so that each copy is compiled whole.
#if defined(__x86_64__) && defined(__linux__)
#define ORVANE_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_WIDE_VECTOR_CLONES
#endif
#define ORVANE_INLINE __attribute__((always_inline)) inline

namespace orvane::intermod {

namespace {

using lanes::Doubles;
using lanes::Masks;

constexpr std::size_t width = lanes::width;
constexpr double infinity = std::numeric_limits<double>::infinity();
// Linear powers (relative to the strongest possible product) below this are summed in
// decibels instead, so that no product's power underflows to nothing.
constexpr double faintPower = 1e-250;

// Runs are chosen with this much room for rounding in the products' frequencies; the exact
// tests come after.
double slackMhz(double magnitudeMhz)
{
    return 1e-9 * (1.0 + std::fabs(magnitudeMhz));
}

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
            values->assign(capacity + width, 0.0);
        marks.assign(capacity + width, 0);
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

// Sums of a run lie within this of each other: a few units in their last place, the rounding
// of decimal frequencies into binary and no more.
double runSpreadMhz(double sumMhz)
{
    return 4e-15 * std::fabs(sumMhz);
}

// The subtracted carrier of the products being swept.
struct Subtracted {
    double position;
    double centreMhz;
    double halfOccupiedMhz;
    double symbolMhz;
    double inverseSymbolMhz;
    double relativePower;
    double reachMhz;
    bool rated;
};

// What the products with one subtracted carrier do to one victim, lane by lane.
struct VictimSums {
    Doubles twoToneHits = {}; // copies of products hitting
    Doubles threeToneHits = {};
    Masks unratedHits = {};
    Doubles power = {};
    Doubles strongestPower = {};
    Doubles strongestFirst = {}; // the pair's first carrier: on one anti-diagonal, the key
    Doubles nearestMhz = Doubles{} + infinity;
    Doubles nearestFirst = {};
    // The nearest unpowered hit only matters to a victim no product puts power into.
    bool trackNearest = true;
};

struct Window {
    std::size_t begin = 0;
    std::size_t end = 0;
};

class DiagonalSweep {
public:
    DiagonalSweep(const SweepPlan& plan, Tallies& tallies)
        : plan_(plan), carriers_(plan.carriers), tallies_(tallies), windows_(plan.reachClasses)
    {
        const std::size_t capacity = carriers_.count() / 2 + 1;
        groups_.reserve(static_cast<std::size_t>(plan.reachClasses));
        for (int group = 0; group < plan.reachClasses; ++group)
            groups_.emplace_back(capacity);
        entries_.resize(static_cast<std::size_t>(plan.reachClasses));
        runOfFirst_.assign(carriers_.count(), 0);
        for (std::vector<PairEntry>& entries : entries_)
            entries.reserve(capacity);
        for (std::size_t used = 0; used <= width; ++used) {
            for (std::size_t lane = 0; lane < width; ++lane)
                usedLanes_[used][lane] = lane < used ? -1 : 0;
        }
    }

    // Builds the anti-diagonal's pairs; false when it has none. Then subtractedRange gives the
    // carriers whose products with them may land within reach of a victim or a bin.
    bool build(std::size_t diagonal)
    {
        diagonal_ = diagonal;
        const std::size_t n = carriers_.count();
        for (std::vector<PairEntry>& entries : entries_)
            entries.clear();
        const std::size_t firstFrom = diagonal >= n ? diagonal - (n - 1) : 0;
        for (std::size_t a = firstFrom; 2 * a <= diagonal; ++a) {
            const std::size_t b = diagonal - a;
            const int group = std::max(carriers_.reachClass[a], carriers_.reachClass[b]);
            PairEntry entry{};
            entry.sumMhz = carriers_.centreMhz[a] + carriers_.centreMhz[b];
            entry.first = static_cast<int>(a);
            entry.second = static_cast<int>(b);
            entries_[static_cast<std::size_t>(group)].push_back(entry);
        }
        lowestSumMhz_ = infinity;
        highestSumMhz_ = -infinity;
        widestPairMhz_ = 0.0;
        for (std::size_t group = 0; group < groups_.size(); ++group) {
            fill(groups_[group], entries_[group]);
            if (groups_[group].count == 0)
                continue;
            lowestSumMhz_ = std::min(lowestSumMhz_, groups_[group].sumMhz.front());
            highestSumMhz_ =
                std::max(highestSumMhz_, groups_[group].sumMhz[groups_[group].count - 1]);
            widestPairMhz_ = std::max(widestPairMhz_, groups_[group].reachMhz);
        }
        if (!(lowestSumMhz_ <= highestSumMhz_))
            return false;
        // The farthest a product's reach and a victim's can bring them together.
        reachMhz_ = widestPairMhz_ + plan_.widestFactorMhz + plan_.widestVictimMhz +
                    slackMhz(std::max(std::fabs(lowestSumMhz_), std::fabs(highestSumMhz_)));
        return true;
    }

    void subtractedRange(std::size_t& begin, std::size_t& end) const
    {
        const std::vector<double>& centres = carriers_.centreMhz;
        double lowMhz = lowestSumMhz_ - (centres.back() + reachMhz_);
        double highMhz = highestSumMhz_ - (centres.front() - reachMhz_);
        const Bins& bins = plan_.bins;
        if (bins.count > 0 && plan_.levelled) {
            lowMhz = std::min(lowMhz, lowestSumMhz_ - (bins.highMhz + reachMhz_));
            highMhz = std::max(highMhz, highestSumMhz_ - (bins.lowMhz - reachMhz_));
        }
        begin = static_cast<std::size_t>(std::upper_bound(centres.begin(), centres.end(), lowMhz) -
                                         centres.begin());
        end = std::max(begin, static_cast<std::size_t>(
                                  std::lower_bound(centres.begin(), centres.end(), highMhz) -
                                  centres.begin()));
    }

    // The victims whose centre plus the subtracted carrier's may come near a pair's sum.
    void victimRange(std::size_t z, std::size_t& begin, std::size_t& end) const
    {
        const std::vector<double>& centres = carriers_.centreMhz;
        const double zMhz = centres[z];
        begin = static_cast<std::size_t>(
            std::upper_bound(centres.begin(), centres.end(), lowestSumMhz_ - zMhz - reachMhz_) -
            centres.begin());
        end = std::max(
            begin, static_cast<std::size_t>(std::lower_bound(centres.begin(), centres.end(),
                                                             highestSumMhz_ - zMhz + reachMhz_) -
                                            centres.begin()));
    }

    // The pairs in the run of each class for a subtracted carrier and a victim: the
    // evaluations the sweep makes of them, without making them.
    double runLengths(std::size_t z, std::size_t v)
    {
        const double landingMhz = carriers_.centreMhz[v] + carriers_.centreMhz[z];
        double pairs = 0.0;
        for (std::size_t group = 0; group < groups_.size(); ++group) {
            const Window window = moveWindow(group, landingMhz, runDistance(group, z, v));
            pairs += static_cast<double>(window.end - window.begin);
        }
        return pairs;
    }

    void resetWindows()
    {
        std::fill(windows_.begin(), windows_.end(), Window());
        for (PairGroup& group : groups_) {
            group.markedBegin = group.count;
            group.markedEnd = 0;
        }
    }

    ORVANE_INLINE void sweep(std::size_t z)
    {
        const Subtracted subtracted{static_cast<double>(z),        carriers_.centreMhz[z],
                                    carriers_.halfOccupiedMhz[z],  carriers_.symbolMhz[z],
                                    carriers_.inverseSymbolMhz[z], carriers_.relativePower[z],
                                    carriers_.factorReachMhz[z],   carriers_.rated[z] != 0};
        const Excluded excluded = exclude(z);
        resetWindows();
        std::size_t begin = 0;
        std::size_t end = 0;
        victimRange(z, begin, end);
        for (std::size_t v = begin; v < end; ++v)
            sweepVictim(subtracted, v);
        if (plan_.bins.count > 0 && subtracted.rated)
            sweepBins(subtracted);
        countHittingProducts();
        restore(excluded);
    }

private:
    // The group's pairs sorted by sum into its arrays, as runs.
    void fill(PairGroup& group, std::vector<PairEntry>& entries)
    {
        for (PairEntry& entry : entries) {
            const std::size_t a = static_cast<std::size_t>(entry.first);
            const std::size_t b = static_cast<std::size_t>(entry.second);
            entry.sumBucket = std::nearbyint(entry.sumMhz * 1e12);
            entry.halfSpanMhz = carriers_.halfOccupiedMhz[a] + carriers_.halfOccupiedMhz[b];
            entry.widerSymbolMhz = std::max(carriers_.symbolMhz[a], carriers_.symbolMhz[b]);
            entry.narrowerSymbolMhz = std::min(carriers_.symbolMhz[a], carriers_.symbolMhz[b]);
            // Fa+Fb-Fc is 20*log10(2) dB stronger than 2*Fa-Fb of the same powers; -1 when
            // not rated.
            entry.power =
                carriers_.rated[a] && carriers_.rated[b]
                    ? carriers_.relativePower[a] * carriers_.relativePower[b] * (a == b ? 1.0 : 4.0)
                    : -1.0;
        }
        std::sort(entries.begin(), entries.end(), [](const PairEntry& x, const PairEntry& y) {
            if (x.sumBucket != y.sumBucket)
                return x.sumBucket < y.sumBucket;
            if (x.halfSpanMhz != y.halfSpanMhz)
                return x.halfSpanMhz < y.halfSpanMhz;
            if (x.widerSymbolMhz != y.widerSymbolMhz)
                return x.widerSymbolMhz < y.widerSymbolMhz;
            if (x.narrowerSymbolMhz != y.narrowerSymbolMhz)
                return x.narrowerSymbolMhz < y.narrowerSymbolMhz;
            if (x.power != y.power)
                return x.power < y.power;
            return x.first < y.first;
        });
        group.count = 0;
        group.reachMhz = 0.0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const PairEntry& entry = entries[i];
            const std::size_t run = group.count;
            if (run > 0 && entries[i - 1].sameProducts(entry) &&
                std::fabs(entry.sumMhz - group.sumMhz[run - 1]) <=
                    runSpreadMhz(group.sumMhz[run - 1])) {
                if (group.copies[run - 1] == 1.0)
                    group.nextFirst[run - 1] = entry.first;
                group.copies[run - 1] += 1.0;
                runOfFirst_[static_cast<std::size_t>(entry.first)] = run - 1;
                continue;
            }
            setRepresentative(group, run, static_cast<std::size_t>(entry.first),
                              static_cast<std::size_t>(entry.second));
            const std::size_t a = static_cast<std::size_t>(entry.first);
            const std::size_t b = static_cast<std::size_t>(entry.second);
            group.halfSpanMhz[run] = entry.halfSpanMhz;
            group.symbolSumMhz[run] = carriers_.symbolMhz[a] + carriers_.symbolMhz[b];
            group.widerSymbolMhz[run] = entry.widerSymbolMhz;
            group.narrowerSymbolMhz[run] = entry.narrowerSymbolMhz;
            group.inverseSymbols[run] =
                carriers_.inverseSymbolMhz[a] * carriers_.inverseSymbolMhz[b];
            group.power[run] = std::max(entry.power, 0.0);
            group.rated[run] = entry.power >= 0.0 ? 1.0 : 0.0;
            group.copies[run] = 1.0;
            group.nextFirst[run] = -1.0;
            group.reachMhz = std::max(group.reachMhz,
                                      std::max(entry.halfSpanMhz, 0.5 * group.symbolSumMhz[run]));
            runOfFirst_[a] = run;
            ++group.count;
        }
        sortRuns(group, entries);
    }

    // Runs of a bucket need not come in the order of their sums: they are put in it, so that
    // the runs' sums rise as the windows need them to.
    void sortRuns(PairGroup& group, const std::vector<PairEntry>& entries)
    {
        bool sorted = true;
        for (std::size_t run = 1; run < group.count && sorted; ++run)
            sorted = !(group.sumMhz[run] < group.sumMhz[run - 1]);
        if (sorted)
            return;
        order_.resize(group.count);
        for (std::size_t run = 0; run < group.count; ++run)
            order_[run] = run;
        std::sort(order_.begin(), order_.end(), [&group](std::size_t x, std::size_t y) {
            return group.sumMhz[x] < group.sumMhz[y] ||
                   (group.sumMhz[x] == group.sumMhz[y] && group.first[x] < group.first[y]);
        });
        for (std::vector<double>* values :
             {&group.sumMhz, &group.firstMhz, &group.secondMhz, &group.first, &group.second,
              &group.halfSpanMhz, &group.symbolSumMhz, &group.widerSymbolMhz,
              &group.narrowerSymbolMhz, &group.inverseSymbols, &group.power, &group.rated,
              &group.copies, &group.nextFirst}) {
            scratch_.resize(group.count);
            for (std::size_t run = 0; run < group.count; ++run)
                scratch_[run] = (*values)[order_[run]];
            std::copy(scratch_.begin(), scratch_.end(), values->begin());
        }
        placeOf_.resize(group.count);
        for (std::size_t run = 0; run < group.count; ++run)
            placeOf_[order_[run]] = run;
        for (const PairEntry& entry : entries) {
            std::size_t& run = runOfFirst_[static_cast<std::size_t>(entry.first)];
            run = placeOf_[run];
        }
    }

    // The pair (a, b) stands for the run.
    void setRepresentative(PairGroup& group, std::size_t run, std::size_t a, std::size_t b)
    {
        group.sumMhz[run] = carriers_.centreMhz[a] + carriers_.centreMhz[b];
        group.firstMhz[run] = carriers_.centreMhz[a];
        group.secondMhz[run] = carriers_.centreMhz[b];
        group.first[run] = static_cast<double>(a);
        group.second[run] = static_cast<double>(b);
    }

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

    Excluded exclude(std::size_t z)
    {
        Excluded excluded;
        if (diagonal_ < z || diagonal_ - z >= carriers_.count())
            return excluded;
        const std::size_t a = std::min(z, diagonal_ - z);
        const std::size_t b = diagonal_ - a;
        PairGroup& group = groups_[static_cast<std::size_t>(
            std::max(carriers_.reachClass[a], carriers_.reachClass[b]))];
        const std::size_t run = runOfFirst_[a];
        excluded = Excluded{&group,
                            run,
                            group.sumMhz[run],
                            group.firstMhz[run],
                            group.secondMhz[run],
                            group.first[run],
                            group.second[run]};
        group.copies[run] -= 1.0;
        if (group.first[run] == static_cast<double>(a) && group.copies[run] > 0.0) {
            const std::size_t next = static_cast<std::size_t>(group.nextFirst[run]);
            setRepresentative(group, run, next, diagonal_ - next);
        }
        return excluded;
    }

    static void restore(const Excluded& excluded)
    {
        if (!excluded.group)
            return;
        PairGroup& group = *excluded.group;
        const std::size_t run = excluded.run;
        group.copies[run] += 1.0;
        group.sumMhz[run] = excluded.sumMhz;
        group.firstMhz[run] = excluded.firstMhz;
        group.secondMhz[run] = excluded.secondMhz;
        group.first[run] = excluded.first;
        group.second[run] = excluded.second;
    }

    double runDistance(std::size_t group, std::size_t z, std::size_t v) const
    {
        const double landingMhz = carriers_.centreMhz[v] + carriers_.centreMhz[z];
        return groups_[group].reachMhz + carriers_.factorReachMhz[z] + carriers_.victimReachMhz[v] +
               slackMhz(landingMhz);
    }

    // The group's pairs with sums strictly within distance of landing. Victims come in rising
    // order, so the window only moves a little at a time: it is moved rather than searched for.
    Window moveWindow(std::size_t group, double landingMhz, double distanceMhz)
    {
        const PairGroup& pairs = groups_[group];
        const double lowMhz = landingMhz - distanceMhz;
        const double highMhz = landingMhz + distanceMhz;
        const double* const sums = pairs.sumMhz.data();
        Window& window = windows_[group];
        while (window.begin > 0 && sums[window.begin - 1] > lowMhz)
            --window.begin;
        while (window.begin < pairs.count && !(sums[window.begin] > lowMhz))
            ++window.begin;
        window.end = std::max(window.end, window.begin);
        while (window.end < pairs.count && sums[window.end] < highMhz)
            ++window.end;
        while (window.end > window.begin && !(sums[window.end - 1] < highMhz))
            --window.end;
        return window;
    }

    ORVANE_INLINE void sweepVictim(const Subtracted& z, std::size_t v)
    {
        VictimSums sums;
        sums.trackNearest = !(tallies_.strongestPower[v] > 0.0);
        const double landingMhz = carriers_.centreMhz[v] + z.centreMhz;
        for (std::size_t group = 0; group < groups_.size(); ++group) {
            const Window window = moveWindow(
                group, landingMhz, runDistance(group, static_cast<std::size_t>(z.position), v));
            PairGroup& pairs = groups_[group];
            pairs.markedBegin = std::min(pairs.markedBegin, window.begin);
            pairs.markedEnd = std::max(pairs.markedEnd, window.end);
            for (std::size_t block = window.begin; block < window.end; block += width)
                sweepBlock(z, v, pairs, block, std::min(width, window.end - block), sums);
        }
        tallies_.twoToneHits[v] += static_cast<long long>(
            sums.twoToneHits[0] + sums.twoToneHits[1] + sums.twoToneHits[2] + sums.twoToneHits[3]);
        tallies_.threeToneHits[v] +=
            static_cast<long long>(sums.threeToneHits[0] + sums.threeToneHits[1] +
                                   sums.threeToneHits[2] + sums.threeToneHits[3]);
        if (lanes::any(sums.unratedHits))
            tallies_.unratedHit[v] = 1;
        // The lanes in order: the same sum every time.
        tallies_.power[v] += ((sums.power[0] + sums.power[1]) + sums.power[2]) + sums.power[3];
        for (std::size_t lane = 0; lane < width; ++lane) {
            if (sums.strongestPower[lane] > 0.0)
                offerStrongest(v, sums.strongestPower[lane], keyOf(sums.strongestFirst[lane], z));
            if (sums.nearestMhz[lane] < infinity)
                offerNearest(v, sums.nearestMhz[lane], keyOf(sums.nearestFirst[lane], z));
        }
    }

    ProductKey keyOf(double first, const Subtracted& z) const
    {
        const std::size_t a = static_cast<std::size_t>(first);
        return ProductKey{carriers_.index[a], carriers_.index[diagonal_ - a],
                          carriers_.index[static_cast<std::size_t>(z.position)]};
    }

    // Up to four products' frequencies, computed as the intermodulation report computes them,
    // to the last bit: Fa+Fb-Fc, except (Fa-Fc)+Fb when Fc lies between the pair's carriers.
    // A lane is valid when it holds products: within the block, copies left without z.
    ORVANE_INLINE void productFrequencies(const Subtracted& z, const PairGroup& pairs,
                                          std::size_t block, std::size_t used, Doubles& frequency,
                                          Masks& valid) const
    {
        Doubles sum;
        Doubles firstMhz;
        Doubles secondMhz;
        Doubles first;
        Doubles second;
        lanes::load(&pairs.sumMhz[block], sum);
        lanes::load(&pairs.firstMhz[block], firstMhz);
        lanes::load(&pairs.secondMhz[block], secondMhz);
        lanes::load(&pairs.first[block], first);
        lanes::load(&pairs.second[block], second);
        Doubles copies;
        lanes::load(&pairs.copies[block], copies);
        const Masks between = (first < z.position) & (second > z.position);
        frequency = between ? (firstMhz - z.centreMhz) + secondMhz : sum - z.centreMhz;
        Doubles magnitude;
        lanes::magnitude(frequency, magnitude);
        valid = usedLanes_[used] & (copies > Doubles{}) & (magnitude < infinity);
    }

    // The products' spectra: the three symbol rates in order, and their cubes.
    struct Shapes {
        Doubles wide;
        Doubles middle;
        Doubles narrow;
        CubicLanes cubic;
    };

    ORVANE_INLINE void productShapes(const Subtracted& z, const PairGroup& pairs, std::size_t block,
                                     Shapes& shapes) const
    {
        Doubles symbolSum;
        Doubles wider;
        Doubles narrower;
        Doubles inverse;
        lanes::load(&pairs.symbolSumMhz[block], symbolSum);
        lanes::load(&pairs.widerSymbolMhz[block], wider);
        lanes::load(&pairs.narrowerSymbolMhz[block], narrower);
        lanes::load(&pairs.inverseSymbols[block], inverse);
        const Doubles zero = {};
        const Doubles symbol = zero + z.symbolMhz;
        shapes.wide = wider > symbol ? wider : symbol;
        shapes.narrow = narrower < symbol ? narrower : symbol;
        const Doubles smallerOfOthers = wider < symbol ? wider : symbol;
        shapes.middle = narrower > smallerOfOthers ? narrower : smallerOfOthers;
        CubicLanes& cubic = shapes.cubic;
        cubic.reach = 0.5 * (symbolSum + z.symbolMhz);
        cubic.narrow = shapes.narrow;
        cubic.middle = shapes.middle;
        cubic.scale = inverse * z.inverseSymbolMhz / 6.0;
        const Doubles others = shapes.middle + shapes.narrow;
        const Masks beyond = shapes.wide > others;
        cubic.lastStart = beyond ? others : shapes.wide;
        cubic.lastSign = beyond ? zero + 1.0 : zero - 1.0;
    }

    // Which lanes UniformSum takes in its common form.
    static void cubicLanes(const Shapes& shapes, Masks& cubic)
    {
        cubic = (shapes.narrow > Doubles{}) &
                (shapes.middle * shapes.narrow >= 1e-4 * shapes.wide * shapes.wide);
    }

    // The share of each product's power between low and high, lane by lane.
    ORVANE_INLINE void shares(const Shapes& shapes, const Masks& wanted, const Doubles& low,
                              const Doubles& high, Doubles& share) const
    {
        Masks cubic;
        cubicLanes(shapes, cubic);
        if (!lanes::any(wanted & ~cubic)) {
            cubicUniformSumShare(low, high, shapes.cubic, share);
            return;
        }
        // Widths too unequal for the cubes: each lane on its own.
        for (std::size_t lane = 0; lane < width; ++lane)
            share[lane] = wanted[lane] ? UniformSum(shapes.wide[lane], shapes.middle[lane],
                                                    shapes.narrow[lane])
                                             .share(low[lane], high[lane])
                                       : 0.0;
    }

    ORVANE_INLINE void sweepBlock(const Subtracted& z, std::size_t v, PairGroup& pairs,
                                  std::size_t block, std::size_t used, VictimSums& sums)
    {
        const Doubles zero = {};
        Doubles frequency;
        Masks valid;
        productFrequencies(z, pairs, block, used, frequency, valid);
        Doubles halfSpan;
        lanes::load(&pairs.halfSpanMhz[block], halfSpan);
        halfSpan += z.halfOccupiedMhz;
        const Masks hit = valid & (frequency - halfSpan < carriers_.hitHighMhz[v]) &
                          (frequency + halfSpan > carriers_.hitLowMhz[v]);

        Doubles power = {};
        Masks rated = {};
        Masks powered = {};
        if (z.rated) {
            Doubles ratedPair;
            lanes::load(&pairs.rated[block], ratedPair);
            rated = valid & (ratedPair > zero);
            Shapes shapes;
            productShapes(z, pairs, block, shapes);
            Doubles share;
            shares(shapes, rated, carriers_.symbolLowMhz[v] - frequency,
                   carriers_.symbolHighMhz[v] - frequency, share);
            powered = rated & (share > zero);
            Doubles pairPower;
            lanes::load(&pairs.power[block], pairPower);
            power = (pairPower * z.relativePower) * share;
            power = powered ? power : zero;
            const Masks faint = powered & (power < faintPower);
            if (lanes::any(faint)) {
                addFaint(z, v, pairs, block, faint, share);
                power = faint ? zero : power;
            }
            Doubles copies;
            lanes::load(&pairs.copies[block], copies);
            sums.power += power * copies;
        } else if (!lanes::any(hit)) {
            return;
        }

        Doubles first;
        Doubles second;
        Doubles copies;
        lanes::load(&pairs.first[block], first);
        lanes::load(&pairs.second[block], second);
        lanes::load(&pairs.copies[block], copies);
        const Masks twoTone = first == second;
        sums.twoToneHits += (hit & twoTone) ? copies : zero;
        sums.threeToneHits += (hit & ~twoTone) ? copies : zero;
        sums.unratedHits |= hit & ~rated;
        Masks marks;
        lanes::load(&pairs.marks[block], marks);
        lanes::store(marks | hit, &pairs.marks[block]);

        // Equal powers go to the earliest key: on one anti-diagonal, the lower first carrier.
        const Masks stronger =
            (power > sums.strongestPower) |
            ((power == sums.strongestPower) & (power > zero) & (first < sums.strongestFirst));
        sums.strongestPower = stronger ? power : sums.strongestPower;
        sums.strongestFirst = stronger ? first : sums.strongestFirst;
        if (!sums.trackNearest)
            return;
        Doubles distance;
        lanes::magnitude(frequency - carriers_.centreMhz[v], distance);
        const Masks unpoweredHit = hit & ~powered;
        const Masks nearer =
            unpoweredHit & ((distance < sums.nearestMhz) |
                            ((distance == sums.nearestMhz) & (first < sums.nearestFirst)));
        sums.nearestMhz = nearer ? distance : sums.nearestMhz;
        sums.nearestFirst = nearer ? first : sums.nearestFirst;
    }

    // Products too faint for the linear sum, in decibels.
    void addFaint(const Subtracted& z, std::size_t v, const PairGroup& pairs, std::size_t block,
                  const Masks& faint, const Doubles& share)
    {
        const std::size_t zPosition = static_cast<std::size_t>(z.position);
        for (std::size_t lane = 0; lane < width; ++lane) {
            if (faint[lane] == 0)
                continue;
            const std::size_t a = static_cast<std::size_t>(pairs.first[block + lane]);
            const std::size_t b = static_cast<std::size_t>(pairs.second[block + lane]);
            const double levelDbw = carriers_.powerDbw[a] + carriers_.powerDbw[b] +
                                    carriers_.powerDbw[zPosition] - 2.0 * plan_.ip3Dbw +
                                    (a == b ? 0.0 : 20.0 * std::log10(2.0));
            tallies_.addFaint(
                v, levelDbw + 10.0 * std::log10(share[lane] * pairs.copies[block + lane]),
                keyOf(pairs.first[block + lane], z));
        }
    }

    // The density curve: the power of the rated products below each bin edge, as the power of
    // those wholly below it and the shares of those reaching across it; a bin gets the
    // difference between its edges. Each product is taken once per edge it reaches across, and
    // the edges are those the anti-diagonal's products reach, so the sums stay small.
    ORVANE_INLINE void sweepBins(const Subtracted& z)
    {
        const Bins& bins = plan_.bins;
        const double spreadMhz = widestPairMhz_ + z.reachMhz;
        const double lowestMhz = lowestSumMhz_ - z.centreMhz - spreadMhz;
        const double highestMhz = highestSumMhz_ - z.centreMhz + spreadMhz;
        if (!(highestMhz > bins.lowMhz && lowestMhz < bins.highMhz))
            return;
        const int firstEdge =
            static_cast<int>(std::max(0.0, std::floor((lowestMhz - bins.lowMhz) / bins.widthMhz)));
        const int lastEdge =
            static_cast<int>(std::min(static_cast<double>(bins.count),
                                      std::ceil((highestMhz - bins.lowMhz) / bins.widthMhz)));
        std::fill(windows_.begin(), windows_.end(), Window());
        double below = 0.0;
        double previous = 0.0;
        for (int edge = firstEdge; edge <= lastEdge; ++edge) {
            const double edgeMhz = bins.edgeMhz(edge);
            const double landingMhz = edgeMhz + z.centreMhz;
            Doubles across = {};
            for (std::size_t group = 0; group < groups_.size(); ++group) {
                const PairGroup& pairs = groups_[group];
                const double distanceMhz = pairs.reachMhz + z.reachMhz + slackMhz(landingMhz);
                Window& window = windows_[group];
                // The edges rise, so a pair whose product lies wholly below one lies below all
                // the rest: it leaves the window for good, its power counted.
                while (window.begin < pairs.count &&
                       !(pairs.sumMhz[window.begin] > landingMhz - distanceMhz)) {
                    below += wholePower(pairs, window.begin, z);
                    ++window.begin;
                }
                window.end = std::max(window.end, window.begin);
                while (window.end < pairs.count &&
                       pairs.sumMhz[window.end] < landingMhz + distanceMhz)
                    ++window.end;
                for (std::size_t block = window.begin; block < window.end; block += width)
                    edgeBlock(z, edgeMhz, pairs, block, std::min(width, window.end - block),
                              across);
            }
            const double cumulative = below + (((across[0] + across[1]) + across[2]) + across[3]);
            if (edge > firstEdge)
                tallies_.bins[static_cast<std::size_t>(edge - 1)] +=
                    std::max(0.0, cumulative - previous);
            previous = cumulative;
        }
    }

    static double wholePower(const PairGroup& pairs, std::size_t pair, const Subtracted& z)
    {
        return pairs.power[pair] * z.relativePower * pairs.copies[pair];
    }

    // The power of up to four products below an edge.
    ORVANE_INLINE void edgeBlock(const Subtracted& z, double edgeMhz, const PairGroup& pairs,
                                 std::size_t block, std::size_t used, Doubles& across) const
    {
        const Doubles zero = {};
        Doubles frequency;
        Masks valid;
        productFrequencies(z, pairs, block, used, frequency, valid);
        Doubles ratedPair;
        lanes::load(&pairs.rated[block], ratedPair);
        const Masks rated = valid & (ratedPair > zero);
        Shapes shapes;
        productShapes(z, pairs, block, shapes);
        Masks cubic;
        cubicLanes(shapes, cubic);
        const Doubles offset = edgeMhz - frequency;
        Doubles fraction;
        if (!lanes::any(rated & ~cubic)) {
            Doubles tail;
            cubicUniformSumTail(offset, shapes.cubic, tail);
            fraction = offset > zero ? 1.0 - tail : tail;
        } else {
            for (std::size_t lane = 0; lane < width; ++lane)
                fraction[lane] = rated[lane] ? UniformSum(shapes.wide[lane], shapes.middle[lane],
                                                          shapes.narrow[lane])
                                                   .cdf(offset[lane])
                                             : 0.0;
        }
        Doubles pairPower;
        lanes::load(&pairs.power[block], pairPower);
        Doubles copies;
        lanes::load(&pairs.copies[block], copies);
        const Doubles power = ((pairPower * z.relativePower) * fraction) * copies;
        across += rated ? power : zero;
    }

    // Strongest first, then the earliest key, so that the result never depends on the order
    // in which the products were met.
    void offerStrongest(std::size_t v, double power, const ProductKey& key)
    {
        if (power > tallies_.strongestPower[v] ||
            (power == tallies_.strongestPower[v] && keyBefore(key, tallies_.strongest[v]))) {
            tallies_.strongestPower[v] = power;
            tallies_.strongest[v] = key;
        }
    }

    void offerNearest(std::size_t v, double distanceMhz, const ProductKey& key)
    {
        if (distanceMhz < tallies_.nearestMhz[v] ||
            (distanceMhz == tallies_.nearestMhz[v] && keyBefore(key, tallies_.nearest[v]))) {
            tallies_.nearestMhz[v] = distanceMhz;
            tallies_.nearest[v] = key;
        }
    }

    // Counts the products with the current subtracted carrier that hit something, and clears
    // their marks.
    void countHittingProducts()
    {
        for (PairGroup& pairs : groups_) {
            for (std::size_t i = pairs.markedBegin; i < pairs.markedEnd; ++i) {
                if (pairs.marks[i] != 0)
                    tallies_.productsHitting += static_cast<long long>(pairs.copies[i]);
                pairs.marks[i] = 0;
            }
        }
    }

    const SweepPlan& plan_;
    const Carriers& carriers_;
    Tallies& tallies_;
    std::vector<PairGroup> groups_;
    std::vector<std::vector<PairEntry>> entries_;
    std::vector<std::size_t> runOfFirst_; // on the current anti-diagonal, by first carrier
    std::vector<std::size_t> order_;
    std::vector<std::size_t> placeOf_;
    std::vector<double> scratch_;
    std::vector<Window> windows_;
    Masks usedLanes_[width + 1] = {};
    std::size_t diagonal_ = 0;
    double lowestSumMhz_ = 0.0;
    double highestSumMhz_ = 0.0;
    double widestPairMhz_ = 0.0;
    double reachMhz_ = 0.0;
};

} // namespace

ORVANE_WIDE_VECTOR_CLONES
bool sweepAntiDiagonals(const SweepPlan& plan, std::size_t begin, std::size_t end,
                        const std::atomic<bool>* cancel, Tallies& tallies)
{
    tallies.reset(plan.carriers.count(), plan.bins.count);
    DiagonalSweep sweep(plan, tallies);
    for (std::size_t diagonal = begin; diagonal < end; ++diagonal) {
        if (!sweep.build(diagonal))
            continue;
        std::size_t from = 0;
        std::size_t to = 0;
        sweep.subtractedRange(from, to);
        for (std::size_t z = from; z < to; ++z) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return false;
            sweep.sweep(z);
        }
    }
    return true;
}

std::vector<double> estimatedEvaluations(const SweepPlan& plan, const std::atomic<bool>* cancel)
{
    // An even sample of anti-diagonals, of subtracted carriers on each and of victims for each
    // (all of them in small plans), scaled up; the anti-diagonals in between are taken as their
    // neighbours. The estimate guides a budget and the split into chunks: a few percent do not
    // matter, a few seconds would.
    constexpr std::size_t diagonalsCounted = 128;
    constexpr std::size_t subtractedCounted = 256;
    constexpr std::size_t victimsCounted = 16;
    const std::size_t count = antiDiagonalCount(plan);
    std::vector<double> work(count, 0.0);
    if (count == 0)
        return work;
    Tallies unused;
    DiagonalSweep sweep(plan, unused);
    const auto stepFor = [](std::size_t range, std::size_t wanted) {
        return std::max<std::size_t>(1, range / wanted);
    };
    std::vector<std::size_t> counted;
    for (std::size_t diagonal = 0; diagonal < count; diagonal += stepFor(count, diagonalsCounted))
        counted.push_back(diagonal);
    if (counted.back() != count - 1)
        counted.push_back(count - 1);
    for (const std::size_t diagonal : counted) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        if (!sweep.build(diagonal))
            continue;
        std::size_t from = 0;
        std::size_t to = 0;
        sweep.subtractedRange(from, to);
        const std::size_t zStep = stepFor(to - from, subtractedCounted);
        double evaluations = 0.0;
        for (std::size_t z = from; z < to; z += zStep) {
            sweep.resetWindows();
            std::size_t begin = 0;
            std::size_t end = 0;
            sweep.victimRange(z, begin, end);
            const std::size_t vStep = stepFor(end - begin, victimsCounted);
            // Each subtracted carrier costs a little of its own, whatever it meets.
            double pairs = 1.0;
            for (std::size_t v = begin; v < end; v += vStep)
                pairs += sweep.runLengths(z, v) * static_cast<double>(vStep);
            evaluations += pairs * static_cast<double>(zStep);
        }
        work[diagonal] = evaluations;
    }
    for (std::size_t k = 0; k + 1 < counted.size(); ++k) {
        const std::size_t from = counted[k];
        const std::size_t to = counted[k + 1];
        for (std::size_t diagonal = from + 1; diagonal < to; ++diagonal) {
            const double along =
                static_cast<double>(diagonal - from) / static_cast<double>(to - from);
            work[diagonal] = work[from] + along * (work[to] - work[from]);
        }
    }
    return work;
}

} // namespace orvane::intermod
