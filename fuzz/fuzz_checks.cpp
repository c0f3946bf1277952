#include "fuzz_checks.h"

#include "amplifier/amplifier_model.h"
#include "files/carrier_file.h"
#include "files/modcod_file.h"
#include "model/carrier_list.h"
#include "model/number_text.h"

#include <cmath>
#include <string>
#include <vector>

namespace orvane::fuzz {

namespace {

// The reader refuses any number larger in size than this.
constexpr double largestReadNumber = 1e12;

std::string carrierName(int index)
{
    return "carrier " + formatInteger(index + 1);
}

bool isValidUtf8(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else
            return false;
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

struct NamedValue {
    const char* name;
    double value;
};

std::string firstNonFinite(const std::vector<NamedValue>& values, const std::string& owner)
{
    for (const NamedValue& named : values)
        if (!std::isfinite(named.value))
            return owner + ": " + named.name + " is " + formatShortest(named.value);
    return std::string();
}

std::string checkCarrierValues(const Carrier& carrier, const std::string& owner)
{
    std::string problem = firstNonFinite({{"spectralEfficiency", carrier.spectralEfficiency},
                                          {"powerDbw", carrier.powerDbw},
                                          {"modcodParamA", carrier.modcodParamA},
                                          {"modcodParamB", carrier.modcodParamB},
                                          {"symbolRateMsps", carrier.symbolRateMsps},
                                          {"occupiedBandwidthMhz", carrier.occupiedBandwidthMhz},
                                          {"rolloffFactor", carrier.rolloffFactor},
                                          {"centreFrequencyMhz", carrier.centreFrequencyMhz},
                                          {"dataRateKbps", carrier.dataRateKbps},
                                          {"overheadKbps", carrier.overheadKbps},
                                          {"rsN", carrier.rsN},
                                          {"rsK", carrier.rsK},
                                          {"fecRate", carrier.fecRate},
                                          {"symbolRateKsps", carrier.symbolRateKsps},
                                          {"lowerEdgeMhz", carrier.lowerEdgeMhz()},
                                          {"upperEdgeMhz", carrier.upperEdgeMhz()},
                                          {"lowerSymbolEdgeMhz", carrier.lowerSymbolEdgeMhz()},
                                          {"upperSymbolEdgeMhz", carrier.upperSymbolEdgeMhz()},
                                          {"powerDensityDbw", carrier.powerDensityDbw()}},
                                         owner);
    if (!problem.empty())
        return problem;
    if (carrier.powerDbw > -999.0 && !(carrier.symbolRateMsps > 0.0) &&
        carrier.powerDensityDbw() != -999.0)
        return owner + ": a carrier without a positive symbol rate has a power density";
    if (!isValidUtf8(carrier.label))
        return owner + ": the label is not UTF-8";
    return std::string();
}

std::string checkListValues(const CarrierList& list)
{
    std::string problem = firstNonFinite({{"viewStartMhz", list.viewStartMhz},
                                          {"viewStopMhz", list.viewStopMhz},
                                          {"currentRolloffFactor", list.currentRolloffFactor},
                                          {"lowestEdgeMhz", list.lowestEdgeMhz()},
                                          {"highestEdgeMhz", list.highestEdgeMhz()},
                                          {"levelFloor", list.levelFloor()},
                                          {"levelCeiling", list.levelCeiling()}},
                                         "the list");
    if (!problem.empty())
        return problem;
    if (!isValidUtf8(list.title))
        return "the title is not UTF-8";
    for (int i = 0; i < list.count(); ++i) {
        problem = checkCarrierValues(list[i], carrierName(i));
        if (!problem.empty())
            return problem;
    }
    return std::string();
}

std::string checkReadResult(const FileReadResult& result, const CarrierList& list)
{
    if (result.error)
        return "reading bytes gave a file error";
    if (result.loaded != !list.empty())
        return "the result says loaded = " + std::to_string(result.loaded) + " with " +
               formatInteger(list.count()) + " carriers";
    int previousLine = 0;
    for (const SkippedLine& skipped : result.skipped) {
        if (skipped.lineNumber < 1 || skipped.lineNumber < previousLine)
            return "skipped line numbers are not in file order";
        if (skipped.reason.empty())
            return "a skipped line has no reason";
        previousLine = skipped.lineNumber;
    }
    if (skippedLinesText(result.skipped).empty() != result.skipped.empty())
        return "the skipped-lines message does not match the skipped lines";
    return std::string();
}

// The refusal rules of the carrier reader, seen from what it kept: only the numbers a line of
// the carrier's kind holds are limited in size (derived ones may be larger).
std::string checkCarrierRules(const Carrier& carrier, const std::string& owner)
{
    std::vector<NamedValue> readValues{{"centreFrequencyMhz", carrier.centreFrequencyMhz},
                                       {"powerDbw", carrier.powerDbw}};
    if (carrier.calcMode == calcModeFec)
        readValues.insert(readValues.end(), {{"dataRateKbps", carrier.dataRateKbps},
                                             {"overheadKbps", carrier.overheadKbps},
                                             {"fecRate", carrier.fecRate},
                                             {"rsN", carrier.rsN}});
    if (carrier.calcMode == calcModeSpectral)
        readValues.insert(readValues.end(), {{"dataRateKbps", carrier.dataRateKbps},
                                             {"spectralEfficiency", carrier.spectralEfficiency},
                                             {"fecRate", carrier.fecRate}});
    for (const NamedValue& named : readValues)
        if (std::fabs(named.value) > largestReadNumber)
            return owner + ": " + named.name + " " + formatShortest(named.value) +
                   " is larger than the reader takes";
    if (carrier.symbolRateKsps < 0.0 || carrier.occupiedBandwidthMhz < 0.0)
        return owner + ": a carrier of negative width";
    // The smallest values a saved file keeps: anything smaller would not load back.
    if (!(carrier.rolloffFactor >= 0.0001))
        return owner + ": the roll-off factor is below 0.0001";
    if (carrier.calcMode == calcModeFec && !(carrier.fecRate >= 0.000001))
        return owner + ": an FEC carrier with an FEC rate below 0.000001";
    if (carrier.calcMode == calcModeFec && !(std::fabs(carrier.rsN / carrier.rsK) >= 0.000001))
        return owner + ": an FEC carrier with a Reed-Solomon ratio below 0.000001";
    if (carrier.calcMode == calcModeFec && carrier.modulationOrder < 2)
        return owner + ": an FEC carrier with a modulation order below 2";
    if (carrier.calcMode == calcModeSpectral && !(carrier.spectralEfficiency >= 0.000001))
        return owner + ": a spectral-efficiency carrier with an efficiency below 0.000001";
    if (carrier.calcMode != calcModeFixed && carrier.calcMode != calcModeFec &&
        carrier.calcMode != calcModeSpectral)
        return owner + ": calcMode " + formatInteger(carrier.calcMode);
    return std::string();
}

double tolerance(double value, int decimals)
{
    // Half a unit in the last written decimal, and a few units in the last place of the double
    // for values so large that the decimal form is exact.
    return 0.5 * std::pow(10.0, -decimals) * (1.0 + 1e-9) + std::fabs(value) * 1e-15;
}

std::string compareField(const char* name, double first, double second, int decimals,
                         const std::string& owner)
{
    const double allowed = tolerance(first, decimals) + tolerance(second, decimals);
    if (std::fabs(first - second) <= allowed)
        return std::string();
    return owner + ": " + name + " " + formatShortest(first) + " came back as " +
           formatShortest(second);
}

std::string compareCarriers(const Carrier& first, const Carrier& second, const std::string& owner)
{
    if (first.calcMode != second.calcMode)
        return owner + ": calcMode " + formatInteger(first.calcMode) + " came back as " +
               formatInteger(second.calcMode);
    if (first.label != second.label)
        return owner + ": the label \"" + first.label + "\" came back as \"" + second.label + "\"";
    const bool hasLevel = first.powerDbw > -998.0;
    if (hasLevel != (second.powerDbw > -998.0))
        return owner + ": the power level was lost or gained";
    std::string problem;
    auto check = [&](const char* name, double a, double b, int decimals) {
        if (problem.empty())
            problem = compareField(name, a, b, decimals, owner);
    };
    check("centreFrequencyMhz", first.centreFrequencyMhz, second.centreFrequencyMhz, 5);
    if (hasLevel)
        check("powerDbw", first.powerDbw, second.powerDbw, 3);
    check("rolloffFactor", first.rolloffFactor, second.rolloffFactor, 4);
    if (first.calcMode == calcModeFixed) {
        check("occupiedBandwidthMhz", first.occupiedBandwidthMhz, second.occupiedBandwidthMhz, 6);
    } else {
        check("dataRateKbps", first.dataRateKbps, second.dataRateKbps, 3);
        check("fecRate", first.fecRate, second.fecRate, 6);
        if (problem.empty() && first.modulationOrder != second.modulationOrder)
            problem = owner + ": modulationOrder " + formatInteger(first.modulationOrder) +
                      " came back as " + formatInteger(second.modulationOrder);
    }
    if (first.calcMode == calcModeSpectral) {
        check("spectralEfficiency", first.spectralEfficiency, second.spectralEfficiency, 6);
    } else if (first.calcMode == calcModeFec) {
        check("overheadKbps", first.overheadKbps, second.overheadKbps, 3);
        check("Reed-Solomon ratio", first.rsN / first.rsK, second.rsN / second.rsK, 6);
    }
    return problem;
}

} // namespace

std::string checkCarrierReader(std::string_view bytes)
{
    CarrierList list;
    const FileReadResult result = readCarrierText(list, bytes);
    std::string problem = checkReadResult(result, list);
    if (problem.empty() && result.loaded)
        problem = checkListValues(list);
    for (int i = 0; problem.empty() && i < list.count(); ++i)
        problem = checkCarrierRules(list[i], carrierName(i));
    if (problem.empty() && list.isModcodList != 0)
        problem = "a carrier file made a modcod list";
    return problem;
}

std::string checkModcodReader(std::string_view bytes)
{
    CarrierList list;
    const FileReadResult result = readModcodText(list, bytes);
    std::string problem = checkReadResult(result, list);
    if (problem.empty() && list.isModcodList != 1)
        return "a modcod file did not make a modcod list";
    if (problem.empty() && !isValidUtf8(list.title))
        return "the title is not UTF-8";
    for (int i = 0; problem.empty() && i < list.count(); ++i) {
        const Carrier& entry = list[i];
        const std::string owner = "entry " + formatInteger(i + 1);
        problem = checkCarrierValues(entry, owner);
        if (!problem.empty())
            break;
        if (entry.fromModcod != 1)
            problem = owner + ": not marked as a modcod entry";
        else if (entry.calcMode != calcModeFec && entry.calcMode != calcModeSpectral)
            problem = owner + ": calcMode " + formatInteger(entry.calcMode);
        else if (entry.modcodSection != 0 && entry.modcodSection != 1)
            problem = owner + ": section " + formatInteger(entry.modcodSection);
        else if (entry.rsN == 0.0 || entry.rsK == 0.0)
            problem = owner + ": a Reed-Solomon value of 0 was kept";
    }
    return problem;
}

std::string checkRoundTrip(std::string_view bytes)
{
    CarrierList first;
    if (!readCarrierText(first, bytes).loaded)
        return std::string();
    const std::string saved = writeCarrierText(first);
    if (saved.empty())
        return "a loaded plan saved as nothing";

    CarrierList second;
    const FileReadResult again = readCarrierText(second, saved);
    if (!again.loaded)
        return "the saved plan does not load";
    if (!again.skipped.empty())
        return "the saved plan loads with line " + formatInteger(again.skipped.front().lineNumber) +
               " refused: " + again.skipped.front().reason;
    if (std::string problem = checkListValues(second); !problem.empty())
        return "after saving, " + problem;
    if (first.count() != second.count())
        return formatInteger(first.count()) + " carriers came back as " +
               formatInteger(second.count());
    if (first.title != second.title)
        return "the title \"" + first.title + "\" came back as \"" + second.title + "\"";
    std::string problem;
    // A view start written as 0.00000 means "no view range" to the reader, which then takes
    // the carriers' outer edges, as for a file without one.
    if (readNumberPrefix(formatFixed(first.viewStartMhz, 7, 5)).value == 0.0) {
        if (second.viewStartMhz != second.lowestEdgeMhz() ||
            second.viewStopMhz != second.highestEdgeMhz())
            problem = "a view start of 0 did not give the carriers' outer edges";
    } else {
        problem =
            compareField("viewStartMhz", first.viewStartMhz, second.viewStartMhz, 5, "the list");
        if (problem.empty())
            problem =
                compareField("viewStopMhz", first.viewStopMhz, second.viewStopMhz, 5, "the list");
    }
    for (int i = 0; problem.empty() && i < first.count(); ++i)
        problem = compareCarriers(first[i], second[i], carrierName(i));
    return problem;
}

std::string checkAmplifierTableReader(std::string_view bytes)
{
    const AmplifierTableRead read = readAmplifierTable(bytes);
    if (!read.table)
        return read.problem.empty() ? "no table and no reason" : "";
    AmplifierModel model;
    model.kind = AmplifierKind::table;
    model.table = *read.table;
    if (const std::optional<std::string> problem = amplifierModelProblem(model))
        return "the table read makes no curve: " + *problem;
    const AmplifierCurve curve(model);
    for (double amplitude = 0.0; amplitude < 100.0; amplitude = amplitude * 1.5 + 1e-6) {
        const double output = curve.outputAmplitude(amplitude);
        const double phase = curve.phaseShiftRad(amplitude);
        if (!std::isfinite(output) || output < 0.0 || !std::isfinite(phase))
            return "the curve gives " + formatShortest(output) + " at phase " +
                   formatShortest(phase) + " for the input amplitude " + formatShortest(amplitude);
    }
    return "";
}

} // namespace orvane::fuzz
