#pragma once

#include "budget/transponder_budget.h"

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

} // namespace orvane
