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

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr std::size_t width = lanes::width;
// Positions of pairs are kept in doubles as group * positionsPerGroup + position.
constexpr double positionsPerGroup = 4294967296.0;

// The subtracted carrier of the products being swept.
struct Subtracted {
    double index;
    double centreMhz;
    double halfOccupiedMhz;
    double symbolMhz;
    double inverseSymbolMhz;
    double relativePower;
    double reachMhz;
    bool rated;
};

// A carrier as a target of the products.
struct Target {
    double centreMhz;
    double bandLowMhz;
    double bandHighMhz;
    double symbolLowMhz;
    double symbolHighMhz;
    double reachMhz;
};

// What the products with one subtracted carrier do to one target, lane by lane.
struct TargetSums {
    Masks twoToneHits = {}; // counts
    Masks threeToneHits = {};
    Doubles power = {};
    Masks unratedHits = {};
    Doubles strongestPower = {};
    Doubles strongestPosition = {};
    Doubles nearestMhz = {};
    Doubles nearestPosition = {};
    // The nearest unpowered hit only matters to a carrier that no product puts power into.
    bool trackNearest = true;
};

struct Window {
    std::size_t begin = 0;
    std::size_t end = 0;
};

class SubtractedSweep {
public:
    SubtractedSweep(const SweepPlan& plan, Tallies& tallies)
        : plan_(plan), tallies_(tallies), windows_(plan.pairs.size()),
          productHit_(plan.pairs.size()), cubicWithGroup_(plan.pairs.size(), 0),
          wideBeyondOthers_(plan.pairs.size(), 1)
    {
        for (std::size_t group = 0; group < plan.pairs.size(); ++group) {
            productHit_[group].assign(plan.pairs[group].count + PairGroup::paddingPairs, 0);
            lowestSumMhz_ = std::min(lowestSumMhz_, plan.pairs[group].sumMhz.front());
            highestSumMhz_ =
                std::max(highestSumMhz_, plan.pairs[group].sumMhz[plan.pairs[group].count - 1]);
            widestPairMhz_ = std::max(widestPairMhz_, plan.pairs[group].reachMhz);
        }
        for (const double reach : plan.carriers.victimReachMhz)
            widestVictimMhz_ = std::max(widestVictimMhz_, reach);
        for (std::size_t used = 0; used <= width; ++used) {
            for (std::size_t lane = 0; lane < width; ++lane)
                usedLanes_[used][lane] = lane < used ? -1 : 0;
        }
        for (std::size_t lane = 0; lane < width; ++lane)
            laneNumbers_[lane] = static_cast<double>(lane);
    }

    ORVANE_INLINE void sweep(std::size_t position)
    {
        const Carriers& carriers = plan_.carriers;
        const std::size_t index = static_cast<std::size_t>(carriers.index[position]);
        const Factor& factor = plan_.factors[index];
        const Subtracted z{static_cast<double>(index),  factor.centreMhz,
                           0.5 * factor.occupiedMhz,    factor.symbolMhz,
                           factor.inverseSymbolMhz,     factor.relativePower,
                           carriers.reachMhz[position], factor.rated && plan_.levelled};
        if (plan_.pairs.empty())
            return;

        // The victims whose centre plus the subtracted one comes near some pair's sum.
        const double marginMhz =
            widestPairMhz_ + z.reachMhz + widestVictimMhz_ + slackMhz(highestSumMhz_);
        const std::vector<double>& centres = carriers.centreMhz;
        const std::size_t first =
            static_cast<std::size_t>(std::upper_bound(centres.begin(), centres.end(),
                                                      lowestSumMhz_ - z.centreMhz - marginMhz) -
                                     centres.begin());
        const std::size_t end =
            static_cast<std::size_t>(std::lower_bound(centres.begin(), centres.end(),
                                                      highestSumMhz_ - z.centreMhz + marginMhz) -
                                     centres.begin());
        for (std::size_t group = 0; group < plan_.pairs.size(); ++group) {
            // Every product of the group with z takes the cubic form when even the narrowest
            // width is a hundredth of the widest (a little over, against rounding).
            const PairGroup& pairs = plan_.pairs[group];
            const double narrowest = std::min(pairs.narrowestSymbolMhz, z.symbolMhz);
            const double widest = std::max(pairs.widestSymbolMhz, z.symbolMhz);
            cubicWithGroup_[group] = narrowest > 0.0 && narrowest >= 0.0101 * widest;
            // When no width exceeds the other two together, the last cube never starts.
            wideBeyondOthers_[group] = !(widest <= 1.99 * narrowest);
        }
        resetWindows();
        for (std::size_t v = first; v < end; ++v)
            sweepVictim(z, v);
        if (plan_.bins.count > 0 && z.rated) {
            resetWindows();
            sweepBinEdges(z);
        }
        countHittingProducts();
    }

private:
    // Rounding in the products' frequencies is allowed for when choosing candidates; the
    // exact tests come after.
    static double slackMhz(double magnitudeMhz) { return 1e-9 * (1.0 + std::fabs(magnitudeMhz)); }

    void resetWindows() { std::fill(windows_.begin(), windows_.end(), Window()); }

    ORVANE_INLINE void sweepVictim(const Subtracted& z, std::size_t v)
    {
        const Carriers& carriers = plan_.carriers;
        const Target target{carriers.centreMhz[v],     carriers.bandLowMhz[v],
                            carriers.bandHighMhz[v],   carriers.symbolLowMhz[v],
                            carriers.symbolHighMhz[v], carriers.victimReachMhz[v]};
        const std::size_t victim = static_cast<std::size_t>(carriers.index[v]);
        TargetSums sums;
        sums.nearestMhz += infinity;
        sums.trackNearest = !(tallies_.strongestPower[victim] > 0.0);
        sweepTarget(z, target, sums);
        const long long twoTone =
            sums.twoToneHits[0] + sums.twoToneHits[1] + sums.twoToneHits[2] + sums.twoToneHits[3];
        const long long threeTone = sums.threeToneHits[0] + sums.threeToneHits[1] +
                                    sums.threeToneHits[2] + sums.threeToneHits[3];
        tallies_.twoToneHits[victim] += twoTone;
        tallies_.threeToneHits[victim] += threeTone;
        if (lanes::any(sums.unratedHits))
            tallies_.unratedHit[victim] = 1;
        // The lanes in order: the same sum every time.
        tallies_.power[victim] += ((sums.power[0] + sums.power[1]) + sums.power[2]) + sums.power[3];
        for (std::size_t lane = 0; lane < width; ++lane) {
            if (sums.strongestPower[lane] > 0.0)
                offerStrongest(victim, sums.strongestPower[lane],
                               keyAt(sums.strongestPosition[lane], z));
            if (sums.nearestMhz[lane] < infinity)
                offerNearest(victim, sums.nearestMhz[lane], keyAt(sums.nearestPosition[lane], z));
        }
    }

    // The density curve: the rated products' power below each bin edge, as the power of those
    // wholly below it and the shares of those reaching across it; a bin gets the difference
    // between its edges. Each product is taken once per edge it straddles.
    ORVANE_INLINE void sweepBinEdges(const Subtracted& z)
    {
        const Bins& bins = plan_.bins;
        double below = 0.0;
        double previous = 0.0;
        for (int edge = 0; edge <= bins.count; ++edge) {
            const double edgeMhz =
                edge == bins.count ? bins.highMhz : bins.lowMhz + edge * bins.widthMhz;
            const double landingMhz = edgeMhz + z.centreMhz;
            Doubles across = {};
            for (std::size_t group = 0; group < plan_.pairs.size(); ++group) {
                const PairGroup& pairs = plan_.pairs[group];
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
                    edgeBlock(z, edgeMhz, group, block, std::min(width, window.end - block),
                              across);
            }
            const double cumulative = below + (((across[0] + across[1]) + across[2]) + across[3]);
            if (edge > 0)
                tallies_.bins[static_cast<std::size_t>(edge - 1)] +=
                    std::max(0.0, cumulative - previous);
            previous = cumulative;
        }
    }

    ORVANE_INLINE double wholePower(const PairGroup& pairs, std::size_t pair,
                                    const Subtracted& z) const
    {
        if (pairs.first[pair] == z.index || pairs.second[pair] == z.index)
            return 0.0;
        return pairs.power[pair] * z.relativePower;
    }

    // The power of up to four products below an edge.
    ORVANE_INLINE void edgeBlock(const Subtracted& z, double edgeMhz, std::size_t group,
                                 std::size_t block, std::size_t used, Doubles& across)
    {
        const PairGroup& pairs = plan_.pairs[group];
        const Doubles zero = {};
        Doubles frequency;
        Masks valid;
        productFrequencies(z, pairs, block, used, frequency, valid);
        Doubles ratedPair;
        lanes::load(&pairs.rated[block], ratedPair);
        const Masks rated = valid & (ratedPair > zero);
        Doubles wide;
        Doubles middle;
        Doubles narrow;
        Doubles reach;
        Doubles inverseProduct;
        productShapes(z, pairs, block, wide, middle, narrow, reach, inverseProduct);
        Doubles below;
        if (allCubic(group, rated, wide, middle, narrow)) {
            cubicUniformSumCdf(edgeMhz - frequency, reach, narrow, middle, wide,
                               inverseProduct / 6.0, wideBeyondOthers_[group], below);
        } else {
            for (std::size_t lane = 0; lane < width; ++lane)
                below[lane] = rated[lane] ? UniformSum(wide[lane], middle[lane], narrow[lane],
                                                       inverseProduct[lane])
                                                .cdf(edgeMhz - frequency[lane])
                                          : 0.0;
        }
        Doubles pairPower;
        lanes::load(&pairs.power[block], pairPower);
        const Doubles power = (pairPower * z.relativePower) * below;
        across += rated ? power : zero;
    }

    // Every pair whose product with z can reach the target, four at a time.
    ORVANE_INLINE void sweepTarget(const Subtracted& z, const Target& target, TargetSums& sums)
    {
        const double landingMhz = target.centreMhz + z.centreMhz;
        for (std::size_t group = 0; group < plan_.pairs.size(); ++group) {
            const double distanceMhz =
                plan_.pairs[group].reachMhz + z.reachMhz + target.reachMhz + slackMhz(landingMhz);
            const Window window =
                moveWindow(group, landingMhz - distanceMhz, landingMhz + distanceMhz);
            for (std::size_t block = window.begin; block < window.end; block += width)
                sweepBlock(z, target, group, block, std::min(width, window.end - block), sums);
        }
    }

    // Up to four products' frequencies, computed as the intermodulation report computes them,
    // to the last bit: Fa+Fb-Fc, except (Fa-Fc)+Fb when Fc lies between the pair's carriers.
    // A lane is valid when it holds a product: within the block, z not in the pair.
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
        const Masks between = (first < z.index) & (second > z.index);
        frequency = between ? (firstMhz - z.centreMhz) + secondMhz : sum - z.centreMhz;
        Doubles magnitude;
        lanes::magnitude(frequency, magnitude);
        valid =
            usedLanes_[used] & (first != z.index) & (second != z.index) & (magnitude < infinity);
    }

    // The products' shapes: the three symbol rates in order, as UniformSum orders them, half
    // their sum and 1 / their product.
    ORVANE_INLINE void productShapes(const Subtracted& z, const PairGroup& pairs, std::size_t block,
                                     Doubles& wide, Doubles& middle, Doubles& narrow,
                                     Doubles& reach, Doubles& inverseProduct) const
    {
        Doubles symbolSum;
        Doubles wider;
        Doubles narrower;
        Doubles inverse;
        lanes::load(&pairs.symbolSumMhz[block], symbolSum);
        lanes::load(&pairs.widerSymbolMhz[block], wider);
        lanes::load(&pairs.narrowerSymbolMhz[block], narrower);
        lanes::load(&pairs.inverseSymbolMhz2[block], inverse);
        const Doubles zero = {};
        const Doubles symbol = zero + z.symbolMhz;
        wide = wider > symbol ? wider : symbol;
        narrow = narrower < symbol ? narrower : symbol;
        const Doubles smallerOfOthers = wider < symbol ? wider : symbol;
        middle = narrower > smallerOfOthers ? narrower : smallerOfOthers;
        reach = 0.5 * (symbolSum + z.symbolMhz);
        inverseProduct = inverse * z.inverseSymbolMhz;
    }

    // Whether the cubic form serves every rated lane.
    ORVANE_INLINE bool allCubic(std::size_t group, const Masks& rated, const Doubles& wide,
                                const Doubles& middle, const Doubles& narrow) const
    {
        if (cubicWithGroup_[group])
            return true;
        Masks cubic;
        cubicUniformSumLanes(narrow, middle, wide, cubic);
        return !lanes::any(rated & ~cubic);
    }

    ORVANE_INLINE void sweepBlock(const Subtracted& z, const Target& target, std::size_t group,
                                  std::size_t block, std::size_t used, TargetSums& sums)
    {
        const PairGroup& pairs = plan_.pairs[group];
        const Doubles zero = {};
        Doubles frequency;
        Masks valid;
        productFrequencies(z, pairs, block, used, frequency, valid);

        Doubles power = {};
        Masks rated = {};
        if (z.rated) {
            Doubles ratedPair;
            lanes::load(&pairs.rated[block], ratedPair);
            rated = valid & (ratedPair > zero);
            ratedPower(z, target, group, block, frequency, rated, power);
        }
        sums.power += power;

        Doubles halfSpan;
        lanes::load(&pairs.halfSpanMhz[block], halfSpan);
        halfSpan += z.halfOccupiedMhz;
        const Masks hit = valid & (frequency - halfSpan < target.bandHighMhz) &
                          (frequency + halfSpan > target.bandLowMhz);
        if (!z.rated && !lanes::any(hit))
            return;
        Doubles first;
        Doubles second;
        lanes::load(&pairs.first[block], first);
        lanes::load(&pairs.second[block], second);
        const Masks twoTone = first == second;
        sums.twoToneHits -= hit & twoTone; // a true lane holds -1
        sums.threeToneHits -= hit & ~twoTone;
        sums.unratedHits |= hit & ~rated;

        Masks marks;
        lanes::load(&productHit_[group][block], marks);
        lanes::store(marks | hit, &productHit_[group][block]);

        const Doubles position =
            (group * positionsPerGroup + static_cast<double>(block)) + laneNumbers_;
        const Masks stronger = power > sums.strongestPower;
        sums.strongestPower = stronger ? power : sums.strongestPower;
        sums.strongestPosition = stronger ? position : sums.strongestPosition;
        if (!sums.trackNearest)
            return;
        const Doubles offset = frequency - target.centreMhz;
        Doubles distance;
        lanes::magnitude(offset, distance);
        const Masks nearer = hit & ~(power > zero) & (distance < sums.nearestMhz);
        sums.nearestMhz = nearer ? distance : sums.nearestMhz;
        sums.nearestPosition = nearer ? position : sums.nearestPosition;
    }

    // The power each rated product puts into the target's symbol-rate band.
    ORVANE_INLINE void ratedPower(const Subtracted& z, const Target& target, std::size_t group,
                                  std::size_t block, const Doubles& frequency, const Masks& rated,
                                  Doubles& power)
    {
        const PairGroup& pairs = plan_.pairs[group];
        Doubles wide;
        Doubles middle;
        Doubles narrow;
        Doubles reach;
        Doubles inverseProduct;
        productShapes(z, pairs, block, wide, middle, narrow, reach, inverseProduct);
        Doubles share;
        if (allCubic(group, rated, wide, middle, narrow)) {
            const Doubles scale = inverseProduct / 6.0;
            const bool beyond = wideBeyondOthers_[group];
            Doubles upper;
            Doubles lower;
            cubicUniformSumCdf(target.symbolHighMhz - frequency, reach, narrow, middle, wide, scale,
                               beyond, upper);
            cubicUniformSumCdf(target.symbolLowMhz - frequency, reach, narrow, middle, wide, scale,
                               beyond, lower);
            lanes::positive(upper - lower, share);
        } else {
            // Widths too unequal for the cubes: each lane on its own.
            for (std::size_t lane = 0; lane < width; ++lane)
                share[lane] = rated[lane] ? UniformSum(wide[lane], middle[lane], narrow[lane],
                                                       inverseProduct[lane])
                                                .share(target.symbolLowMhz - frequency[lane],
                                                       target.symbolHighMhz - frequency[lane])
                                          : 0.0;
        }
        Doubles pairPower;
        lanes::load(&pairs.power[block], pairPower);
        const Doubles lanePower = (pairPower * z.relativePower) * share;
        const Doubles zero = {};
        power = rated ? lanePower : zero;
    }

    ProductKey keyAt(double position, const Subtracted& z) const
    {
        const std::size_t group = static_cast<std::size_t>(position / positionsPerGroup);
        const std::size_t pair =
            static_cast<std::size_t>(position - static_cast<double>(group) * positionsPerGroup);
        const PairGroup& pairs = plan_.pairs[group];
        return ProductKey{static_cast<int>(pairs.first[pair]), static_cast<int>(pairs.second[pair]),
                          static_cast<int>(z.index)};
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

    // The group's pairs with sums strictly between lowMhz and highMhz. Targets come in rising
    // order, so the window only moves a little at a time: it is moved rather than searched for.
    ORVANE_INLINE Window moveWindow(std::size_t group, double lowMhz, double highMhz)
    {
        const PairGroup& pairs = plan_.pairs[group];
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

    // Counts the products with the current subtracted carrier that hit something, and clears
    // their marks.
    void countHittingProducts()
    {
        for (std::vector<long long>& marks : productHit_) {
            for (long long& mark : marks) {
                tallies_.productsHitting -= mark;
                mark = 0;
            }
        }
    }

    const SweepPlan& plan_;
    Tallies& tallies_;
    std::vector<Window> windows_;
    // Per group and pair: whether its product with the current subtracted carrier hit a
    // carrier (-1).
    std::vector<std::vector<long long>> productHit_;
    // Per group: whether all its products with the current subtracted carrier take the cubic
    // form, sparing the test lane by lane.
    std::vector<char> cubicWithGroup_;
    std::vector<char> wideBeyondOthers_;
    Masks usedLanes_[width + 1] = {};
    Doubles laneNumbers_ = {};
    double lowestSumMhz_ = infinity;
    double highestSumMhz_ = -infinity;
    double widestPairMhz_ = 0.0;
    double widestVictimMhz_ = 0.0;
};

} // namespace

ORVANE_WIDE_VECTOR_CLONES
bool sweepSubtracted(const SweepPlan& plan, std::size_t begin, std::size_t end,
                     const std::atomic<bool>* cancel, Tallies& tallies)
{
    tallies.reset(plan.factors.size(), plan.bins.count);
    SubtractedSweep sweep(plan, tallies);
    for (std::size_t position = begin; position < end; ++position) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        sweep.sweep(position);
    }
    return true;
}

} // namespace orvane::intermod
