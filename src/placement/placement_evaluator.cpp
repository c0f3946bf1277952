#include "placement/placement_evaluator.h"

#include "analysis/hit_rule.h"
#include "analysis/uniform_sum.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::placement {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
// Fa+Fb-Fc is 20*log10(2) dB stronger than 2*Fa-Fb of the same powers.
constexpr double threeToneFactor = 4.0;

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

// high + low += value, keeping what the addition rounds off in low.
void addExactly(double& high, double& low, double value)
{
    const double sum = high + value;
    const double back = sum - high;
    low += (high - (sum - back)) + (value - back);
    high = sum;
}

// The spectrum of a product of carriers with these symbol rates. The widths go in sorted, so
// that the same product gives the same bits whichever way it was found.
UniformSum humpOf(double a, double b, double c)
{
    if (a > b)
        std::swap(a, b);
    if (b > c)
        std::swap(b, c);
    if (a > b)
        std::swap(a, b);
    return UniformSum(a, b, c);
}

} // namespace

// A product: its frequency and half span, its relative power (0 without a level) and its
// spectrum. Every path that finds a product computes these the same way, to the last bit.
struct Evaluator::Product {
    double frequencyMhz;
    double halfSpanMhz;
    double power;
    bool twoTone;
    const UniformSum* hump;
};

std::vector<CarrierShape> carrierShapes(const std::vector<Carrier>& carriers,
                                        const std::optional<double>& ip3Dbw, double guardKhz)
{
    const bool levelled = ip3Dbw && std::isfinite(*ip3Dbw);
    double strongestDbw = -infinity;
    for (const Carrier& carrier : carriers) {
        if (hasRatedPowerLevel(carrier))
            strongestDbw = std::max(strongestDbw, carrier.powerDbw);
    }
    // The analysis gives levels relative to the strongest possible product.
    const double referenceDbw = levelled ? 3.0 * strongestDbw - 2.0 * *ip3Dbw : 0.0;
    const double guardMhz = std::max(0.0, finiteOr(guardKhz, 0.0)) * 0.001;
    std::vector<CarrierShape> shapes;
    for (const Carrier& carrier : carriers) {
        CarrierShape shape;
        shape.halfOccupiedMhz = 0.5 * finiteOr(std::fabs(carrier.occupiedBandwidthMhz), 0.0);
        shape.halfBandMhz = shape.halfOccupiedMhz + guardMhz;
        shape.symbolMhz = finiteOr(std::fabs(carrier.symbolRateMsps), 0.0);
        shape.rated = hasRatedPowerLevel(carrier);
        if (shape.rated) {
            shape.relativePower = std::pow(10.0, (carrier.powerDbw - strongestDbw) / 10.0);
            shape.levelDb = carrier.powerDbw - referenceDbw;
        }
        shapes.push_back(shape);
    }
    return shapes;
}

// Adds (sign +1) or takes away (-1) what a carrier's products do.
class Evaluator::ApplySink {
public:
    ApplySink(Evaluator& evaluator, int moved, int sign)
        : evaluator_(evaluator), moved_(moved), sign_(sign)
    {
    }

    void effect(int victim, bool twoTone, bool hit, double power)
    {
        if (sign_ < 0 && victim == moved_)
            return; // the carrier going out takes its tally with it
        Tally& tally = evaluator_.tallies_[static_cast<std::size_t>(victim)];
        if (hit) {
            (twoTone ? tally.twoTone : tally.threeTone) += sign_;
            evaluator_.hits_ += sign_;
        }
        if (power > 0.0) {
            addExactly(tally.powerHigh, tally.powerLow, sign_ * power);
            tally.powered += sign_;
            if (tally.powered == 0)
                tally.powerHigh = tally.powerLow = 0.0;
        }
    }

    bool product(bool hitsAny)
    {
        if (hitsAny)
            evaluator_.productsHitting_ += sign_;
        return true;
    }

    bool landing(bool twoTone, bool hitsMoved, double power, bool hitsOthers)
    {
        if (hitsMoved && !hitsOthers)
            evaluator_.productsHitting_ += sign_;
        effect(moved_, twoTone, hitsMoved, power);
        return true;
    }

private:
    Evaluator& evaluator_;
    int moved_;
    int sign_;
};

// Gathers what a carrier's products would do, stopping once the result is sure to be worse
// than the bar: a carrier's power past its limit, or more products hitting when the lowest
// C/IM can at best tie.
class Evaluator::ScoreSink {
public:
    ScoreSink(Evaluator& evaluator, int moved, const PlacementScore* bar, bool pruneOnProducts)
        : evaluator_(evaluator), moved_(moved), bar_(bar), pruneOnProducts_(pruneOnProducts),
          productsHitting_(evaluator.productsHitting_)
    {
    }

    void effect(int victim, bool, bool hit, double power)
    {
        if (hit)
            ++hits_;
        if (power > 0.0) {
            const std::size_t v = static_cast<std::size_t>(victim);
            double& added = evaluator_.addedPower_[v];
            if (added == 0.0)
                evaluator_.touched_.push_back(victim);
            added += power;
            if (bar_ && evaluator_.levelled_) {
                const Tally& tally = evaluator_.tallies_[v];
                if ((tally.powerHigh + tally.powerLow) + added > evaluator_.powerLimits_[v])
                    stopped_ = true;
            }
        }
    }

    bool product(bool hitsAny)
    {
        if (hitsAny)
            countHitting();
        return !stopped_;
    }

    bool landing(bool twoTone, bool hitsMoved, double power, bool hitsOthers)
    {
        if (hitsMoved && !hitsOthers)
            countHitting();
        effect(moved_, twoTone, hitsMoved, power);
        return !stopped_;
    }

    long long productsHitting() const { return productsHitting_; }
    long long hits() const { return hits_; }

private:
    void countHitting()
    {
        ++productsHitting_;
        if (pruneOnProducts_ && productsHitting_ > bar_->productsHitting)
            stopped_ = true;
    }

    Evaluator& evaluator_;
    int moved_;
    const PlacementScore* bar_;
    bool pruneOnProducts_;
    long long productsHitting_;
    long long hits_ = 0;
    bool stopped_ = false;
};

Evaluator::Evaluator(std::vector<CarrierShape> shapes, bool levelled,
                     const std::atomic<bool>* cancel)
    : shapes_(std::move(shapes)), levelled_(levelled), cancel_(cancel)
{
    const std::size_t count = shapes_.size();
    double widestCarrierMhz = 0.0;
    for (const CarrierShape& shape : shapes_) {
        widestCarrierMhz =
            std::max(widestCarrierMhz, std::max(shape.halfOccupiedMhz, 0.5 * shape.symbolMhz));
        widestVictimReachMhz_ =
            std::max(widestVictimReachMhz_, std::max(shape.halfBandMhz, 0.5 * shape.symbolMhz));
    }
    widestProductReachMhz_ = 3.0 * widestCarrierMhz;
    present_.assign(count, 0);
    centres_.assign(count, 0.0);
    tallies_.assign(count, Tally());
    cims_.assign(count, infinity);
    addedPower_.assign(count, 0.0);
    powerLimits_.assign(count, infinity);
}

double Evaluator::cimFromPower(int carrier, double power) const
{
    const CarrierShape& shape = shapes_[static_cast<std::size_t>(carrier)];
    if (!levelled_ || !shape.rated || !(power > 0.0))
        return infinity;
    const double cim = shape.levelDb - 10.0 * std::log10(power);
    return std::isfinite(cim) ? cim : infinity;
}

void Evaluator::refreshCims()
{
    for (const int carrier : order_) {
        const Tally& t = tally(carrier);
        cims_[static_cast<std::size_t>(carrier)] = cimFromPower(carrier, t.powerHigh + t.powerLow);
    }
}

std::optional<double> Evaluator::cimDb(int carrier) const
{
    const double cim = cims_[static_cast<std::size_t>(carrier)];
    if (!isPresent(carrier) || cim == infinity)
        return std::nullopt;
    return cim;
}

void Evaluator::placeInOrder(int carrier, bool present)
{
    const double centre = centres_[static_cast<std::size_t>(carrier)];
    // By centre, equal centres by number, so the order never depends on the history.
    std::size_t at = 0;
    while (at < order_.size() &&
           (orderCentres_[at] < centre || (orderCentres_[at] == centre && order_[at] < carrier)))
        ++at;
    if (present) {
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(at), carrier);
        orderCentres_.insert(orderCentres_.begin() + static_cast<std::ptrdiff_t>(at), centre);
    } else {
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(at));
        orderCentres_.erase(orderCentres_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    present_[static_cast<std::size_t>(carrier)] = present ? 1 : 0;
    ++version_;
}

Evaluator::Product Evaluator::productOf(int first, int second, int subtracted, double firstMhz,
                                        double secondMhz, double subtractedMhz,
                                        const UniformSum& hump) const
{
    if (second < first) {
        std::swap(first, second);
        std::swap(firstMhz, secondMhz);
    }
    const CarrierShape& p = shapes_[static_cast<std::size_t>(first)];
    const CarrierShape& q = shapes_[static_cast<std::size_t>(second)];
    const CarrierShape& z = shapes_[static_cast<std::size_t>(subtracted)];
    const bool twoTone = first == second;
    const double low = std::min(firstMhz, secondMhz);
    const double high = std::max(firstMhz, secondMhz);
    // As the intermodulation report computes it.
    const double frequency = !twoTone && low < subtractedMhz && subtractedMhz < high
                                 ? (low - subtractedMhz) + high
                                 : (low + high) - subtractedMhz;
    const double pairPower = levelled_ && p.rated && q.rated ? p.relativePower * q.relativePower *
                                                                   (twoTone ? 1.0 : threeToneFactor)
                                                             : 0.0;
    return Product{frequency, (p.halfOccupiedMhz + q.halfOccupiedMhz) + z.halfOccupiedMhz,
                   z.rated ? pairPower * z.relativePower : 0.0, twoTone, &hump};
}

template <typename Sink>
bool Evaluator::effect(const Product& product, int victim, double victimMhz, Sink& sink) const
{
    const CarrierShape& shape = shapes_[static_cast<std::size_t>(victim)];
    const double f = product.frequencyMhz;
    const bool hit = spanHitsBand(f - product.halfSpanMhz, f + product.halfSpanMhz,
                                  victimMhz - shape.halfBandMhz, victimMhz + shape.halfBandMhz);
    double power = 0.0;
    const double halfSymbolMhz = 0.5 * shape.symbolMhz;
    // Most products reach no victim's spectrum: that is told before the share is worked out.
    if (product.power > 0.0 && shape.rated &&
        std::fabs(victimMhz - f) <= product.hump->reach() + halfSymbolMhz + roundingSlackMhz(f))
        power = product.power * product.hump->share((victimMhz - halfSymbolMhz) - f,
                                                    (victimMhz + halfSymbolMhz) - f);
    if (hit || power > 0.0)
        sink.effect(victim, product.twoTone, hit, power);
    return hit;
}

// What one product does to the present carriers and to the moved one (none: -1). The
// cursor starts the search for the first carrier within reach where the last one of its
// stream of products found it: the products of a stream move steadily, so it walks a step
// or two.
template <typename Sink>
bool Evaluator::productEffects(const Product& product, int moved, double movedMhz, Sink& sink,
                               std::size_t& cursor) const
{
    const double f = product.frequencyMhz;
    const double reach = std::max(product.halfSpanMhz, product.hump->reach()) +
                         widestVictimReachMhz_ + roundingSlackMhz(f);
    const double lowMhz = f - reach;
    const double highMhz = f + reach;
    const std::size_t count = orderCentres_.size();
    ++work_;
    cursor = std::min(cursor, count);
    while (cursor > 0 && orderCentres_[cursor - 1] >= lowMhz)
        --cursor;
    while (cursor < count && orderCentres_[cursor] < lowMhz)
        ++cursor;
    bool hit = false;
    std::size_t at = cursor;
    for (; at < count && orderCentres_[at] <= highMhz; ++at)
        hit = effect(product, order_[at], orderCentres_[at], sink) || hit;
    work_ += static_cast<long long>(at - cursor);
    if (moved >= 0)
        hit = effect(product, moved, movedMhz, sink) || hit;
    return hit;
}

// Every product of the moved carrier (absent from the order) with the present ones.
template <typename Sink> bool Evaluator::productsOf(int moved, double movedMhz, Sink& sink) const
{
    const CarrierShape& m = shapes_[static_cast<std::size_t>(moved)];
    const std::size_t count = order_.size();
    std::size_t twiceMovedAt = count;
    std::size_t twiceOtherAt = 0;
    for (std::size_t s = 0; s < count; ++s) {
        const int a = order_[s];
        const double aMhz = orderCentres_[s];
        const double aSymbolMhz = shapes_[static_cast<std::size_t>(a)].symbolMhz;
        const UniformSum twiceMoved = humpOf(m.symbolMhz, m.symbolMhz, aSymbolMhz);
        if (!sink.product(
                productEffects(productOf(moved, moved, a, movedMhz, movedMhz, aMhz, twiceMoved),
                               moved, movedMhz, sink, twiceMovedAt)))
            return false;
        const UniformSum twiceOther = humpOf(aSymbolMhz, aSymbolMhz, m.symbolMhz);
        if (!sink.product(productEffects(productOf(a, a, moved, aMhz, aMhz, movedMhz, twiceOther),
                                         moved, movedMhz, sink, twiceOtherAt)))
            return false;
    }
    for (std::size_t s = 0; s < count; ++s) {
        if (cancelled())
            return false;
        const int a = order_[s];
        const double aMhz = orderCentres_[s];
        const double aSymbolMhz = shapes_[static_cast<std::size_t>(a)].symbolMhz;
        // Along b: M+A-B falls, M+B-A and A+B-M rise.
        std::size_t lessAt = count;
        std::size_t moreAt = 0;
        std::size_t sumAt = 0;
        for (std::size_t t = s + 1; t < count; ++t) {
            const int b = order_[t];
            const double bMhz = orderCentres_[t];
            const UniformSum hump =
                humpOf(m.symbolMhz, aSymbolMhz, shapes_[static_cast<std::size_t>(b)].symbolMhz);
            if (!sink.product(productEffects(productOf(moved, a, b, movedMhz, aMhz, bMhz, hump),
                                             moved, movedMhz, sink, lessAt)) ||
                !sink.product(productEffects(productOf(moved, b, a, movedMhz, bMhz, aMhz, hump),
                                             moved, movedMhz, sink, moreAt)) ||
                !sink.product(productEffects(productOf(a, b, moved, aMhz, bMhz, movedMhz, hump),
                                             moved, movedMhz, sink, sumAt)))
                return false;
        }
    }
    return true;
}

void Evaluator::preparePairs(int moved)
{
    if (pairsWithout_ == moved && pairsVersion_ == version_)
        return;
    pairs_.clear();
    const std::size_t count = order_.size();
    for (std::size_t s = 0; s < count; ++s) {
        for (std::size_t t = s; t < count; ++t) {
            const int first = std::min(order_[s], order_[t]);
            const int second = std::max(order_[s], order_[t]);
            const CarrierShape& p = shapes_[static_cast<std::size_t>(first)];
            const CarrierShape& q = shapes_[static_cast<std::size_t>(second)];
            const bool twoTone = s == t;
            Pair pair;
            pair.sumMhz = orderCentres_[s] + orderCentres_[t];
            pair.lowMhz = orderCentres_[s];
            pair.highMhz = orderCentres_[t];
            pair.first = first;
            pair.second = second;
            pair.halfOccupiedMhz = p.halfOccupiedMhz + q.halfOccupiedMhz;
            pair.power = levelled_ && p.rated && q.rated
                             ? p.relativePower * q.relativePower * (twoTone ? 1.0 : threeToneFactor)
                             : 0.0;
            pairs_.push_back(pair);
        }
    }
    std::sort(pairs_.begin(), pairs_.end(), [](const Pair& a, const Pair& b) {
        if (a.sumMhz != b.sumMhz)
            return a.sumMhz < b.sumMhz;
        if (a.first != b.first)
            return a.first < b.first;
        return a.second < b.second;
    });
    pairsWithout_ = moved;
    pairsVersion_ = version_;
}

// Every product of present carriers that reaches the moved one (absent from the order).
template <typename Sink>
bool Evaluator::productsLandingOn(int moved, double movedMhz, Sink& sink) const
{
    const CarrierShape& m = shapes_[static_cast<std::size_t>(moved)];
    const double reach = widestProductReachMhz_ + std::max(m.halfBandMhz, 0.5 * m.symbolMhz) +
                         roundingSlackMhz(2.0 * movedMhz);
    const auto bySum = [](const Pair& pair, double sumMhz) { return pair.sumMhz < sumMhz; };
    for (std::size_t s = 0; s < order_.size(); ++s) {
        if (cancelled())
            return false;
        const int z = order_[s];
        const double zMhz = orderCentres_[s];
        const CarrierShape& subtracted = shapes_[static_cast<std::size_t>(z)];
        const double landingMhz = movedMhz + zMhz;
        for (auto pair = std::lower_bound(pairs_.begin(), pairs_.end(), landingMhz - reach, bySum);
             pair != pairs_.end() && pair->sumMhz <= landingMhz + reach; ++pair) {
            ++work_;
            if (pair->first == z || pair->second == z)
                continue;
            const bool twoTone = pair->first == pair->second;
            const UniformSum hump = humpOf(
                shapes_[static_cast<std::size_t>(pair->first)].symbolMhz,
                shapes_[static_cast<std::size_t>(pair->second)].symbolMhz, subtracted.symbolMhz);
            const double low = pair->lowMhz;
            const double high = pair->highMhz;
            const double frequency =
                !twoTone && low < zMhz && zMhz < high ? (low - zMhz) + high : (low + high) - zMhz;
            const Product product{frequency, pair->halfOccupiedMhz + subtracted.halfOccupiedMhz,
                                  subtracted.rated ? pair->power * subtracted.relativePower : 0.0,
                                  twoTone, &hump};
            // The product's effect on the moved carrier, caught rather than passed on.
            struct Catch {
                bool hit = false;
                double power = 0.0;
                void effect(int, bool, bool h, double p)
                {
                    hit = h;
                    power = p;
                }
            } caught;
            effect(product, moved, movedMhz, caught);
            if (!caught.hit && !(caught.power > 0.0))
                continue;
            bool hitsOthers = false;
            if (caught.hit) {
                struct Ignore {
                    void effect(int, bool, bool, double) {}
                } ignore;
                std::size_t cursor = 0;
                hitsOthers = productEffects(product, -1, 0.0, ignore, cursor);
            }
            if (!sink.landing(twoTone, caught.hit, caught.power, hitsOthers))
                return false;
        }
    }
    return true;
}

void Evaluator::insert(int carrier, double centreMhz)
{
    if (isPresent(carrier))
        return;
    centres_[static_cast<std::size_t>(carrier)] = centreMhz;
    preparePairs(carrier);
    ApplySink sink(*this, carrier, +1);
    productsOf(carrier, centreMhz, sink);
    productsLandingOn(carrier, centreMhz, sink);
    placeInOrder(carrier, true);
    refreshCims();
}

void Evaluator::remove(int carrier)
{
    if (!isPresent(carrier))
        return;
    placeInOrder(carrier, false);
    const double centreMhz = centres_[static_cast<std::size_t>(carrier)];
    preparePairs(carrier);
    ApplySink sink(*this, carrier, -1);
    productsOf(carrier, centreMhz, sink);
    productsLandingOn(carrier, centreMhz, sink);
    Tally& own = tallies_[static_cast<std::size_t>(carrier)];
    hits_ -= own.twoTone + own.threeTone;
    own = Tally();
    cims_[static_cast<std::size_t>(carrier)] = infinity;
    refreshCims();
}

PlacementScore Evaluator::score() const
{
    PlacementScore score;
    score.productsHitting = productsHitting_;
    score.hits = hits_;
    double lowest = infinity;
    double second = infinity;
    for (const int carrier : order_) {
        const double cim = cims_[static_cast<std::size_t>(carrier)];
        if (cim < lowest) {
            second = lowest;
            lowest = cim;
        } else if (cim < second) {
            second = cim;
        }
    }
    if (lowest < infinity)
        score.lowestCimDb = lowest;
    if (second < infinity)
        score.secondLowestCimDb = second;
    return score;
}

std::optional<PlacementScore> Evaluator::scoreWith(int carrier, double centreMhz,
                                                   const PlacementScore* bar)
{
    if (isPresent(carrier))
        return std::nullopt;
    double baseLowest = infinity;
    for (const int present : order_)
        baseLowest = std::min(baseLowest, cims_[static_cast<std::size_t>(present)]);
    bool pruneOnProducts = false;
    if (bar) {
        const double barLowest = bar->lowestCimDb.value_or(infinity);
        pruneOnProducts = !levelled_ || baseLowest <= barLowest + cimTieDb;
        if (levelled_ && (!limitsSet_ || limitsLowestCimDb_ != bar->lowestCimDb)) {
            // Past its limit a carrier's C/IM is below the bar's lowest by more than a tie.
            for (std::size_t i = 0; i < shapes_.size(); ++i)
                powerLimits_[i] =
                    !shapes_[i].rated ? infinity
                    : bar->lowestCimDb
                        ? std::pow(10.0,
                                   (shapes_[i].levelDb - (*bar->lowestCimDb - cimTieDb)) / 10.0)
                        : 0.0;
            limitsLowestCimDb_ = bar->lowestCimDb;
            limitsSet_ = true;
        }
    }
    preparePairs(carrier);
    ScoreSink sink(*this, carrier, bar, pruneOnProducts);
    const bool complete =
        productsOf(carrier, centreMhz, sink) && productsLandingOn(carrier, centreMhz, sink);

    std::optional<PlacementScore> result;
    if (complete) {
        PlacementScore score;
        score.productsHitting = sink.productsHitting();
        score.hits = hits_ + sink.hits();
        double lowest = infinity;
        double second = infinity;
        const auto offer = [&](double cim) {
            if (cim < lowest) {
                second = lowest;
                lowest = cim;
            } else if (cim < second) {
                second = cim;
            }
        };
        for (const int present : order_) {
            const std::size_t i = static_cast<std::size_t>(present);
            offer(addedPower_[i] > 0.0
                      ? cimFromPower(present, (tallies_[i].powerHigh + tallies_[i].powerLow) +
                                                  addedPower_[i])
                      : cims_[i]);
        }
        offer(cimFromPower(carrier, addedPower_[static_cast<std::size_t>(carrier)]));
        if (lowest < infinity)
            score.lowestCimDb = lowest;
        if (second < infinity)
            score.secondLowestCimDb = second;
        result = score;
    }
    for (const int touched : touched_)
        addedPower_[static_cast<std::size_t>(touched)] = 0.0;
    touched_.clear();
    return result;
}

std::optional<std::array<int, 3>> Evaluator::worstProductOn(int carrier) const
{
    if (!isPresent(carrier))
        return std::nullopt;
    const CarrierShape& victim = shapes_[static_cast<std::size_t>(carrier)];
    const double victimMhz = centreMhz(carrier);
    const double reach = widestProductReachMhz_ +
                         std::max(victim.halfBandMhz, 0.5 * victim.symbolMhz) +
                         roundingSlackMhz(2.0 * victimMhz);
    struct Worst {
        bool hit = false;
        double power = 0.0;
        void effect(int, bool, bool h, double p)
        {
            hit = h;
            power = p;
        }
    };
    std::optional<std::array<int, 3>> worst;
    double worstPower = 0.0;
    const std::size_t count = order_.size();
    for (std::size_t s = 0; s < count; ++s) {
        for (std::size_t t = s; t < count; ++t) {
            const int a = order_[s];
            const int b = order_[t];
            const double landingMhz = orderCentres_[s] + orderCentres_[t] - victimMhz;
            for (auto at = std::lower_bound(orderCentres_.begin(), orderCentres_.end(),
                                            landingMhz - reach);
                 at != orderCentres_.end() && *at <= landingMhz + reach; ++at) {
                const int z = order_[static_cast<std::size_t>(at - orderCentres_.begin())];
                if (z == a || z == b)
                    continue;
                const UniformSum hump = humpOf(shapes_[static_cast<std::size_t>(a)].symbolMhz,
                                               shapes_[static_cast<std::size_t>(b)].symbolMhz,
                                               shapes_[static_cast<std::size_t>(z)].symbolMhz);
                const Product product =
                    productOf(a, b, z, orderCentres_[s], orderCentres_[t], *at, hump);
                Worst found;
                effect(product, carrier, victimMhz, found);
                if ((found.hit && !worst) || found.power > worstPower) {
                    worst = std::array<int, 3>{a, b, z};
                    worstPower = std::max(worstPower, found.power);
                }
            }
        }
    }
    return worst;
}

} // namespace orvane::placement
