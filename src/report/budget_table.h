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

// The analysis and its budget as comma-separated text for spreadsheets: the header line, then
// one line per carrier with the analysis's cells, the budget's and any further columns (their
// headings and each carrier's cells in F-number order; a carrier without cells gets empty
// ones), then the plan's summary of intermodPlanSummaryCsv. Text cells quoted, numbers bare,
// UTF-8, LF line ends; analysis and budget are of the same plan.
std::string intermodBudgetCsv(const IntermodAnalysis& analysis, const TransponderBudget& budget,
                              const std::vector<std::string>& moreHeadings = {},
                              const std::vector<std::vector<std::string>>& moreCells = {});

} // namespace orvane
