#include "analysis/intermod_sweep.h"

#include <algorithm>
#include <limits>
#include <numeric>

// The sweep's data outside its inner loop: the pairs in order, products' names and
// frequencies, and the tallies.
namespace orvane::intermod {

namespace {
constexpr double infinity = std::numeric_limits<double>::infinity();
} // namespace

void PairGroup::finish()
{
    narrowestSymbolMhz =
        count > 0 ? *std::min_element(narrowerSymbolMhz.begin(), narrowerSymbolMhz.begin() + count)
                  : 0.0;
    widestSymbolMhz =
        count > 0 ? *std::max_element(widerSymbolMhz.begin(), widerSymbolMhz.begin() + count) : 0.0;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        if (sumMhz[a] != sumMhz[b])
            return sumMhz[a] < sumMhz[b];
        if (first[a] != first[b])
            return first[a] < first[b];
        return second[a] < second[b];
    });
    for (std::vector<double>* values :
         {&sumMhz, &firstMhz, &secondMhz, &first, &second, &halfSpanMhz, &symbolSumMhz,
          &widerSymbolMhz, &narrowerSymbolMhz, &inverseSymbolMhz2, &power, &rated}) {
        std::vector<double> sorted(count + paddingPairs, 0.0);
        for (std::size_t i = 0; i < count; ++i)
            sorted[i] = (*values)[order[i]];
        values->swap(sorted);
    }
}

double productFrequency(const std::vector<Factor>& factors, const ProductKey& key)
{
    const double first = factors[static_cast<std::size_t>(key.first)].centreMhz;
    const double second = factors[static_cast<std::size_t>(key.second)].centreMhz;
    const double subtracted = factors[static_cast<std::size_t>(key.subtracted)].centreMhz;
    if (key.first == key.second)
        return 2 * first - subtracted;
    if (key.first < key.subtracted && key.subtracted < key.second)
        return (first - subtracted) + second;
    return (first + second) - subtracted;
}

std::string productLabel(const ProductKey& key)
{
    const auto f = [](int index) { return "F" + std::to_string(index + 1); };
    if (key.first == key.second)
        return "2*" + f(key.first) + "-" + f(key.subtracted);
    // The report names each triple's products in ascending F order: Fa+Fb-Fc, Fa-Fb+Fc.
    if (key.first < key.subtracted && key.subtracted < key.second)
        return f(key.first) + "-" + f(key.subtracted) + "+" + f(key.second);
    return f(key.first) + "+" + f(key.second) + "-" + f(key.subtracted);
}

void Tallies::reset(std::size_t carrierCount, int binCount)
{
    twoToneHits.assign(carrierCount, 0);
    threeToneHits.assign(carrierCount, 0);
    power.assign(carrierCount, 0.0);
    strongestPower.assign(carrierCount, 0.0);
    strongest.assign(carrierCount, ProductKey());
    nearestMhz.assign(carrierCount, infinity);
    nearest.assign(carrierCount, ProductKey());
    unratedHit.assign(carrierCount, 0);
    bins.assign(static_cast<std::size_t>(std::max(binCount, 0)), 0.0);
    productsHitting = 0;
}

void Tallies::merge(const Tallies& other)
{
    for (std::size_t v = 0; v < power.size(); ++v) {
        twoToneHits[v] += other.twoToneHits[v];
        threeToneHits[v] += other.threeToneHits[v];
        power[v] += other.power[v];
        const double otherStrongest = other.strongestPower[v];
        if (otherStrongest > strongestPower[v] ||
            (otherStrongest == strongestPower[v] && otherStrongest > 0.0 &&
             keyBefore(other.strongest[v], strongest[v]))) {
            strongestPower[v] = otherStrongest;
            strongest[v] = other.strongest[v];
        }
        const double otherNearest = other.nearestMhz[v];
        if (otherNearest < nearestMhz[v] ||
            (otherNearest == nearestMhz[v] && otherNearest < infinity &&
             keyBefore(other.nearest[v], nearest[v]))) {
            nearestMhz[v] = otherNearest;
            nearest[v] = other.nearest[v];
        }
        unratedHit[v] = unratedHit[v] || other.unratedHit[v];
    }
    for (std::size_t bin = 0; bin < bins.size(); ++bin)
        bins[bin] += other.bins[bin];
    productsHitting += other.productsHitting;
}

} // namespace orvane::intermod
