#pragma once

#include "amplifier/simulation_trials.h"

#include <cstddef>
#include <vector>

namespace orvane::amplifier {

// One carrier over all frames so far: the gain of the part of the output correlated with the
// carrier's input (Bussgang's), the power of the rest in its band per frame, and how far the
// C/IM in dB may be off (the half-width of its 95 % confidence interval).
struct CarrierEstimate {
    Complex gain;
    double intermodPower = 0.0;
    double halfWidthDb = 0.0;
};

// stats holds trials rows of slotCount entries, frame after frame.
CarrierEstimate estimateCarrier(const std::vector<TrialStats>& stats, std::size_t slotCount,
                                std::size_t slot, std::size_t trials);

} // namespace orvane::amplifier
