#pragma once

#include "model/carrier_list.h"
#include "placement/placement_score.h"

#include <array>
#include <atomic>
#include <optional>
#include <vector>

// The placement's own measure of a plan, kept up to date as carriers come and go: when one
// carrier moves, only the products it is part of and the products landing on it change, so
// a move costs O(n^2) rather than the O(n^3) of analysing the plan again. It decides hits
// with the analysis's rule and weighs products with the analysis's model; the placement
// measures its before and after with the analysis itself.
namespace orvane {
class UniformSum;
}

namespace orvane::placement {

// One carrier of the plan as the products see it.
struct CarrierShape {
    double halfOccupiedMhz = 0.0; // half the occupied bandwidth
    double halfBandMhz = 0.0;     // the same widened by the guard: what a product must hit
    double symbolMhz = 0.0;       // the width of its flat spectrum
    double relativePower = 0.0;   // linear, over the strongest rated carrier's; 0 without a level
    double levelDb = 0.0;         // its power over the products' reference level (C/IM + IM)
    bool rated = false;
};

// The carriers' shapes as the analysis takes them (ip3Dbw none: hits only).
std::vector<CarrierShape> carrierShapes(const std::vector<Carrier>& carriers,
                                        const std::optional<double>& ip3Dbw, double guardKhz);

class Evaluator {
public:
    // Once cancel is set, a call in progress stops early; the evaluator's figures are then
    // no longer sound and it is only fit to be thrown away.
    Evaluator(std::vector<CarrierShape> shapes, bool levelled,
              const std::atomic<bool>* cancel = nullptr);

    bool isPresent(int carrier) const { return present_[static_cast<std::size_t>(carrier)]; }
    double centreMhz(int carrier) const { return centres_[static_cast<std::size_t>(carrier)]; }
    // The present carriers by centre.
    const std::vector<int>& presentByCentre() const { return order_; }

    // Puts an absent carrier into the plan at a centre, or takes a present one out.
    void insert(int carrier, double centreMhz);
    void remove(int carrier);

    // The score of the present carriers.
    PlacementScore score() const;
    // The score the plan would have with the absent carrier at centreMhz. With a bar, none
    // when that score would be worse than the bar (the work stops as soon as that is sure).
    std::optional<PlacementScore> scoreWith(int carrier, double centreMhz,
                                            const PlacementScore* bar = nullptr);

    // Products and carriers weighed so far: a measure of the work done that is the same on
    // every machine.
    long long work() const { return work_; }

    // What the present carriers' products do to a present carrier.
    long long twoToneHits(int carrier) const { return tally(carrier).twoTone; }
    long long threeToneHits(int carrier) const { return tally(carrier).threeTone; }
    std::optional<double> cimDb(int carrier) const;
    // The factors of the product that puts the most power into a present carrier or, when
    // none puts power there, of one product hitting it; none when no product reaches it.
    std::optional<std::array<int, 3>> worstProductOn(int carrier) const;

private:
    struct Tally {
        long long twoTone = 0;
        long long threeTone = 0;
        long long powered = 0;  // products putting power in, so that none leaves exactly 0
        double powerHigh = 0.0; // the power as an unevaluated sum high + low, so that taking
        double powerLow = 0.0;  // products out again leaves no rounding behind
    };
    struct Product;
    // Two carriers added (a carrier twice for 2*Fa-Fb), the first the lower-numbered.
    struct Pair {
        double sumMhz;
        double lowMhz; // the lower and the higher centre
        double highMhz;
        int first;
        int second;
        double halfOccupiedMhz; // the two half widths added
        double power;           // relative, with the three-carrier factor; 0 unless both rated
    };
    class ApplySink;
    class ScoreSink;

    const Tally& tally(int carrier) const { return tallies_[static_cast<std::size_t>(carrier)]; }
    double cimFromPower(int carrier, double power) const;
    void refreshCims();
    void placeInOrder(int carrier, bool present);
    void preparePairs(int moved);
    Product productOf(int first, int second, int subtracted, double firstMhz, double secondMhz,
                      double subtractedMhz, const UniformSum& hump) const;
    template <typename Sink>
    bool effect(const Product& product, int victim, double victimMhz, Sink& sink) const;
    template <typename Sink>
    bool productEffects(const Product& product, int moved, double movedMhz, Sink& sink,
                        std::size_t& cursor) const;
    template <typename Sink> bool productsOf(int moved, double movedMhz, Sink& sink) const;
    template <typename Sink> bool productsLandingOn(int moved, double movedMhz, Sink& sink) const;

    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    std::vector<CarrierShape> shapes_;
    bool levelled_;
    const std::atomic<bool>* cancel_;
    double widestProductReachMhz_ = 0.0; // no product reaches further from its frequency
    double widestVictimReachMhz_ = 0.0;  // nor a carrier's band or spectrum from its centre

    std::vector<char> present_;
    std::vector<double> centres_;
    std::vector<int> order_;           // present carriers by centre
    std::vector<double> orderCentres_; // their centres
    std::vector<Tally> tallies_;
    std::vector<double> cims_; // of present carriers; infinity for none
    long long productsHitting_ = 0;
    long long hits_ = 0;
    unsigned long long version_ = 0;
    mutable long long work_ = 0;

    // Pairs of the present carriers but one, by sum of centres, for the products landing on
    // that one.
    std::vector<Pair> pairs_;
    int pairsWithout_ = -1;
    unsigned long long pairsVersion_ = ~0ULL;

    // scoreWith's scratch: power added per carrier, and the power limits of the bar.
    std::vector<double> addedPower_;
    std::vector<int> touched_;
    std::vector<double> powerLimits_;
    std::optional<double> limitsLowestCimDb_;
    bool limitsSet_ = false;
};

} // namespace orvane::placement
