#include "budget/budget_summary.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(BudgetSummary, NamesWhatIsKnown)
{
    TransponderBudget budget;
    EXPECT_EQ(budgetSummaryText(budget), "");
    budget.powerUsedPct = 82.6;
    budget.bandwidthUsedPct = 61.4;
    budget.limitedBy = BudgetLimit::power;
    budget.carriers.resize(7);
    budget.minMarginDb = 1.24;
    budget.worstMarginCarrier = 7;
    EXPECT_EQ(budgetSummaryText(budget),
              "power 83 % \u00b7 bandwidth 61 % \u00b7 power-limited \u00b7 worst margin 1.2 dB "
              "at F7");
    budget.outputBackoffDb = -2.04;
    budget.overDriven = true;
    budget.limitedBy = BudgetLimit::bandwidth;
    budget.carriers[6].upperBound = true;
    budget.powerUsedPct.reset();
    EXPECT_EQ(budgetSummaryText(budget),
              "bandwidth 61 % \u00b7 bandwidth-limited \u00b7 over-driven "
              "by 2.0 dB \u00b7 worst margin \u2264 1.2 dB at F7");
}

} // namespace
} // namespace orvane
