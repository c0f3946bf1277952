#pragma once

#include "amplifier/amplifier_simulation.h"
#include "analysis/intermod_analysis.h"
#include "model/carrier_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Whose intermodulation the analysis panel shows: the analysis's cubic with the IP3 box
// alone, or an amplifier simulated at the IBO box's operating point.
enum class PanelAmplifier { ip3, tube, solidState, table };

// "ip3", "tube", "solid-state", "table", as the settings keep them; an unknown name reads as ip3.
std::string_view panelAmplifierName(PanelAmplifier amplifier);
PanelAmplifier panelAmplifierNamed(std::string_view name);
// "Tube", "Solid-state amplifier", "Measured amplifier", as the picture's legend says.
std::string panelAmplifierCaption(PanelAmplifier amplifier);

// The operating points the panel's back-off sweep visits: 0 to 20 dB in steps of 1 dB.
const std::vector<double>& sweepBackoffsDb();
// The precision of the sweep's points: the chart wants the curve, not the last tenth of a dB.
inline constexpr double sweepPrecisionDb = 0.5;

// The simulated output spectrum drawn on the plan's carrier density scale: shifted so that its
// power is the plan's total carrier power (the simulation refers it to the saturated output),
// points merged to about pointCount across the view range, none where the simulation left no
// power. Empty when there is no spectrum or the plan has no carrier with a level.
DensityCurve spectrumOnPlanScale(const AmplifierSimulation& simulation, const CarrierList& plan,
                                 double viewStartMhz, double viewStopMhz, int pointCount);

// The simulation in a line: "Tube at IBO 10.0 dB: OBO 4.81 dB, worst C/IM 19.52 dB at F3
// (within 0.20 dB)."; the refusal when it was refused.
std::string simulationSummaryText(PanelAmplifier amplifier, const AmplifierSimulation& simulation);

} // namespace orvane
