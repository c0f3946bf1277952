#pragma once

#include "analysis/intermod_analysis.h"

#include <string>
#include <vector>

namespace orvane {

// The cells of one carrier's row of an intermodulation analysis, as a table shows them:
// F#, label, centre (MHz), two-tone hits, three-tone hits, IM power (dBW), C/IM (dB),
// complete, strongest product, its frequency (MHz) and its power (dBW). A value that does not
// exist is an empty cell.
std::vector<std::string> intermodTableHeader();
std::vector<std::string> intermodTableRow(const CarrierIntermod& carrier);
// Whether a column holds text (quoted in CSV text) rather than numbers.
bool intermodTableColumnIsText(std::size_t column);

// An empty line, then a header and a line for the plan: the lowest C/IM, the carrier that has
// it, and whether it is complete ("no": the true lowest may lie below, as a carrier with a
// level is hit by a product without one). It closes the analysis's CSV table.
std::string intermodPlanSummaryCsv(const IntermodAnalysis& analysis);

} // namespace orvane
