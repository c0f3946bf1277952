#pragma once

#include "analysis/intermod_analysis.h"
#include "budget/transponder_budget.h"

#include <string>
#include <vector>

namespace orvane {

// The cells of one carrier's budget as a table shows them: power share (%), bandwidth share
// (%), PEB (MHz), power-limited (yes or no), Es/N0 (dB), C/(N+IM) (dB), required Es/N0 (dB),
// margin (dB). A value that does not exist is an empty cell.
std::vector<std::string> budgetTableHeader();
std::vector<std::string> budgetTableRow(const CarrierBudget& carrier);

// The analysis table of intermodTableCsv with the budget's columns at the end of each line;
// analysis and budget are of the same plan.
std::string intermodBudgetCsv(const IntermodAnalysis& analysis, const TransponderBudget& budget);
// The same with further columns after the budget's: their headings and each carrier's cells, in
// F-number order, numbers written bare (a carrier without cells gets empty ones).
std::string intermodBudgetCsv(const IntermodAnalysis& analysis, const TransponderBudget& budget,
                              const std::vector<std::string>& moreHeadings,
                              const std::vector<std::vector<std::string>>& moreCells);

} // namespace orvane
