#include "files/modcod_file.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

constexpr const char* exampleCatalogue = "MODCOD\r\n"
                                         "Example catalogue\r\n"
                                         "R 1.25\r\n"
                                         "C\r\n"
                                         "F 0 4 0.5 0 0 4.5 1e-7 QPSK 1/2\r\n"
                                         "F 0 8 0.75 204 188 7.9 1e-7 8PSK 3/4 RS\r\n"
                                         "E\r\n"
                                         "S 2.25 8 0.75 6.5 1e-7 8PSK SE\r\n";

TEST(ModcodReader, ReadsTheExampleCatalogue)
{
    CarrierList list;
    const FileReadResult result = readModcodText(list, exampleCatalogue);
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(list.isModcodList, 1);
    EXPECT_EQ(list.title, "Example catalogue");
    ASSERT_EQ(list.count(), 3);

    EXPECT_EQ(list[0].label, "QPSK 1/2");
    EXPECT_EQ(list[0].calcMode, calcModeFec);
    EXPECT_EQ(list[0].modulationOrder, 4);
    EXPECT_EQ(list[0].fecRate, 0.5);
    EXPECT_EQ(list[0].rsN, 1.0);
    EXPECT_EQ(list[0].modcodParamA, 4.5);
    EXPECT_EQ(list[0].modcodParamB, 1e-7);
    EXPECT_EQ(list[0].modcodSection, 0);

    EXPECT_EQ(list[1].label, "8PSK 3/4 RS");
    EXPECT_EQ(list[1].rsN, 204.0);
    EXPECT_EQ(list[1].rsK, 188.0);
    EXPECT_EQ(list[1].modcodSection, 0);

    EXPECT_EQ(list[2].label, "8PSK SE");
    EXPECT_EQ(list[2].calcMode, calcModeSpectral);
    EXPECT_EQ(list[2].spectralEfficiency, 2.25);
    EXPECT_EQ(list[2].modcodParamA, 6.5);
    EXPECT_EQ(list[2].modcodSection, 1);
    EXPECT_EQ(list[2].rsN, 1.0);

    for (const Carrier& entry : list) {
        EXPECT_EQ(entry.rolloffFactor, 1.25);
        EXPECT_EQ(entry.fromModcod, 1);
        // The working record's rates and place stay at the defaults in every entry.
        EXPECT_EQ(entry.centreFrequencyMhz, 6000.0);
        EXPECT_EQ(entry.powerDbw, 20.0);
        EXPECT_EQ(entry.dataRateKbps, 1000.0);
        EXPECT_EQ(entry.symbolRateKsps, 1000.0);
    }
    EXPECT_EQ(list.levelCeiling(), -999.0);
    EXPECT_EQ(list.viewStartMhz, 0.0);
}

struct KeywordCase {
    const char* text;
    bool loaded;
};

class ModcodKeywordTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(ModcodKeywordTest, FirstLineMustBeTheKeywordAlone)
{
    CarrierList list;
    const FileReadResult result = readModcodText(list, GetParam().text);
    EXPECT_EQ(result.loaded, GetParam().loaded) << GetParam().text;
    EXPECT_EQ(list.count(), GetParam().loaded ? 1 : 0);
    EXPECT_FALSE(result.error);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, ModcodKeywordTest,
    ::testing::Values(KeywordCase{"MODCOD\nT\nF 0 4 0.5 0 0 1 1 A\n", true},
                      KeywordCase{" \t,MODCOD, \nT\nF 0 4 0.5 0 0 1 1 A", true},
                      KeywordCase{"modcod\nT\nF 0 4 0.5 0 0 1 1 A\n", false},
                      KeywordCase{"MODCOD list\nT\nF 0 4 0.5 0 0 1 1 A\n", false},
                      KeywordCase{"\nMODCOD\nT\nF 0 4 0.5 0 0 1 1 A\n", false},
                      KeywordCase{"MODCOD\nOnly a title\n", false},
                      // Only upper-case tags count.
                      KeywordCase{"MODCOD\nT\nf 0 4 0.5 0 0 1 1 A\ns 1 4 0.5 1 1 B\nr 2\nc\ne\n",
                                  false}));

TEST(ModcodReader, PlainTextStartingWithFIsAnEntryOfZeros)
{
    CarrierList list;
    readModcodText(list, "MODCOD\nT\nFEC list\n");
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list[0].label, "EC list");
    EXPECT_EQ(list[0].fecRate, 0.0);
    EXPECT_EQ(list[0].rsN, 1.0);
}

TEST(ModcodReader, WorkingRecordCarriesFieldsFromEntryToEntry)
{
    CarrierList list;
    readModcodText(list, "MODCOD\nT\n"
                         "S 2.5 4 0.5 1 2 first\n"
                         "F 16 7.5 0.75 204 188 3 4 second\n"
                         "S 3 16 0.8 5 6 third\n"
                         "R 1.1\n"
                         "F 0 2 0.5 0 0 7 8 fourth\n");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list[1].modulationOrder, 8) << "7.5 rounds to 8";
    EXPECT_EQ(list[1].spectralEfficiency, 2.5) << "an F entry keeps the S entry's efficiency";
    EXPECT_EQ(list[2].overheadKbps, 16.0) << "an S entry keeps the F entry's overheads";
    EXPECT_EQ(list[2].rsN, 1.0);
    EXPECT_EQ(list[3].spectralEfficiency, 3.0);
    EXPECT_EQ(list[0].rolloffFactor, 1.35);
    EXPECT_EQ(list[2].rolloffFactor, 1.35);
    EXPECT_EQ(list[3].rolloffFactor, 1.1) << "R changes later entries only";
}

TEST(ModcodReader, UnusableEntriesAreSkippedWithoutTouchingTheWorkingRecord)
{
    CarrierList list;
    const FileReadResult result = readModcodText(list, "MODCOD\nT\n"
                                                       "F 16 4 0.5 0 0 1 1 good\n"
                                                       "F 32 4 inf 0 0 1 1 bad\n"
                                                       "S nan 4 0.5 1 1 bad\n"
                                                       "R 0\n"
                                                       "R 1e999\n"
                                                       "R 0.00005\n"
                                                       "S 2 4 0.5 1 1e13 bad\n"
                                                       "S 2 4 0.5 1 1 next\n");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list[1].label, "next");
    EXPECT_EQ(list[1].overheadKbps, 16.0);
    EXPECT_EQ(list[1].rolloffFactor, 1.35);
    ASSERT_EQ(result.skipped.size(), 6u) << "the roll-off rule is the plan reader's";
    EXPECT_EQ(result.skipped[0].lineNumber, 4);
    EXPECT_EQ(result.skipped[5].lineNumber, 9);
}

} // namespace
} // namespace orvane
