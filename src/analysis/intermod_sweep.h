#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// The inner work of the intermodulation analysis, which only the analysis's own sources use;
// docs/analysis-sweep.md explains it with a figure.
//
// A product adds a pair of carriers (Fa+Fb, or Fa+Fa for 2*Fa-Fb) and subtracts a third, Fc;
// it lands on a victim V when the pair's sum lies near Fc + FV. Pairs are taken anti-diagonal
// by anti-diagonal: the pairs (a, b) of carriers by centre with a + b = d, whose sums lie close
// together because the centres rise with the positions. One anti-diagonal's pairs, sorted by
// sum, are all the memory the sweep needs beyond the carriers: for each subtracted carrier and
// each victim, the pairs whose products can reach the victim are one run of them, and the run
// moves up as the victims do.
namespace orvane::intermod {

// The carriers of the sorted plan with a finite centre, in order of centre (which is plan
// order), with what the products need of them as factors and as victims.
struct Carriers {
    std::vector<int> index; // in the sorted plan
    std::vector<double> centreMhz;
    std::vector<double> halfOccupiedMhz;
    std::vector<double> symbolMhz;
    std::vector<double> inverseSymbolMhz; // 0 for a symbol rate of 0
    std::vector<double> relativePower;    // linear, relative to the strongest rated carrier
    std::vector<double> powerDbw;
    std::vector<char> rated; // has a level, and an intercept point was given
    // As a factor: the larger half width, occupied or symbol rate.
    std::vector<double> factorReachMhz;
    // As a victim: the occupied band widened by the guard, each edge moved 1 Hz inwards, so
    // that a span hits when it reaches past both (the rule of hit_rule.h, lane by lane); the
    // symbol-rate band; and the larger half width of the two.
    std::vector<double> hitLowMhz;
    std::vector<double> hitHighMhz;
    std::vector<double> symbolLowMhz;
    std::vector<double> symbolHighMhz;
    std::vector<double> victimReachMhz;
    // Carriers of similar reach share a class; a pair belongs to the class of its wider
    // carrier, so that one wide carrier does not widen every run.
    std::vector<int> reachClass;
    std::size_t count() const { return index.size(); }
};

// The bins of the density curve: equal widths between lowMhz and highMhz.
struct Bins {
    double lowMhz = 0.0;
    double highMhz = 0.0;
    double widthMhz = 0.0;
    int count = 0;
    double edgeMhz(int edge) const { return edge >= count ? highMhz : lowMhz + edge * widthMhz; }
};

struct SweepPlan {
    Carriers carriers;
    int reachClasses = 0;
    bool levelled = false; // an intercept point was given
    double ip3Dbw = 0.0;
    Bins bins;
    double widestFactorMhz = 0.0;
    double widestVictimMhz = 0.0;
};

// A product: the pair of factors it adds (first <= second, equal for 2*Fa-Fb) and the one it
// subtracts, 0-based in the sorted plan.
struct ProductKey {
    int first = 0;
    int second = 0;
    int subtracted = 0;
};

inline bool keyBefore(const ProductKey& a, const ProductKey& b)
{
    if (a.first != b.first)
        return a.first < b.first;
    if (a.second != b.second)
        return a.second < b.second;
    return a.subtracted < b.subtracted;
}

// A product's frequency computed as the intermodulation report computes it, to the last bit:
// 2*Fa-Fb; Fa+Fb-Fc, except (Fa-Fc)+Fb when Fc lies between the pair in the plan.
inline double productFrequency(double firstMhz, double secondMhz, double subtractedMhz,
                               const ProductKey& key)
{
    if (key.first == key.second)
        return 2 * firstMhz - subtractedMhz;
    if (key.first < key.subtracted && key.subtracted < key.second)
        return (firstMhz - subtractedMhz) + secondMhz;
    return (firstMhz + secondMhz) - subtractedMhz;
}

// Its label as the report writes it: "2*F1-F2", "F1+F2-F3", "F1-F2+F3".
std::string productLabel(const ProductKey& key);

// What the products did to each carrier, by position in Carriers.
struct Tallies {
    std::vector<long long> twoToneHits;
    std::vector<long long> threeToneHits;
    std::vector<double> power; // linear, relative, summed over rated products
    // The product putting the most power into the band.
    std::vector<double> strongestPower;
    std::vector<ProductKey> strongest;
    // Of the hitting products that put no power into the band, the nearest to the centre;
    // that is the one shown when no product puts power there.
    std::vector<double> nearestMhz;
    std::vector<ProductKey> nearest;
    std::vector<unsigned char> unratedHit;
    // Rated products too faint for the linear sum (their power relative to the strongest
    // possible product underflows): summed in decibels, scaled by the largest.
    std::vector<double> faintLargestDbw;
    std::vector<double> faintScaledSum;
    std::vector<double> faintStrongestDbw;
    std::vector<ProductKey> faintStrongest;
    std::vector<double> bins;
    long long productsHitting = 0;

    void reset(std::size_t carrierCount, int binCount);
    void addFaint(std::size_t v, double dbw, const ProductKey& key);
    // Adds another's figures; the same merges in the same order give the same sums, and ties
    // for strongest and nearest go to the earliest key.
    void merge(const Tallies& other);
};

// The anti-diagonals of a plan of n carriers: d = a + b runs from 0 to 2n - 2.
inline std::size_t antiDiagonalCount(const SweepPlan& plan)
{
    return plan.carriers.count() == 0 ? 0 : 2 * plan.carriers.count() - 1;
}

// Sweeps the products of the pairs on anti-diagonals [begin, end) into tallies, which it resets
// first; false when cancelled.
bool sweepAntiDiagonals(const SweepPlan& plan, std::size_t begin, std::size_t end,
                        const std::atomic<bool>* cancel, Tallies& tallies);

// The evaluations of a product on a victim the sweep makes on each anti-diagonal: for every
// subtracted carrier and victim, the pairs in its run (counted for every anti-diagonal of small
// plans, for an even sample of them otherwise, in between as its neighbours). Empty when
// cancelled.
std::vector<double> estimatedEvaluations(const SweepPlan& plan, const std::atomic<bool>* cancel);

} // namespace orvane::intermod
