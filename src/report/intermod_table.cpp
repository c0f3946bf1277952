#include "report/intermod_table.h"

#include "model/number_text.h"

#include <cmath>
#include <optional>

namespace orvane {

namespace {

std::string decibels(const std::optional<double>& value)
{
    return value ? formatFixed(*value, 0, 4) : std::string();
}

std::string megahertz(double value)
{
    return std::isfinite(value) ? formatFixed(value, 0, 5) : std::string();
}

} // namespace

bool intermodTableColumnIsText(std::size_t column)
{
    return column == 0 || column == 1 || column == 7 || column == 8;
}

std::vector<std::string> intermodTableHeader()
{
    return {"F#",
            "Label",
            "Centre (MHz)",
            "Hits 2-tone",
            "Hits 3-tone",
            "IM power (dBW)",
            "C/IM (dB)",
            "Complete",
            "Strongest product",
            "Strongest frequency (MHz)",
            "Strongest power (dBW)"};
}

std::vector<std::string> intermodTableRow(const CarrierIntermod& carrier)
{
    std::string complete;
    if (carrier.complete)
        complete = *carrier.complete ? "yes" : "no";
    const std::optional<StrongestProduct>& strongest = carrier.strongest;
    return {"F" + formatInteger(carrier.fNumber),
            carrier.label,
            megahertz(carrier.centreFrequencyMhz),
            formatInteger(carrier.twoToneHits),
            formatInteger(carrier.threeToneHits),
            decibels(carrier.imPowerDbw),
            decibels(carrier.cimDb),
            complete,
            strongest ? strongest->label : std::string(),
            strongest ? megahertz(strongest->frequencyMhz) : std::string(),
            strongest ? decibels(strongest->powerDbw) : std::string()};
}

std::string intermodPlanSummaryCsv(const IntermodAnalysis& analysis)
{
    std::string complete;
    if (analysis.minCimComplete)
        complete = *analysis.minCimComplete ? "yes" : "no";
    const std::string worst =
        analysis.worstCarrier ? "\"F" + formatInteger(*analysis.worstCarrier) + "\"" : "";
    return "\n\"Lowest C/IM (dB)\",\"Worst carrier\",\"Lowest C/IM complete\"\n" +
           decibels(analysis.minCimDb) + "," + worst + "," +
           (complete.empty() ? complete : "\"" + complete + "\"") + "\n";
}

} // namespace orvane
