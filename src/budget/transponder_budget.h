#pragma once

#include "budget/carrier_interference.h"
#include "budget/required_esn0.h"
#include "model/carrier_list.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// What the planner knows of the transponder; every input may be missing, and every figure that
// needs a missing input is then none. Values that are not finite count as missing, and so does
// a bandwidth of 0 or less.
struct BudgetInputs {
    // Transponder bandwidth W in MHz; none: the width of the plan's view range.
    std::optional<double> transponderBandwidthMhz;
    // Saturated output power in dBW, on the same reference as the carrier powers.
    std::optional<double> saturatedPowerDbw;
    // Output back-off in dB at which the transponder is operated; none: the plan's total
    // carrier power below the saturated power (the operating point is the carriers' total).
    std::optional<double> outputBackoffDb;
    // Thermal C/N0 in dB-Hz a single carrier using the whole saturated power would get at the
    // receiving station.
    std::optional<double> saturatedCn0DbHz;
};

enum class BudgetLimit { power, bandwidth };

// One carrier of the plan sorted by frequency (F1 the lowest), as the analysis numbers them.
// A carrier without a power level has no shares, no C/N and no margin.
struct CarrierBudget {
    int fNumber = 0;
    std::string label;
    double centreFrequencyMhz = 0.0;
    bool hasPowerLevel = false;
    // Share of the power available at the operating point, and of the transponder bandwidth.
    std::optional<double> powerSharePct;
    std::optional<double> bandwidthSharePct;
    // Power-equivalent bandwidth: W times the power share.
    std::optional<double> pebMhz;
    // The power-equivalent bandwidth exceeds the occupied bandwidth.
    std::optional<bool> powerLimited;
    std::optional<double> cn0DbHz; // thermal
    std::optional<double> esN0Db;  // thermal C/N in the symbol-rate bandwidth
    std::optional<double> cimDb;   // as given
    // Es/N0 and C/IM together; Es/N0 alone when no C/IM is given.
    std::optional<double> cnimDb;
    std::optional<double> requiredEsN0Db;
    std::optional<double> marginDb; // C/(N+IM) over the required Es/N0
    // The given C/IM leaves out products without a level: C/(N+IM) and the margin are upper
    // bounds.
    bool upperBound = false;
};

struct TransponderBudget {
    // The inputs in force (W possibly from the view range).
    std::optional<double> transponderBandwidthMhz;
    std::optional<double> saturatedPowerDbw;
    std::optional<double> saturatedCn0DbHz;
    // Power sum of the carriers with a level; none when no carrier has one.
    std::optional<double> totalCarrierPowerDbw;
    // Given, or the saturated power less the total carrier power.
    std::optional<double> outputBackoffDb;
    // Power available at the operating point: saturated power less the back-off.
    std::optional<double> availablePowerDbw;
    // The back-off is negative: the carriers ask for more than the saturated power.
    std::optional<bool> overDriven;
    // Sums of the carriers' shares.
    std::optional<double> powerUsedPct;
    std::optional<double> bandwidthUsedPct;
    // The resource with the larger share used; none when either is unknown or they are equal.
    std::optional<BudgetLimit> limitedBy;
    std::optional<double> minMarginDb;
    std::optional<int> worstMarginCarrier; // F-number of the lowest margin (the lowest F on a tie)
    std::vector<CarrierBudget> carriers;   // in F-number order
};

// The budget of a plan. The plan is sorted by frequency on a copy, exactly as the analysis
// sorts it, so interference[i] belongs to F(i+1); carriers beyond the interference given
// count as free of intermodulation. The required Es/N0 of carriers not taken from a catalogue
// comes from reference. Every value in the result is finite.
// The total power (dBW) of the plan's carriers with a level, summed in the plan's order; none
// when no carrier has one.
std::optional<double> totalCarrierPowerDbw(const CarrierList& plan);
// A carrier's thermal Es/N0 (dB): its C/N0 less 10·log10 of its symbol rate in Hz; none
// unless the rate is above 0 and the result finite.
std::optional<double> thermalEsN0Db(double cn0DbHz, double symbolRateKsps);

TransponderBudget computeTransponderBudget(const CarrierList& plan, const BudgetInputs& inputs,
                                           const std::vector<CarrierInterference>& interference,
                                           const CarrierList& reference = shippedDvbS2Catalogue());

} // namespace orvane
