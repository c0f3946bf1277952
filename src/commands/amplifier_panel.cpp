#include "commands/amplifier_panel.h"

#include "amplifier/output_spectrum.h"
#include "budget/transponder_budget.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>

namespace orvane {

std::string_view panelAmplifierName(PanelAmplifier amplifier)
{
    switch (amplifier) {
    case PanelAmplifier::tube:
        return "tube";
    case PanelAmplifier::solidState:
        return "solid-state";
    case PanelAmplifier::table:
        return "table";
    case PanelAmplifier::ip3:
        break;
    }
    return "ip3";
}

PanelAmplifier panelAmplifierNamed(std::string_view name)
{
    for (const PanelAmplifier amplifier :
         {PanelAmplifier::tube, PanelAmplifier::solidState, PanelAmplifier::table})
        if (name == panelAmplifierName(amplifier))
            return amplifier;
    return PanelAmplifier::ip3;
}

std::string panelAmplifierCaption(PanelAmplifier amplifier)
{
    switch (amplifier) {
    case PanelAmplifier::tube:
        return "Tube";
    case PanelAmplifier::solidState:
        return "Solid-state amplifier";
    case PanelAmplifier::table:
        return "Measured amplifier";
    case PanelAmplifier::ip3:
        break;
    }
    return "IP3 model";
}

const std::vector<double>& sweepBackoffsDb()
{
    static const std::vector<double> backoffs = backoffSteps(0.0, 20.0, 1.0);
    return backoffs;
}

DensityCurve spectrumOnPlanScale(const AmplifierSimulation& simulation, const CarrierList& plan,
                                 double viewStartMhz, double viewStopMhz, int pointCount)
{
    DensityCurve curve;
    const OutputSpectrum& spectrum = simulation.spectrum;
    const std::optional<double> planTotalDbw = totalCarrierPowerDbw(plan);
    const double lowMhz = std::min(viewStartMhz, viewStopMhz);
    const double highMhz = std::max(viewStartMhz, viewStopMhz);
    if (!planTotalDbw || spectrum.dbwPerKhz.empty() || !(spectrum.stepMhz > 0.0) ||
        !(highMhz > lowMhz) || pointCount < 1)
        return curve;
    // The output's power is the saturated power less the output back-off; the plan's carriers
    // together have the plan's total.
    const double shiftDb = *planTotalDbw - simulation.totalOutputDbw;
    const double wantedStepMhz = (highMhz - lowMhz) / pointCount;
    const auto binsPerPoint =
        static_cast<std::size_t>(std::max(1.0, std::round(wantedStepMhz / spectrum.stepMhz)));
    const OutputSpectrum merged = mergedSpectrum(spectrum, binsPerPoint);
    // The points from the last at or below the view's start to the first at or above its stop.
    std::size_t first = merged.dbwPerKhz.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < merged.dbwPerKhz.size(); ++i) {
        const double frequencyMhz = merged.frequencyMhz(i);
        if (frequencyMhz >= lowMhz - merged.stepMhz && frequencyMhz <= highMhz + merged.stepMhz) {
            first = std::min(first, i);
            last = std::max(last, i);
        }
    }
    if (first > last)
        return curve;
    curve.lowMhz = merged.frequencyMhz(first) - merged.stepMhz / 2.0;
    curve.highMhz = merged.frequencyMhz(last) + merged.stepMhz / 2.0;
    for (std::size_t i = first; i <= last; ++i) {
        const double density = merged.dbwPerKhz[i];
        curve.binDbwPerKhz.push_back(density > spectrumFloorDbwPerKhz
                                         ? std::optional<double>(density + shiftDb)
                                         : std::nullopt);
    }
    return curve;
}

std::string simulationSummaryText(PanelAmplifier amplifier, const AmplifierSimulation& simulation)
{
    if (simulation.refusal)
        return *simulation.refusal;
    std::string text = panelAmplifierCaption(amplifier);
    if (simulation.inputBackoffDb)
        text += " at IBO " + formatFixed(*simulation.inputBackoffDb, 0, 1) + " dB";
    text += ":";
    if (simulation.outputBackoffDb)
        text += " OBO " + formatFixed(*simulation.outputBackoffDb, 0, 2) + " dB,";
    if (simulation.minCimDb && simulation.worstCarrier)
        text += " worst C/IM " + formatFixed(*simulation.minCimDb, 0, 2) + " dB at F" +
                formatInteger(*simulation.worstCarrier);
    else
        text += " no carrier with a level";
    return text + " (within " + formatFixed(simulation.precisionDb, 0, 2) + " dB).";
}

} // namespace orvane
