#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// The inner work of the intermodulation analysis, which only intermod_analysis.cpp uses.
//
// Every product is a pair of carriers added (Fa+Fb, or Fa+Fa for 2*Fa-Fb) less a third, and it
// lands on a carrier V when the pair's sum lies near V + Fc. So for each subtracted carrier
// and each victim, the pairs whose products can touch the victim are those whose sums lie in
// a window: with the pairs sorted by sum, a contiguous run that moves up as the victims do.
// The run is checked four pairs at a time.
namespace orvane::intermod {

// One carrier of the sorted plan as a factor of products.
struct Factor {
    double centreMhz = 0.0;
    double occupiedMhz = 0.0;
    double symbolMhz = 0.0;
    double inverseSymbolMhz = 0.0; // 0 for a symbol rate of 0
    double relativePower = 0.0;    // linear power relative to the strongest rated carrier
    bool rated = false;
    bool usable = false; // a finite centre
};

// The pairs of usable factors (first <= second) whose products reach about as far, by sum.
// Each array holds paddingPairs more entries than there are pairs, so that four at a time can
// always be read.
struct PairGroup {
    static constexpr std::size_t paddingPairs = 4;
    std::size_t count = 0;
    double reachMhz = 0.0; // the largest half span or half shape width of the pair's part
    double narrowestSymbolMhz = 0.0;
    double widestSymbolMhz = 0.0;
    std::vector<double> sumMhz;
    std::vector<double> firstMhz;
    std::vector<double> secondMhz;
    std::vector<double> first; // indices in the sorted plan
    std::vector<double> second;
    std::vector<double> halfSpanMhz;    // half the pair's occupied widths
    std::vector<double> symbolSumMhz;   // the pair's symbol rates added
    std::vector<double> widerSymbolMhz; // the larger of the two
    std::vector<double> narrowerSymbolMhz;
    std::vector<double> inverseSymbolMhz2; // 1 / the rates' product, 0 with a rate of 0
    std::vector<double> power;             // relative, 0 when not rated
    std::vector<double> rated;             // 1 or 0

    // Sorts by sum and adds the padding; called once after the pairs are in.
    void finish();
};

// Usable carriers by centre, as subtracted factors and as victims.
struct Carriers {
    std::vector<int> index; // in the sorted plan
    std::vector<double> centreMhz;
    std::vector<double> reachMhz; // as a subtracted factor: half its wider width
    // As a victim: its occupied band widened by the guard, its symbol-rate band and the
    // larger half width of the two.
    std::vector<double> bandLowMhz;
    std::vector<double> bandHighMhz;
    std::vector<double> symbolLowMhz;
    std::vector<double> symbolHighMhz;
    std::vector<double> victimReachMhz;
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

// The frequency of a product, computed as the intermodulation report computes it.
double productFrequency(const std::vector<Factor>& factors, const ProductKey& key);
// Its label as the report writes it: "2*F1-F2", "F1+F2-F3", "F1-F2+F3".
std::string productLabel(const ProductKey& key);

// The bins of the density curve: equal widths between lowMhz and highMhz.
struct Bins {
    double lowMhz = 0.0;
    double highMhz = 0.0;
    double widthMhz = 0.0;
    int count = 0;
};

struct SweepPlan {
    std::vector<Factor> factors;
    Carriers carriers;
    std::vector<PairGroup> pairs;
    bool levelled = false; // an intercept point was given
    Bins bins;
};

// What the products did to each carrier (by index in the sorted plan).
struct Tallies {
    std::vector<long long> twoToneHits;
    std::vector<long long> threeToneHits;
    std::vector<double> power; // relative, summed over rated products
    // The product putting the most power into the band.
    std::vector<double> strongestPower;
    std::vector<ProductKey> strongest;
    // Of the hitting products that put no power into the band, the nearest to the centre;
    // that is the one shown when no product puts power there.
    std::vector<double> nearestMhz;
    std::vector<ProductKey> nearest;
    std::vector<unsigned char> unratedHit;
    std::vector<double> bins;
    long long productsHitting = 0;

    void reset(std::size_t carrierCount, int binCount);
    // Adds another's figures; the same merges in the same order give the same sums, and ties
    // for strongest and nearest go to the earliest key.
    void merge(const Tallies& other);
};

// Sweeps the products whose subtracted carrier is one of plan.carriers [begin, end) into
// tallies, which it resets first; false when cancelled.
bool sweepSubtracted(const SweepPlan& plan, std::size_t begin, std::size_t end,
                     const std::atomic<bool>* cancel, Tallies& tallies);

} // namespace orvane::intermod
