#pragma once

#include "model/carrier_list.h"

#include <cstdint>
#include <string>
#include <sys/resource.h>

namespace orvane::bench {

// A channel plan on a regular 2.5 MHz grid, 2 MHz wide carriers at 10 dBW, entered from the top
// down: many products coincide (the hard case for the report's sort, the usual one for real
// transponders) and two thirds of them land in the band, each hitting three carriers (the hard
// case for the analysis).
inline CarrierList channelPlan(int carrierCount)
{
    CarrierList plan;
    for (int i = carrierCount - 1; i >= 0; --i) {
        Carrier carrier;
        carrier.setFixedBandwidth(5860.0 + 2.5 * i, 2.0, 10.0, 1.35);
        carrier.label = "Channel " + std::to_string(i + 1);
        plan.append(carrier);
    }
    return plan;
}

// The channel plan shaken: each centre up to 0.3 MHz off its grid point and each width up to
// 0.2 MHz off 2 MHz, at random (always the same), so that no two pairs of carriers add up to
// the same frequency: the analysis's work without the help of a raster.
inline CarrierList irregularPlan(int carrierCount)
{
    const CarrierList grid = channelPlan(carrierCount);
    std::uint64_t state = 12345;
    const auto unit = [&state] { // -1 .. 1, a linear congruential sequence
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 4503599627370496.0 - 1.0;
    };
    CarrierList plan;
    for (Carrier carrier : grid) {
        const double centreMhz = carrier.centreFrequencyMhz + 0.3 * unit();
        carrier.setFixedBandwidth(centreMhz, 2.0 + 0.2 * unit(), carrier.powerDbw, 1.35);
        plan.append(carrier);
    }
    return plan;
}

// The process's peak resident memory so far.
inline double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

} // namespace orvane::bench
