#pragma once

#include "budget/transponder_budget.h"

#include <string>
#include <vector>

namespace orvane {

// The budget in a few words for a summary line, each piece only when it is known:
// "power 83 %", "bandwidth 61 %", "power-limited" or "bandwidth-limited",
// "over-driven by 2.0 dB", "worst margin 1.2 dB at F7" ("≤ 1.2 dB" when it is an upper bound).
std::vector<std::string> budgetSummaryPieces(const TransponderBudget& budget);
// The pieces joined by " · "; empty when none is known. UTF-8.
std::string budgetSummaryText(const TransponderBudget& budget);

} // namespace orvane
