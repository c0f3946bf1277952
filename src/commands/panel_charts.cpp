#include "commands/panel_charts.h"

#include "budget/decibel_sum.h"
#include "display/chart_scale.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

constexpr int mostTicks = 5;

// A carrier's C/(N+IM) at a point of the sweep; none without a C/IM or without a C/N.
std::optional<double> carrierCnimDb(const SimulatedCarrier& simulated, const Carrier& carrier,
                                    double saturatedCn0DbHz, double saturatedOutputDbw)
{
    if (!simulated.cimDb || !simulated.outputPowerDbw)
        return std::nullopt;
    const std::optional<double> esN0Db = thermalEsN0Db(
        saturatedCn0DbHz + *simulated.outputPowerDbw - saturatedOutputDbw, carrier.symbolRateKsps);
    if (!esN0Db)
        return std::nullopt;
    const std::optional<double> combined = combinedRatioDb({*esN0Db, *simulated.cimDb});
    return combined && std::isfinite(*combined) ? combined : std::nullopt;
}

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
        chart.note +=
            (chart.note.empty() ? "" : " ") + std::string("No power level: ") + unlevelled + ".";
    return chart;
}

BackoffChart backoffChart(const BackoffSweep& sweep, const CarrierList& sortedPlan,
                          std::optional<double> saturatedCn0DbHz, double saturatedOutputDbw,
                          std::optional<double> currentIboDb)
{
    BackoffChart chart;
    if (sweep.refusal) {
        chart.note = *sweep.refusal;
        return chart;
    }
    double lowestDb = std::numeric_limits<double>::infinity();
    double highestDb = -lowestDb;
    for (const BackoffSweepPoint& point : sweep.points) {
        if (point.worstCimDb) {
            chart.worstCimDb.push_back({point.inputBackoffDb, *point.worstCimDb});
            lowestDb = std::min(lowestDb, *point.worstCimDb);
            highestDb = std::max(highestDb, *point.worstCimDb);
        }
        if (!saturatedCn0DbHz)
            continue;
        std::optional<double> worst;
        std::optional<int> worstCarrier;
        for (const SimulatedCarrier& simulated : point.carriers) {
            const int index = simulated.fNumber - 1;
            if (index < 0 || index >= sortedPlan.count())
                continue;
            const std::optional<double> cnim =
                carrierCnimDb(simulated, sortedPlan[index], *saturatedCn0DbHz, saturatedOutputDbw);
            if (cnim && (!worst || *cnim < *worst)) {
                worst = cnim;
                worstCarrier = simulated.fNumber;
            }
        }
        if (!worst)
            continue;
        chart.worstCnimDb.push_back({point.inputBackoffDb, *worst});
        lowestDb = std::min(lowestDb, *worst);
        if (!chart.best || *worst > chart.best->y) {
            chart.best = ChartPoint{point.inputBackoffDb, *worst};
            chart.bestWorstCarrier = worstCarrier;
        }
    }
    if (chart.worstCimDb.empty())
        return chart;
    const double firstIbo = chart.worstCimDb.front().x;
    const double lastIbo = chart.worstCimDb.back().x;
    chart.ticksIboDb = roundTicks(firstIbo, lastIbo, mostTicks);
    chart.ticksDb = roundTicks(lowestDb, highestDb, mostTicks);
    if (currentIboDb && *currentIboDb >= firstIbo && *currentIboDb <= lastIbo)
        chart.currentIboDb = currentIboDb;
    if (!saturatedCn0DbHz)
        chart.note = "Give the C/N0 at saturation on the Budget tab for C/(N+IM) and the best "
                     "operating point.";
    return chart;
}

} // namespace orvane
