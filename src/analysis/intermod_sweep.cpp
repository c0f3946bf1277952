#include "analysis/intermod_sweep.h"

#include "analysis/anti_diagonal.h"
#include "analysis/lanes.h"
#include "analysis/uniform_sum.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The sweep is compiled twice where the compiler can: for processors with 256-bit vector
// registers and for the rest. Both do the same operations in the same order and give the same
// bits. Everything the sweep calls is inlined into it, so that each copy is compiled whole.
// ThreadSanitizer instruments the function that picks the copy, which runs before it is
// ready, so its builds have one copy.
#if defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__)
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

// The products of one anti-diagonal's pairs with each subtracted carrier, into the tallies.
class DiagonalSweep {
public:
    DiagonalSweep(const SweepPlan& plan, Tallies& tallies, AntiDiagonal& diagonal)
        : plan_(plan), carriers_(plan.carriers), tallies_(tallies), diagonal_(diagonal),
          groups_(diagonal.groups()), windows_(groups_.size())
    {
        for (std::size_t used = 0; used <= width; ++used) {
            for (std::size_t lane = 0; lane < width; ++lane)
                usedLanes_[used][lane] = lane < used ? -1 : 0;
        }
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
        const AntiDiagonal::Excluded excluded = diagonal_.exclude(z);
        resetWindows();
        std::size_t begin = 0;
        std::size_t end = 0;
        diagonal_.victimRange(z, begin, end);
        for (std::size_t v = begin; v < end; ++v)
            sweepVictim(subtracted, v);
        if (plan_.bins.count > 0 && subtracted.rated)
            sweepBins(subtracted);
        countHittingProducts();
        AntiDiagonal::restore(excluded);
    }

private:
    ORVANE_INLINE void sweepVictim(const Subtracted& z, std::size_t v)
    {
        VictimSums sums;
        sums.trackNearest = !(tallies_.strongestPower[v] > 0.0);
        const double landingMhz = carriers_.centreMhz[v] + z.centreMhz;
        for (std::size_t group = 0; group < groups_.size(); ++group) {
            Window& window = windows_[group];
            moveWindow(groups_[group], landingMhz,
                       diagonal_.runDistance(group, static_cast<std::size_t>(z.position), v),
                       window);
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
        return ProductKey{carriers_.index[a], carriers_.index[diagonal_.diagonal() - a],
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
        const double spreadMhz = diagonal_.widestPairMhz() + z.reachMhz;
        const double lowestMhz = diagonal_.lowestSumMhz() - z.centreMhz - spreadMhz;
        const double highestMhz = diagonal_.highestSumMhz() - z.centreMhz + spreadMhz;
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
                const double distanceMhz =
                    pairs.reachMhz + z.reachMhz + roundingSlackMhz(landingMhz);
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
    AntiDiagonal& diagonal_;
    std::vector<PairGroup>& groups_;
    std::vector<Window> windows_;
    Masks usedLanes_[width + 1] = {};
};

} // namespace

ORVANE_WIDE_VECTOR_CLONES
bool sweepAntiDiagonals(const SweepPlan& plan, std::size_t begin, std::size_t end,
                        const std::atomic<bool>* cancel, Tallies& tallies)
{
    tallies.reset(plan.carriers.count(), plan.bins.count);
    AntiDiagonal pairs(plan);
    DiagonalSweep sweep(plan, tallies, pairs);
    for (std::size_t diagonal = begin; diagonal < end; ++diagonal) {
        if (!pairs.build(diagonal))
            continue;
        std::size_t from = 0;
        std::size_t to = 0;
        pairs.subtractedRange(from, to);
        for (std::size_t z = from; z < to; ++z) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return false;
            sweep.sweep(z);
        }
    }
    return true;
}

} // namespace orvane::intermod
