#pragma once

#include "amplifier/amplifier_simulation.h"
#include "budget/transponder_budget.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// One carrier's pair of bars: its share of the transponder's power and of its bandwidth.
struct ShareBar {
    int fNumber = 0;
    double powerSharePct = 0.0;
    double bandwidthSharePct = 0.0;
    bool powerLimited = false; // it takes more of the power than of the band
};

// The budget's chart of each carrier's power share against its bandwidth share, side by side.
struct ShareChart {
    std::vector<ShareBar> bars; // the carriers with a power share, in F-number order
    // The value axis in %, from 0 to at least the largest share.
    std::vector<double> ticksPct;
    // What the bars do not tell: over-driven, carriers without a level; empty when nothing.
    std::string note;
    bool noteIsWarning = false; // the transponder is over-driven
};

ShareChart shareChart(const TransponderBudget& budget);

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
};

// The amplifier's operating points: the worst carrier's C/IM against the input back-off and,
// with the thermal C/N0 at saturation, the worst carrier's C/(N+IM), whose highest point is the
// best operating point (more back-off, less intermodulation but less power and more noise).
struct BackoffChart {
    std::vector<ChartPoint> worstCimDb;  // (IBO, the lowest C/IM of the point's carriers)
    std::vector<ChartPoint> worstCnimDb; // (IBO, the lowest C/(N+IM)); empty without C/N0
    std::optional<ChartPoint> best;      // the highest point of worstCnimDb
    std::optional<int> bestWorstCarrier; // F-number of the worst carrier there
    std::optional<double> currentIboDb;  // where the plan is run now, within the sweep
    std::vector<double> ticksIboDb;
    std::vector<double> ticksDb;
    std::string note; // why a curve or the best point is missing; empty when nothing is
};

// The chart of a sweep of the plan (sorted as simulated). Each carrier's Es/N0 at a point is
// C/N0(sat) + its output there below the saturated output (saturatedOutputDbw, the reference
// of the simulation's levels) - 10·log10(symbol rate), and its C/(N+IM) Es/N0 and C/IM added as
// impairments; carriers without a level or symbol rate are left out of the C/(N+IM) curve.
BackoffChart backoffChart(const BackoffSweep& sweep, const CarrierList& sortedPlan,
                          std::optional<double> saturatedCn0DbHz, double saturatedOutputDbw,
                          std::optional<double> currentIboDb);

} // namespace orvane
