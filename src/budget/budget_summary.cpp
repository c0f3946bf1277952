#include "budget/budget_summary.h"

#include "model/number_text.h"

namespace orvane {

std::vector<std::string> budgetSummaryPieces(const TransponderBudget& budget)
{
    std::vector<std::string> pieces;
    if (budget.powerUsedPct)
        pieces.push_back("power " + formatFixed(*budget.powerUsedPct, 0, 0) + " %");
    if (budget.bandwidthUsedPct)
        pieces.push_back("bandwidth " + formatFixed(*budget.bandwidthUsedPct, 0, 0) + " %");
    if (budget.limitedBy)
        pieces.push_back(*budget.limitedBy == BudgetLimit::power ? "power-limited"
                                                                 : "bandwidth-limited");
    if (budget.overDriven.value_or(false) && budget.outputBackoffDb)
        pieces.push_back("over-driven by " + formatFixed(-*budget.outputBackoffDb, 0, 1) + " dB");
    if (budget.minMarginDb && budget.worstMarginCarrier) {
        const std::size_t worst = static_cast<std::size_t>(*budget.worstMarginCarrier - 1);
        const bool upperBound = worst < budget.carriers.size() && budget.carriers[worst].upperBound;
        pieces.push_back("worst margin " + std::string(upperBound ? "\u2264 " : "") +
                         formatFixed(*budget.minMarginDb, 0, 1) + " dB at F" +
                         formatInteger(*budget.worstMarginCarrier));
    }
    return pieces;
}

std::string budgetSummaryText(const TransponderBudget& budget)
{
    std::string text;
    for (const std::string& piece : budgetSummaryPieces(budget))
        text += (text.empty() ? "" : " \u00b7 ") + piece;
    return text;
}

} // namespace orvane
