#include "files/carrier_file.h"
#include "files/modcod_file.h"

#include "model/number_text.h"
#include "model/rounding.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

std::string skippedLines(const FileReadResult& result)
{
    std::string text = " skipped";
    for (const SkippedLine& skipped : result.skipped)
        text += " " + formatInteger(skipped.lineNumber);
    return text;
}

// The plan as one line: title, view, each carrier as mode, centre, bandwidth (to 1 Hz), power,
// roll-off, modulation order and label, then the numbers of the skipped lines.
std::string describedPlan(const CarrierList& list, const FileReadResult& result)
{
    std::string text = list.title + " | " + formatShortest(list.viewStartMhz) + ".." +
                       formatShortest(list.viewStopMhz) + " |";
    for (const Carrier& carrier : list)
        text += " " + std::string(1, "FCS"[carrier.calcMode]) + " " +
                formatShortest(carrier.centreFrequencyMhz) + " " +
                formatShortest(roundToDecimals(carrier.occupiedBandwidthMhz, 6)) + " " +
                formatShortest(carrier.powerDbw) + " " + formatShortest(carrier.rolloffFactor) +
                " M" + formatInteger(carrier.modulationOrder) + " " + carrier.label + ";";
    return text + skippedLines(result);
}

// The catalogue as one line: title, then each entry as label, mode, modulation order, FEC
// rate, Reed-Solomon n and k, overheads, efficiency, parameters A and B, section, roll-off,
// whether it came from a catalogue, and its symbol rate and place (a new carrier's).
std::string describedCatalogue(const CarrierList& list, const FileReadResult& result)
{
    std::string text = list.title + " |";
    for (const Carrier& entry : list) {
        text += " " + entry.label + ":" + "FCS"[entry.calcMode];
        for (const double value :
             {double(entry.modulationOrder), entry.fecRate, entry.rsN, entry.rsK,
              entry.overheadKbps, entry.spectralEfficiency, entry.modcodParamA, entry.modcodParamB,
              double(entry.modcodSection), entry.rolloffFactor, double(entry.fromModcod),
              entry.symbolRateKsps, entry.centreFrequencyMhz})
            text += " " + formatShortest(value);
        text += ";";
    }
    return text + skippedLines(result);
}

// Each file of tests/data/reading, read into a list that held something else, is described in
// the golden file of its kind; the file names say what each one shows.
TEST(FileReaders, ReadEveryExampleLeniently)
{
    for (const bool modcod : {false, true}) {
        std::string described;
        for (const std::string& name : test::dataFiles("reading", modcod ? ".modcod" : ".txt")) {
            CarrierList list;
            list.append(Carrier());
            list.isModcodList = modcod ? 0 : 1;
            list.currentRolloffFactor = 2.0;
            const std::string bytes = test::dataFile("reading/" + name);
            const FileReadResult result =
                modcod ? readModcodText(list, bytes) : readCarrierText(list, bytes);
            EXPECT_FALSE(result.error) << name;
            EXPECT_EQ(result.loaded, !list.empty()) << name;
            EXPECT_EQ(list.isModcodList, modcod ? 1 : 0) << name;
            for (const SkippedLine& skipped : result.skipped)
                EXPECT_FALSE(skipped.reason.empty()) << name;
            described += name + ": " +
                         (modcod ? describedCatalogue(list, result) : describedPlan(list, result)) +
                         "\n";
        }
        test::expectGolden(described,
                           modcod ? "reading/catalogues.expected" : "reading/plans.expected");
    }
}

TEST(FileReaders, SkippedLinesMakeOneMessage)
{
    EXPECT_EQ(skippedLinesText({}), "");
    EXPECT_EQ(
        skippedLinesText({{4, "the FEC rate is not above 0"}}),
        "One line could not be used and was skipped:\nLine 4: the FEC rate is not above 0.\n");
    std::vector<SkippedLine> many;
    for (int line = 1; line <= 25; ++line)
        many.push_back({line, "reason"});
    const std::string text = skippedLinesText(many);
    EXPECT_EQ(text.rfind("25 lines could not be used and were skipped:\nLine 1: reason.\n", 0), 0u);
    EXPECT_NE(text.find("Line 20: reason.\n... and 5 more.\n"), std::string::npos);
    EXPECT_EQ(text.find("Line 21"), std::string::npos);
}

} // namespace
} // namespace orvane
