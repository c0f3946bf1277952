#include "display/carrier_summary.h"

#include "model/coding_tables.h"
#include "model/number_text.h"

namespace orvane {

namespace {

std::string modulationText(int modulationOrder)
{
    const int position = modulationPosition(modulationOrder);
    if (position < 0)
        return formatInteger(modulationOrder) + "-ary";
    return std::string(modulationNames[static_cast<std::size_t>(position)]);
}

std::string fecText(double fecRate)
{
    const int position = fecRateIndex(fecRate);
    if (position < 0)
        return formatGeneral(fecRate, 6);
    return std::string(fecRateNames[static_cast<std::size_t>(position)]);
}

} // namespace

std::string carrierSummary(const Carrier& carrier)
{
    std::string label = carrier.label;
    for (char& character : label)
        if (character == '\t')
            character = ' ';
    std::string text = label.empty() ? "(no label)" : label;
    text += "\nCentre: " + formatFixed(carrier.centreFrequencyMhz, 0, 5) + " MHz";
    text += "\nOccupied bandwidth: " + formatFixed(carrier.occupiedBandwidthMhz, 0, 5) + " MHz";
    text += "\nSymbol rate: " + formatFixed(carrier.symbolRateKsps, 0, 3) + " kSps";
    if (carrier.calcMode != calcModeFixed) {
        text += "\nData rate: " + formatFixed(carrier.dataRateKbps, 0, 3) + " kbps";
        text += "\nModulation: " + modulationText(carrier.modulationOrder) + ", FEC " +
                fecText(carrier.fecRate);
    }
    if (carrier.powerDbw > noPowerLevelDbw) {
        text += "\nPower: " + formatFixed(carrier.powerDbw, 0, 2) + " dBW";
        const double density = carrier.powerDensityDbw();
        if (density > noPowerLevelDbw)
            text += "\nPower density: " + formatFixed(density, 0, 2) + " dBW/kHz";
    } else {
        text += "\nNo power level";
    }
    return text;
}

} // namespace orvane
