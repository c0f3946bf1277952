#pragma once

#include "amplifier/amplifier_simulation.h"
#include "analysis/intermod_analysis.h"

#include <optional>
#include <vector>

namespace orvane {

// The intermodulation one carrier suffers, from whichever model the caller uses: the
// intermodulation analysis with its intercept point, or an amplifier model.
struct CarrierInterference {
    // Carrier over intermodulation power in its band; none: no intermodulation is counted.
    std::optional<double> cimDb;
    // False when cimDb leaves out products without a level, so that it (and everything worked
    // out from it) is an upper bound.
    bool complete = true;
};

// Each carrier's C/IM of an analysis, in F-number order (index 0 is F1).
std::vector<CarrierInterference> interferenceFromAnalysis(const IntermodAnalysis& analysis);
// Each carrier's C/IM of an amplifier simulation (all orders, nothing left out), in F-number
// order; carriers without a level have none.
std::vector<CarrierInterference>
interferenceFromSimulation(const std::vector<SimulatedCarrier>& carriers);

} // namespace orvane
