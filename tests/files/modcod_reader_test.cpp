#include "files/modcod_file.h"

#include "model/number_text.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

// The catalogue as one line: title, then each entry as label, mode, modulation order, FEC
// rate, Reed-Solomon n/k, overheads, efficiency, parameters A and B, section and roll-off;
// then the numbers of the skipped lines.
std::string described(const CarrierList& list, const FileReadResult& result)
{
    std::string text = list.title + " |";
    for (const Carrier& entry : list) {
        text += " " + entry.label + ":" + "FCS"[entry.calcMode];
        for (const double value :
             {double(entry.modulationOrder), entry.fecRate, entry.rsN, entry.rsK,
              entry.overheadKbps, entry.spectralEfficiency, entry.modcodParamA, entry.modcodParamB,
              double(entry.modcodSection), entry.rolloffFactor})
            text += " " + formatShortest(value);
        text += ";";
    }
    text += " skipped";
    for (const SkippedLine& skipped : result.skipped)
        text += " " + formatInteger(skipped.lineNumber);
    return text;
}

struct ModcodCase {
    const char* name;
    std::string text;
    std::string catalogue;
};

class ModcodReaderTest : public ::testing::TestWithParam<ModcodCase> {};

TEST_P(ModcodReaderTest, ReadsTheEntries)
{
    CarrierList list;
    list.append(Carrier());
    const FileReadResult result = readModcodText(list, GetParam().text);
    EXPECT_EQ(described(list, result), GetParam().catalogue);
    EXPECT_EQ(result.loaded, !list.empty());
    EXPECT_FALSE(result.error);
    EXPECT_EQ(list.isModcodList, 1);
    for (const Carrier& entry : list) {
        EXPECT_EQ(entry.fromModcod, 1);
        // The working record's rates and place stay as a new carrier has them.
        EXPECT_EQ(entry.centreFrequencyMhz, Carrier().centreFrequencyMhz);
        EXPECT_EQ(entry.symbolRateKsps, Carrier().symbolRateKsps);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogues, ModcodReaderTest,
    ::testing::Values(
        ModcodCase{
            "Example", test::dataFile("example.modcod"),
            "Example catalogue | QPSK 1/2:C 4 0.5 1 1 0 1 4.5 1e-07 0 1.25; 8PSK 3/4 RS:C 8 "
            "0.75 204 188 0 1 7.9 1e-07 0 1.25; 8PSK SE:S 8 0.75 1 1 0 2.25 6.5 1e-07 1 1.25; "
            "skipped"},
        // What an entry does not set keeps the value of the entry before it.
        ModcodCase{
            "WorkingRecordCarriesFieldsOn",
            "MODCOD\nT\nS 2.5 4 0.5 1 2 a\nF 16 7.5 0.75 204 188 3 4 b\nS 3 16 0.8 5 6 c\n"
            "R 1.1\nF 0 -2 0.5 0 0 7 8 d\nFEC list\n",
            "T | a:S 4 0.5 1 1 0 2.5 1 2 0 1.35; b:C 8 0.75 204 188 16 2.5 3 4 0 1.35; c:S 16 "
            "0.8 1 1 16 3 5 6 0 1.35; d:C 2 0.5 1 1 0 3 7 8 0 1.1; EC list:C 0 0 1 1 0 3 0 0 "
            "0 1.1; skipped"},
        ModcodCase{
            "UnusableEntriesSkippedWithoutTouchingTheRecord",
            "MODCOD\nT\nF 16 4 0.5 0 0 1 1 a\nF 32 4 inf 0 0 1 1 x\nS nan 4 0.5 1 1 x\n"
            "R 0\nR 1e999\nR 0.00005\nS 2 4 0.5 1 1e13 x\nS 2 4 0.5 1 1 b\n",
            "T | a:C 4 0.5 1 1 16 1 1 1 0 1.35; b:S 4 0.5 1 1 16 2 1 1 0 1.35; skipped 4 5 6 "
            "7 8 9"},
        ModcodCase{"KeywordWithSeparators", " \t,MODCOD, \nT\nF 0 4 0.5 0 0 1 1 A",
                   "T | A:C 4 0.5 1 1 0 1 1 1 0 1.35; skipped"},
        ModcodCase{"LowerCaseKeyword", "modcod\nT\nF 0 4 0.5 0 0 1 1 A\n", " | skipped"},
        ModcodCase{"KeywordWithMore", "MODCOD list\nT\nF 0 4 0.5 0 0 1 1 A\n", " | skipped"},
        ModcodCase{"KeywordNotFirst", "\nMODCOD\nT\nF 0 4 0.5 0 0 1 1 A\n", " | skipped"},
        ModcodCase{"OnlyATitle", "MODCOD\nOnly a title\n", "Only a title | skipped"},
        ModcodCase{"OnlyUpperCaseTags", "MODCOD\nT\nf 0 4 0.5 0 0 1 1 A\ns 1 4 0.5 1 1 B\nr 2\n",
                   "T | skipped"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane
