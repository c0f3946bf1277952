#include "files/carrier_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct ExpectedCarrier {
    int calcMode;
    double centreMhz;
    double bandwidthMhz;
    double powerDbw;
    double rolloffFactor;
    std::string label;
    int modulationOrder = 0; // 0: not checked
};

struct ReaderCase {
    const char* name;
    std::string text;
    std::string title;
    double viewStartMhz;
    double viewStopMhz;
    std::vector<ExpectedCarrier> carriers;
    std::vector<int> skippedLines;
};

class CarrierReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(CarrierReaderTest, ReadsTheLinesLeniently)
{
    const ReaderCase& wanted = GetParam();
    CarrierList list;
    const FileReadResult result = readCarrierText(list, wanted.text);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.loaded, !wanted.carriers.empty());
    EXPECT_EQ(list.isModcodList, 0);
    EXPECT_EQ(list.title, wanted.title);
    EXPECT_DOUBLE_EQ(list.viewStartMhz, wanted.viewStartMhz);
    EXPECT_DOUBLE_EQ(list.viewStopMhz, wanted.viewStopMhz);
    ASSERT_EQ(list.count(), static_cast<int>(wanted.carriers.size()));
    for (std::size_t i = 0; i < wanted.carriers.size(); ++i) {
        const Carrier& carrier = list[static_cast<int>(i)];
        const ExpectedCarrier& expected = wanted.carriers[i];
        SCOPED_TRACE("carrier " + std::to_string(i));
        EXPECT_EQ(carrier.calcMode, expected.calcMode);
        EXPECT_NEAR(carrier.centreFrequencyMhz, expected.centreMhz, 1e-9);
        EXPECT_NEAR(carrier.occupiedBandwidthMhz, expected.bandwidthMhz, 1e-6);
        EXPECT_DOUBLE_EQ(carrier.powerDbw, expected.powerDbw);
        EXPECT_DOUBLE_EQ(carrier.rolloffFactor, expected.rolloffFactor);
        EXPECT_EQ(carrier.label, expected.label);
        if (expected.modulationOrder != 0) {
            EXPECT_EQ(carrier.modulationOrder, expected.modulationOrder);
        }
    }
    std::vector<int> skippedLines;
    for (const SkippedLine& skipped : result.skipped) {
        skippedLines.push_back(skipped.lineNumber);
        EXPECT_FALSE(skipped.reason.empty());
    }
    EXPECT_EQ(skippedLines, wanted.skippedLines);
}

constexpr int fixed = calcModeFixed;
constexpr int fec = calcModeFec;
constexpr int spectral = calcModeSpectral;
constexpr double none = noPowerLevelDbw;

INSTANTIATE_TEST_SUITE_P(
    Lines, CarrierReaderTest,
    ::testing::Values(
        ReaderCase{"EveryKindOfLine",
                   "Plan A\n\n//comment\n\nF 5850.00000 6425.00000\n5900.00000 36000.000 TV1\n\nL\n"
                   "R 1.2000\nC 6000.50000 2048.000 0.000 4 0.750000 1.085106 10.000 DATA\n"
                   "S 6100.00000 1000.000 1.500000 8 0.666667 12.500 SE\n\n\n",
                   "Plan A",
                   5850.0,
                   6425.0,
                   {{fixed, 5900.0, 36.0, none, 1.35, "TV1"},
                    {fec, 6000.5, 2048.0 / 0.75 * 1.085106 / 2 * 0.001 * 1.2, 10.0, 1.2, "DATA", 4},
                    {spectral, 6100.0, 1000.0 / 1.5 * 0.001 * 1.2, 12.5, 1.2, "SE", 8}},
                   {}},
        ReaderCase{"LowerCaseTagsAndCrLf",
                   "T\r\nf 5000 5100\r\nl\r\nr 1.5\r\nc 5050 1000 0 4 0.5 1 2 a\r\n"
                   "s 5060 1000 2 4 0.5 3 b\r\n",
                   "T",
                   5000.0,
                   5100.0,
                   {{fec, 5050.0, 1.5, 2.0, 1.5, "a", 4}, {spectral, 5060.0, 0.75, 3.0, 1.5, "b"}},
                   {}},
        ReaderCase{"LastViewRangeCounts",
                   "T\nF 1 2\nF 5850 6425 rest ignored\n5900 1000\n",
                   "T",
                   5850.0,
                   6425.0,
                   {{fixed, 5900.0, 1.0, none, 1.35, ""}},
                   {}},
        ReaderCase{"RolloffFromTheNextLineOn",
                   "T\n5900 1350 A\nR 1.5 whatever\n5910 1500 B\nR1.2\n5920 1200 C\n",
                   "T",
                   5899.325,
                   5920.6,
                   {{fixed, 5900.0, 1.35, none, 1.35, "A"},
                    {fixed, 5910.0, 1.5, none, 1.5, "B"},
                    {fixed, 5920.0, 1.2, none, 1.2, "C"}},
                   {}},
        // A factor of 0 (an R line without a number) or below is refused and reported.
        ReaderCase{"RolloffWithoutNumberIsIgnored",
                   "T\nR\nR -1.2\nR 0\n5900 1350 A\n",
                   "T",
                   5899.325,
                   5900.675,
                   {{fixed, 5900.0, 1.35, none, 1.35, "A"}},
                   {2, 3, 4}},
        ReaderCase{"ReedSolomonRatioZeroReadsOne",
                   "T\nC 6000 1000 0 4 0.5 0 X\n",
                   "T",
                   5999.325,
                   6000.675,
                   {{fec, 6000.0, 1.35, none, 1.35, "X", 4}},
                   {}},
        ReaderCase{
            "ModulationOrderRoundedFromItsSize",
            "T\nC 6000 1000 0 3.6 0.5 1 A\nC 6000 1000 0 -4 0.5 1 B\nS 6000 1000 1 7.5 0.5 C\n",
            "T",
            5999.325,
            6000.675,
            {{fec, 6000.0, 1.35, none, 1.35, "A", 4},
             {fec, 6000.0, 1.35, none, 1.35, "B", 4},
             {spectral, 6000.0, 1.35, none, 1.35, "C", 8}},
            {}},
        ReaderCase{"FirstLetterDecidesAndBothTagLettersAreDropped",
                   "T\nCS 6000 1000 0 4 0.5 1 A\nSc 6000 1000 2 4 0.5 B\n",
                   "T",
                   5999.325,
                   6000.675,
                   {{fec, 6000.0, 1.35, none, 1.35, "A", 4},
                    {spectral, 6000.0, 0.675, none, 1.35, "B", 4}},
                   {}},
        ReaderCase{"LabelKeepsInnerTabsSpacesAndCommas",
                   "T\n5900 36000 ,\tfirst\tsecond, third ,\t\n",
                   "T",
                   5882.0,
                   5918.0,
                   {{fixed, 5900.0, 36.0, none, 1.35, "first\tsecond, third"}},
                   {}},
        ReaderCase{"FirstLineIsAlwaysTheTitle",
                   "5900 36000 TV1\n5950 1000 B\n",
                   "5900 36000 TV1",
                   5949.5,
                   5950.5,
                   {{fixed, 5950.0, 1.0, none, 1.35, "B"}},
                   {}},
        ReaderCase{"TitleTrimmedAndEmptyTitle",
                   "\n5950 1000 B\n",
                   "",
                   5949.5,
                   5950.5,
                   {{fixed, 5950.0, 1.0, none, 1.35, "B"}},
                   {}},
        ReaderCase{"LevelModeReadsAPowerField",
                   "T\nL\nL\n5900 36000 12.5 TV\n5910 1000 TV1\n5920 1000 3.5x\n5930 1000\n",
                   "T",
                   5882.0,
                   5930.5,
                   {{fixed, 5900.0, 36.0, 12.5, 1.35, "TV"},
                    {fixed, 5910.0, 1.0, 0.0, 1.35, "TV1"},
                    {fixed, 5920.0, 1.0, 3.5, 1.35, "x"},
                    {fixed, 5930.0, 1.0, 0.0, 1.35, ""}},
                   {}},
        ReaderCase{"ViewRangeZeroTakesTheCarriersEdges",
                   "T\nF 0 6425\n5900 36000 A\n6000 2000 B\n",
                   "T",
                   5882.0,
                   6001.0,
                   {{fixed, 5900.0, 36.0, none, 1.35, "A"}, {fixed, 6000.0, 2.0, none, 1.35, "B"}},
                   {}},
        ReaderCase{"ZeroWidthSingleCarrierGivesAnEmptyView",
                   "T\n6000 0 A\n",
                   "T",
                   0.0,
                   0.0,
                   {{fixed, 6000.0, 0.0, none, 1.35, "A"}},
                   {}},
        ReaderCase{"TextWhereANumberBelongsReadsAsZero",
                   "T\nhello world\nF\n",
                   "T",
                   0.0,
                   0.0,
                   {{fixed, 0.0, 0.0, none, 1.35, "hello world"}},
                   {}},
        ReaderCase{"CommentsBlankLinesAndCommas",
                   "T\n// c\n; c\n\n  ,\t\n,,5900,,1000,,A b,,\n",
                   "T",
                   5899.5,
                   5900.5,
                   {{fixed, 5900.0, 1.0, none, 1.35, "A b"}},
                   {}},
        ReaderCase{"LoneCarriageReturnsEndLines",
                   "T\rF 5850 6425\r5900 1000 A\r\r5910 1000 B",
                   "T",
                   5850.0,
                   6425.0,
                   {{fixed, 5900.0, 1.0, none, 1.35, "A"}, {fixed, 5910.0, 1.0, none, 1.35, "B"}},
                   {}},
        ReaderCase{"UnsoundLinesAreSkippedAndReported",
                   "T\nC 6000 1000 0 4 0 1 A\nC 6000 1000 0 1.4 0.5 1 B\nS 6000 1000 0 4 0.5 C\n"
                   "S 6000 1000 -1 4 0.5 D\n5900 inf E\n5900 nan F\n5900 1e13 G\n5900 1e999 H\n"
                   "F inf 5\nC 6000 1e12 0 4 1e-300 1 I\nL\n5900 1000 -1e400 J\n"
                   "C 6000 1000 0 1.5 0.5 1 ok\n",
                   "T",
                   5998.65,
                   6001.35,
                   {{fec, 6000.0, 2.7, 0.0, 1.35, "ok", 2}},
                   {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}},
        ReaderCase{"Windows1252TextBecomesUtf8",
                   "Caf\xe9 \x80\n5900 1000 Gr\xfc\xdf \x81\x8d\x8f\x90\x9d\n",
                   "Caf\xc3\xa9 \xe2\x82\xac",
                   5899.5,
                   5900.5,
                   {{fixed, 5900.0, 1.0, none, 1.35,
                     "Gr\xc3\xbc\xc3\x9f \xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"}},
                   {}},
        ReaderCase{"NoCarriers",
                   "Only a title\nF 1 2\nL\nR 1.2\n// note\n",
                   "Only a title",
                   1.0,
                   2.0,
                   {},
                   {}},
        ReaderCase{"EmptyText", "", "", 0.0, 0.0, {}, {}}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

TEST(CarrierReader, BuildsCodedCarriersWithTheRatioInRsN)
{
    CarrierList list;
    readCarrierText(list, "T\nC 6000.5 2048 16 8 0.75 1.085106 X\n");
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list[0].rsN, 1.085106);
    EXPECT_EQ(list[0].rsK, 1.0);
    EXPECT_EQ(list[0].overheadKbps, 16.0);
    EXPECT_EQ(list[0].fecRate, 0.75);
    EXPECT_DOUBLE_EQ(list[0].symbolRateKsps, 2064.0 / 0.75 * 1.085106 / 3.0);
    EXPECT_EQ(list[0].symbolRateGiven, 0);
}

TEST(CarrierReader, ReplacesTheListAndSetsTheBounds)
{
    CarrierList list;
    list.append(Carrier());
    list.isModcodList = 1;
    list.currentRolloffFactor = 2.0;
    readCarrierText(list, "T\nL\n5900 36000 10 A\n");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.isModcodList, 0);
    EXPECT_DOUBLE_EQ(list.lowestEdgeMhz(), 5882.0);
    EXPECT_DOUBLE_EQ(list.levelCeiling(), 10.0 - 10.0 * std::log10(36000.0 / 1.35));

    const FileReadResult empty = readCarrierText(list, "Nothing here\n");
    EXPECT_FALSE(empty.loaded);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.title, "Nothing here");
}

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
