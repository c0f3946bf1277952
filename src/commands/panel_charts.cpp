#include "commands/panel_charts.h"

#include "display/chart_scale.h"
#include "model/number_text.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int mostTicks = 5;

} // namespace

ShareChart shareChart(const TransponderBudget& budget)
{
    ShareChart chart;
    double largestPct = 0.0;
    std::string unlevelled;
    for (const CarrierBudget& carrier : budget.carriers) {
        if (!carrier.hasPowerLevel) {
            unlevelled += (unlevelled.empty() ? "F" : ", F") + formatInteger(carrier.fNumber);
            continue;
        }
        if (!carrier.powerSharePct)
            continue;
        ShareBar bar{carrier.fNumber, *carrier.powerSharePct,
                     carrier.bandwidthSharePct.value_or(0.0), carrier.powerLimited.value_or(false)};
        largestPct = std::max({largestPct, bar.powerSharePct, bar.bandwidthSharePct});
        chart.bars.push_back(bar);
    }
    if (!chart.bars.empty())
        chart.ticksPct = roundTicks(0.0, largestPct > 0.0 ? largestPct : 1.0, mostTicks);
    if (budget.overDriven.value_or(false) && budget.outputBackoffDb) {
        chart.note = "Over-driven by " + formatFixed(-*budget.outputBackoffDb, 0, 1) +
                     " dB: the carriers ask for more than the saturated power.";
        chart.noteIsWarning = true;
    }
    if (!unlevelled.empty())
        chart.note += (chart.note.empty() ? "" : " ") + std::string("No power level: ") +
                      unlevelled + ".";
    return chart;
}

} // namespace orvane
