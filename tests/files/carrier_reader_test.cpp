#include "files/carrier_file.h"

#include "model/number_text.h"
#include "model/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvane {
namespace {

// The plan as one line: title, view, each carrier as mode, centre, bandwidth (to 1 Hz), power,
// roll-off, label and modulation order, then the numbers of the skipped lines.
std::string described(const CarrierList& list, const FileReadResult& result)
{
    std::string text = list.title + " | " + formatShortest(list.viewStartMhz) + ".." +
                       formatShortest(list.viewStopMhz) + " |";
    for (const Carrier& carrier : list)
        text += " " + std::string(1, "FCS"[carrier.calcMode]) + " " +
                formatShortest(carrier.centreFrequencyMhz) + " " +
                formatShortest(roundToDecimals(carrier.occupiedBandwidthMhz, 6)) + " " +
                formatShortest(carrier.powerDbw) + " " + formatShortest(carrier.rolloffFactor) +
                " M" + formatInteger(carrier.modulationOrder) + " " + carrier.label + ";";
    text += " skipped";
    for (const SkippedLine& skipped : result.skipped)
        text += " " + formatInteger(skipped.lineNumber);
    return text;
}

struct ReaderCase {
    const char* name;
    std::string text;
    std::string plan;
};

class CarrierReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(CarrierReaderTest, ReadsTheLinesLeniently)
{
    CarrierList list; // whatever it held is replaced
    list.append(Carrier());
    list.isModcodList = 1;
    list.currentRolloffFactor = 2.0;
    const FileReadResult result = readCarrierText(list, GetParam().text);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.loaded, !list.empty());
    EXPECT_EQ(list.isModcodList, 0);
    for (const SkippedLine& skipped : result.skipped)
        EXPECT_FALSE(skipped.reason.empty());
    EXPECT_EQ(described(list, result), GetParam().plan);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CarrierReaderTest,
    ::testing::Values(
        ReaderCase{"EveryKindOfLine",
                   "Plan A\n\n//comment\n\nF 5850.00000 6425.00000\n5900.00000 36000.000 TV1\n\nL\n"
                   "R 1.2000\nC 6000.50000 2048.000 0.000 4 0.750000 1.085106 10.000 DATA\n"
                   "S 6100.00000 1000.000 1.500000 8 0.666667 12.500 SE\n\n\n",
                   "Plan A | 5850..6425 | F 5900 36 -999 1.35 M4 TV1; C 6000.5 1.777838 10 1.2 M4 "
                   "DATA; S 6100 0.8 12.5 1.2 M8 SE; skipped"},
        ReaderCase{"LowerCaseTagsAndCrLf",
                   "T\r\nf 5000 5100\r\nl\r\nr 1.5\r\nc 5050 1000 500 4 0.5 1 2 a\r\n"
                   "s 5060 1000 2 4 0.5 3 b\r\n",
                   "T | 5000..5100 | C 5050 2.25 2 1.5 M4 a; S 5060 0.75 3 1.5 M4 b; skipped"},
        ReaderCase{"LastViewRangeCounts", "T\nF 1 2\nF 5850 6425 rest ignored\n5900 1000\n",
                   "T | 5850..6425 | F 5900 1 -999 1.35 M4 ; skipped"},
        ReaderCase{"RolloffFromTheNextLineOn",
                   "T\n5900 1350 A\nR 1.5 whatever\n5910 1500 B\nR1.2\n5920 1200 C\n",
                   "T | 5899.325..5920.6 | F 5900 1.35 -999 1.35 M4 A; F 5910 1.5 -999 1.5 M4 B; F "
                   "5920 1.2 -999 1.2 M4 C; skipped"},
        // A factor of 0 (an R line without a number) or below, or too small to be saved, is
        // refused and reported.
        ReaderCase{"RolloffOutOfRangeIsIgnored",
                   "T\nR\nR -1.2\nR 0\nR 1e-300\nR 0.00009\n5900 1350 A\nR 0.05\n5910 1000 B\n",
                   "T | 5899.325..5910.5 | F 5900 1.35 -999 1.35 M4 A; F 5910 1 -999 0.05 M4 B; "
                   "skipped 2 3 4 5 6"},
        ReaderCase{"ReedSolomonRatioZeroReadsOne", "T\nC 6000 1000 0 4 0.5 0 X\n",
                   "T | 5999.325..6000.675 | C 6000 1.35 -999 1.35 M4 X; skipped"},
        ReaderCase{
            "ModulationOrderRoundedFromItsSize",
            "T\nC 6000 1000 0 3.6 0.5 1 A\nC 6000 1000 0 -4 0.5 1 B\nS 6000 1000 1 7.5 0.5 C\n",
            "T | 5999.325..6000.675 | C 6000 1.35 -999 1.35 M4 A; C 6000 1.35 -999 1.35 M4 B; S "
            "6000 1.35 -999 1.35 M8 C; skipped"},
        ReaderCase{"FirstLetterDecidesAndBothTagLettersAreDropped",
                   "T\nCS 6000 1000 0 4 0.5 1 A\nSc 6000 1000 2 4 0.5 B\n",
                   "T | 5999.325..6000.675 | C 6000 1.35 -999 1.35 M4 A; S 6000 0.675 -999 1.35 M4 "
                   "B; skipped"},
        ReaderCase{"LabelKeepsInnerTabsSpacesAndCommas",
                   "T\n5900 36000 ,\tfirst\tsecond, third ,\t\n",
                   "T | 5882..5918 | F 5900 36 -999 1.35 M4 first\tsecond, third; skipped"},
        ReaderCase{"FirstLineIsAlwaysTheTitle", "5900 36000 TV1\n5950 1000 B\n",
                   "5900 36000 TV1 | 5949.5..5950.5 | F 5950 1 -999 1.35 M4 B; skipped"},
        ReaderCase{"TitleTrimmedAndEmptyTitle", "\n5950 1000 B\n",
                   " | 5949.5..5950.5 | F 5950 1 -999 1.35 M4 B; skipped"},
        ReaderCase{"LevelModeReadsAPowerField",
                   "T\nL\nL\n5900 36000 12.5 TV\n5910 1000 TV1\n5920 1000 3.5x\n5930 1000\n",
                   "T | 5882..5930.5 | F 5900 36 12.5 1.35 M4 TV; F 5910 1 0 1.35 M4 TV1; F 5920 1 "
                   "3.5 1.35 M4 x; F 5930 1 0 1.35 M4 ; skipped"},
        ReaderCase{"ViewRangeZeroTakesTheCarriersEdges", "T\nF 0 6425\n5900 36000 A\n6000 2000 B\n",
                   "T | 5882..6001 | F 5900 36 -999 1.35 M4 A; F 6000 2 -999 1.35 M4 B; skipped"},
        ReaderCase{"ZeroWidthSingleCarrierGivesAnEmptyView", "T\n6000 0 A\n",
                   "T | 0..0 | F 6000 0 -999 1.35 M4 A; skipped"},
        ReaderCase{"TextWhereANumberBelongsReadsAsZero", "T\nhello world\nF\n",
                   "T | 0..0 | F 0 0 -999 1.35 M4 hello world; skipped"},
        ReaderCase{"CommentsBlankLinesAndCommas", "T\n// c\n; c\n\n  ,\t\n,,5900,,1000,,A b,,\n",
                   "T | 5899.5..5900.5 | F 5900 1 -999 1.35 M4 A b; skipped"},
        ReaderCase{"LoneCarriageReturnsEndLines", "T\rF 5850 6425\r5900 1000 A\r\r5910 1000 B",
                   "T | 5850..6425 | F 5900 1 -999 1.35 M4 A; F 5910 1 -999 1.35 M4 B; skipped"},
        ReaderCase{
            "UnsoundLinesAreSkippedAndReported",
            "T\nC 6000 1000 0 4 0 1 A\nC 6000 1000 0 1.4 0.5 1 B\nS 6000 1000 0 4 0.5 C\n"
            "S 6000 1000 -1 4 0.5 D\n5900 inf E\n5900 nan F\n5900 1e13 G\n5900 1e999 H\n"
            "F inf 5\nC 6000 1e12 0 4 1e-300 1 I\nL\n5900 1000 -1e400 J\n"
            "C 6000 1000 0 1.5 0.5 1 ok\n",
            "T | 5998.65..6001.35 | C 6000 2.7 0 1.35 M2 ok; skipped 2 3 4 5 6 7 8 9 10 11 13"},
        ReaderCase{"Windows1252TextBecomesUtf8",
                   "Caf\xe9 \x80\n5900 1000 Gr\xfc\xdf \x81\x8d\x8f\x90\x9d\n",
                   "Caf\xC3\xA9 \xE2\x82\xAC | 5899.5..5900.5 | F 5900 1 -999 1.35 M4 "
                   "Gr\xC3\xBC\xC3\x9F \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D; skipped"},
        ReaderCase{"NoCarriers", "Only a title\nF 1 2\nL\nR 1.2\n// note\n",
                   "Only a title | 1..2 | skipped"},
        ReaderCase{"EmptyText", "", " | 0..0 | skipped"}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

TEST(CarrierReader, SkippedLinesMakeOneMessage)
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
