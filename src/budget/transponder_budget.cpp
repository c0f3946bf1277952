#include "budget/transponder_budget.h"

#include "budget/decibel_sum.h"

#include <cmath>

namespace orvane {

namespace {

std::optional<double> finiteValue(double value)
{
    if (std::isfinite(value))
        return value;
    return std::nullopt;
}

std::optional<double> finiteInput(const std::optional<double>& value)
{
    return value ? finiteValue(*value) : std::nullopt;
}

std::optional<double> positiveInput(const std::optional<double>& value)
{
    const std::optional<double> finite = finiteInput(value);
    if (finite && *finite > 0.0)
        return finite;
    return std::nullopt;
}

// Percent of a reference power that a power in dBW is.
std::optional<double> percentOf(double powerDbw, double referenceDbw)
{
    return finiteValue(100.0 * std::pow(10.0, (powerDbw - referenceDbw) / 10.0));
}

std::optional<double> transponderBandwidth(const CarrierList& plan, const BudgetInputs& inputs)
{
    if (inputs.transponderBandwidthMhz)
        return positiveInput(inputs.transponderBandwidthMhz);
    return positiveInput(std::fabs(plan.viewStopMhz - plan.viewStartMhz));
}

// The operating point: the back-off, the power available there and whether it is over-driven.
void setOperatingPoint(TransponderBudget& budget, const BudgetInputs& inputs)
{
    const std::optional<double>& saturated = budget.saturatedPowerDbw;
    if (const std::optional<double> given = finiteInput(inputs.outputBackoffDb)) {
        budget.outputBackoffDb = given;
        if (saturated)
            budget.availablePowerDbw = *saturated - *given;
    } else {
        budget.availablePowerDbw = budget.totalCarrierPowerDbw;
        if (saturated && budget.totalCarrierPowerDbw)
            budget.outputBackoffDb = *saturated - *budget.totalCarrierPowerDbw;
    }
    if (budget.outputBackoffDb)
        budget.overDriven = *budget.outputBackoffDb < 0.0;
}

void setLinkFigures(CarrierBudget& row, const Carrier& carrier, const TransponderBudget& budget,
                    const CarrierInterference& interference)
{
    row.cimDb = finiteInput(interference.cimDb);
    if (!budget.saturatedPowerDbw || !budget.saturatedCn0DbHz)
        return;
    row.cn0DbHz =
        finiteValue(*budget.saturatedCn0DbHz + carrier.powerDbw - *budget.saturatedPowerDbw);
    if (!row.cn0DbHz)
        return;
    row.esN0Db = thermalEsN0Db(*row.cn0DbHz, carrier.symbolRateKsps);
    if (!row.esN0Db)
        return;
    row.cnimDb = row.cimDb ? combinedRatioDb({*row.esN0Db, *row.cimDb}) : row.esN0Db;
    row.upperBound = !interference.complete;
    if (row.cnimDb && row.requiredEsN0Db)
        row.marginDb = finiteValue(*row.cnimDb - *row.requiredEsN0Db);
}

CarrierBudget carrierBudget(const Carrier& carrier, int fNumber, const TransponderBudget& budget,
                            const CarrierInterference& interference, const CarrierList& reference)
{
    CarrierBudget row;
    row.fNumber = fNumber;
    row.label = carrier.label;
    row.centreFrequencyMhz = carrier.centreFrequencyMhz;
    row.requiredEsN0Db = requiredEsN0Db(carrier, reference);
    row.hasPowerLevel = hasRatedPowerLevel(carrier);
    if (!row.hasPowerLevel)
        return row;
    if (budget.availablePowerDbw)
        row.powerSharePct = percentOf(carrier.powerDbw, *budget.availablePowerDbw);
    const std::optional<double>& bandwidth = budget.transponderBandwidthMhz;
    const double occupiedMhz = carrier.occupiedBandwidthMhz;
    if (bandwidth && std::isfinite(occupiedMhz) && occupiedMhz >= 0.0)
        row.bandwidthSharePct = finiteValue(100.0 * occupiedMhz / *bandwidth);
    if (bandwidth && row.powerSharePct) {
        row.pebMhz = finiteValue(*bandwidth * *row.powerSharePct / 100.0);
        if (row.pebMhz && std::isfinite(occupiedMhz))
            row.powerLimited = *row.pebMhz > occupiedMhz;
    }
    setLinkFigures(row, carrier, budget, interference);
    return row;
}

void setTotals(TransponderBudget& budget)
{
    if (budget.totalCarrierPowerDbw && budget.availablePowerDbw)
        budget.powerUsedPct = percentOf(*budget.totalCarrierPowerDbw, *budget.availablePowerDbw);
    for (const CarrierBudget& row : budget.carriers) {
        if (row.bandwidthSharePct)
            budget.bandwidthUsedPct =
                budget.bandwidthUsedPct.value_or(0.0) + *row.bandwidthSharePct;
        if (row.marginDb && (!budget.minMarginDb || *row.marginDb < *budget.minMarginDb)) {
            budget.minMarginDb = row.marginDb;
            budget.worstMarginCarrier = row.fNumber;
        }
    }
    if (budget.bandwidthUsedPct && !std::isfinite(*budget.bandwidthUsedPct))
        budget.bandwidthUsedPct.reset();
    if (budget.powerUsedPct && budget.bandwidthUsedPct &&
        *budget.powerUsedPct != *budget.bandwidthUsedPct)
        budget.limitedBy = *budget.powerUsedPct > *budget.bandwidthUsedPct ? BudgetLimit::power
                                                                           : BudgetLimit::bandwidth;
}

} // namespace

std::optional<double> totalCarrierPowerDbw(const CarrierList& plan)
{
    std::vector<double> levelsDbw;
    for (const Carrier& carrier : plan)
        if (hasRatedPowerLevel(carrier))
            levelsDbw.push_back(carrier.powerDbw);
    return powerSumDb(levelsDbw);
}

std::optional<double> thermalEsN0Db(double cn0DbHz, double symbolRateKsps)
{
    const double symbolRateHz = symbolRateKsps * 1000.0;
    if (!(symbolRateHz > 0.0) || !std::isfinite(symbolRateHz))
        return std::nullopt;
    return finiteValue(cn0DbHz - 10.0 * std::log10(symbolRateHz));
}

TransponderBudget computeTransponderBudget(const CarrierList& plan, const BudgetInputs& inputs,
                                           const std::vector<CarrierInterference>& interference,
                                           const CarrierList& reference)
{
    CarrierList sorted = plan;
    sorted.sortByFrequency();

    TransponderBudget budget;
    budget.transponderBandwidthMhz = transponderBandwidth(plan, inputs);
    budget.saturatedPowerDbw = finiteInput(inputs.saturatedPowerDbw);
    budget.saturatedCn0DbHz = finiteInput(inputs.saturatedCn0DbHz);
    budget.totalCarrierPowerDbw = totalCarrierPowerDbw(sorted);
    setOperatingPoint(budget, inputs);

    const CarrierInterference noInterference;
    budget.carriers.reserve(static_cast<std::size_t>(sorted.count()));
    for (int i = 0; i < sorted.count(); ++i) {
        const std::size_t index = static_cast<std::size_t>(i);
        budget.carriers.push_back(carrierBudget(
            sorted[i], i + 1, budget,
            index < interference.size() ? interference[index] : noInterference, reference));
    }
    setTotals(budget);
    return budget;
}

} // namespace orvane
