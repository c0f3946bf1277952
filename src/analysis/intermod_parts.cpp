#include "analysis/intermod_sweep.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The sweep's data outside its inner loop: products' names and frequencies, and the tallies.
namespace orvane::intermod {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// 10^(dB / 10) for dB <= 0.
double fromDb(double db)
{
    return std::pow(10.0, db / 10.0);
}

} // namespace

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
    faintLargestDbw.assign(carrierCount, -infinity);
    faintScaledSum.assign(carrierCount, 0.0);
    faintStrongestDbw.assign(carrierCount, -infinity);
    faintStrongest.assign(carrierCount, ProductKey());
    bins.assign(static_cast<std::size_t>(std::max(binCount, 0)), 0.0);
    productsHitting = 0;
}

void Tallies::addFaint(std::size_t v, double dbw, const ProductKey& key)
{
    double& largest = faintLargestDbw[v];
    double& scaled = faintScaledSum[v];
    if (dbw > largest) {
        scaled = scaled * fromDb(largest - dbw) + 1.0;
        largest = dbw;
    } else {
        scaled += fromDb(dbw - largest);
    }
    if (dbw > faintStrongestDbw[v] ||
        (dbw == faintStrongestDbw[v] && keyBefore(key, faintStrongest[v]))) {
        faintStrongestDbw[v] = dbw;
        faintStrongest[v] = key;
    }
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
        const double otherLargest = other.faintLargestDbw[v];
        if (otherLargest > -infinity) {
            if (otherLargest > faintLargestDbw[v]) {
                faintScaledSum[v] = faintScaledSum[v] * fromDb(faintLargestDbw[v] - otherLargest) +
                                    other.faintScaledSum[v];
                faintLargestDbw[v] = otherLargest;
            } else {
                faintScaledSum[v] +=
                    other.faintScaledSum[v] * fromDb(otherLargest - faintLargestDbw[v]);
            }
        }
        const double otherFaintStrongest = other.faintStrongestDbw[v];
        if (otherFaintStrongest > faintStrongestDbw[v] ||
            (otherFaintStrongest == faintStrongestDbw[v] && otherFaintStrongest > -infinity &&
             keyBefore(other.faintStrongest[v], faintStrongest[v]))) {
            faintStrongestDbw[v] = otherFaintStrongest;
            faintStrongest[v] = other.faintStrongest[v];
        }
    }
    for (std::size_t bin = 0; bin < bins.size(); ++bin)
        bins[bin] += other.bins[bin];
    productsHitting += other.productsHitting;
}

} // namespace orvane::intermod
