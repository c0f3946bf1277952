#include "model/carrier.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane {
namespace {

TEST(Carrier, FixedBandwidthRoundsOnlyTheKiloSymbolRate)
{
    Carrier carrier;
    carrier.setFixedBandwidth(6000.0, 1.0, 10.0, 1.35);
    EXPECT_EQ(carrier.calcMode, calcModeFixed);
    EXPECT_EQ(carrier.symbolRateGiven, 0);
    EXPECT_EQ(carrier.occupiedBandwidthMhz, 1.0);
    EXPECT_DOUBLE_EQ(carrier.symbolRateMsps, 1.0 / 1.35);
    EXPECT_DOUBLE_EQ(carrier.symbolRateKsps, 740.741);
    EXPECT_EQ(carrier.powerDbw, 10.0);
}

TEST(Carrier, FixedSymbolRateGivesTheBandwidth)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(6000.0, 1000.0, 10.0, 1.35);
    EXPECT_EQ(carrier.calcMode, calcModeFixed);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(carrier.symbolRateMsps, 1.0);
    EXPECT_DOUBLE_EQ(carrier.occupiedBandwidthMhz, 1.35);
}

TEST(Carrier, FecFromDataRateAndFromSymbolRateAreInverses)
{
    Carrier byData;
    byData.setFecFromDataRate(6000.5, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 10.0, 1.35);
    EXPECT_EQ(byData.calcMode, calcModeFec);
    EXPECT_EQ(byData.symbolRateGiven, 0);
    EXPECT_NEAR(byData.symbolRateKsps, 1481.5319149, 1e-6);
    EXPECT_NEAR(byData.occupiedBandwidthMhz, 2.0000681, 1e-7);
    EXPECT_NEAR(byData.spectralEfficiency, 1.3823529, 1e-7);
    EXPECT_DOUBLE_EQ(byData.symbolRateMsps, byData.symbolRateKsps * 0.001);

    Carrier bySymbols;
    bySymbols.setFecFromSymbolRate(6000.5, byData.symbolRateKsps, 0.0, 4, 0.75, 204.0, 188.0, 10.0,
                                   1.35);
    EXPECT_EQ(bySymbols.symbolRateGiven, 1);
    EXPECT_NEAR(bySymbols.dataRateKbps, 2048.0, 1e-9);
    EXPECT_DOUBLE_EQ(bySymbols.occupiedBandwidthMhz, byData.occupiedBandwidthMhz);
    EXPECT_NEAR(bySymbols.spectralEfficiency, byData.spectralEfficiency, 1e-12);
}

TEST(Carrier, SpectralModesIgnoreModulationAndClearTheCoding)
{
    Carrier carrier;
    carrier.overheadKbps = 64.0;
    carrier.rsN = 204.0;
    carrier.rsK = 188.0;
    carrier.setSpectralFromDataRate(6100.0, 1000.0, 1.5, 8, 0.666667, 12.5, 1.2);
    EXPECT_EQ(carrier.calcMode, calcModeSpectral);
    EXPECT_DOUBLE_EQ(carrier.symbolRateKsps, 1000.0 / 1.5);
    EXPECT_DOUBLE_EQ(carrier.occupiedBandwidthMhz, 1000.0 / 1.5 * 0.001 * 1.2);
    EXPECT_EQ(carrier.overheadKbps, 0.0);
    EXPECT_EQ(carrier.rsN, 1.0);

    Carrier bySymbols;
    bySymbols.setSpectralFromSymbolRate(6100.0, 500.0, 2.25, 8, 0.75, 12.5, 1.25);
    EXPECT_EQ(bySymbols.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(bySymbols.dataRateKbps, 1125.0);
    EXPECT_DOUBLE_EQ(bySymbols.occupiedBandwidthMhz, 0.625);
}

TEST(Carrier, EveryBuildingOperationAndTheResetKeepTheLabel)
{
    Carrier carrier;
    carrier.label = "TV1\tspare";
    carrier.setFixedSymbolRate(5900.0, 1000.0, 1.0, 1.35);
    carrier.setFecFromSymbolRate(5900.0, 1000.0, 0.0, 4, 0.5, 1.0, 1.0, 1.0, 1.35);
    carrier.setSpectralFromDataRate(5900.0, 1000.0, 1.0, 4, 0.5, 1.0, 1.35);
    carrier.resetToDefaults();
    EXPECT_EQ(carrier.label, "TV1\tspare");
    EXPECT_EQ(carrier.centreFrequencyMhz, 6000.0);
    EXPECT_EQ(carrier.calcMode, calcModeFec);
}

TEST(Carrier, BuildingResetsFieldsItDoesNotSet)
{
    Carrier carrier;
    carrier.applyModcodFec(16.0, 8, 0.75, 204.0, 188.0, 1.25, 7.9, 1e-6, 1);
    carrier.setFixedBandwidth(5900.0, 36.0, -999.0, 1.35);
    EXPECT_EQ(carrier.fromModcod, 0);
    EXPECT_EQ(carrier.modcodSection, 0);
    EXPECT_EQ(carrier.rsN, 1.0);
}

TEST(Carrier, ModcodFillingOverwritesOnlyTheNamedFields)
{
    Carrier carrier;
    carrier.label = "keep";
    carrier.setFecFromDataRate(6100.0, 2048.0, 0.0, 4, 0.5, 1.0, 1.0, 3.0, 1.35);
    const Carrier before = carrier;

    carrier.applyModcodFec(16.0, 8, 0.75, 204.0, 188.0, 1.25, 7.9, 1e-6, 1);
    EXPECT_EQ(carrier.rsN, 204.0);
    EXPECT_EQ(carrier.rolloffFactor, 1.25);
    EXPECT_EQ(carrier.modcodSection, 1);
    EXPECT_EQ(carrier.fromModcod, 1);
    // Nothing is recomputed: the rates and the place stay as they were.
    EXPECT_EQ(carrier.centreFrequencyMhz, before.centreFrequencyMhz);
    EXPECT_EQ(carrier.symbolRateKsps, before.symbolRateKsps);
    EXPECT_EQ(carrier.occupiedBandwidthMhz, before.occupiedBandwidthMhz);
    EXPECT_EQ(carrier.label, "keep");

    carrier.applyModcodSpectral(2.25, 16, 0.8, 1.2, 6.5, 1e-7, 0);
    EXPECT_EQ(carrier.spectralEfficiency, 2.25);
    EXPECT_EQ(carrier.calcMode, calcModeSpectral);
    EXPECT_EQ(carrier.rsN, 1.0);
    EXPECT_EQ(carrier.overheadKbps, 16.0) << "the earlier entry's overheads stay";
    EXPECT_EQ(carrier.symbolRateKsps, before.symbolRateKsps);
}

TEST(Carrier, EdgesFollowBandwidthAndSymbolRate)
{
    const Carrier carrier;
    EXPECT_DOUBLE_EQ(carrier.lowerEdgeMhz(), 5999.325);
    EXPECT_DOUBLE_EQ(carrier.upperEdgeMhz(), 6000.675);
    EXPECT_DOUBLE_EQ(carrier.lowerSymbolEdgeMhz(), 5999.5);
    EXPECT_DOUBLE_EQ(carrier.upperSymbolEdgeMhz(), 6000.5);
}

struct DensityCase {
    double powerDbw;
    double symbolRateKsps;
    double expected;
};

class PowerDensityTest : public ::testing::TestWithParam<DensityCase> {};

TEST_P(PowerDensityTest, SpreadsThePowerOverTheSymbolRate)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(6000.0, GetParam().symbolRateKsps, GetParam().powerDbw, 1.35);
    EXPECT_DOUBLE_EQ(carrier.powerDensityDbw(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PowerDensityTest,
    ::testing::Values(DensityCase{20.0, 1000.0, -10.0},
                      // -999 means no level; just above it is a real (tiny) level.
                      DensityCase{-999.0, 1000.0, -999.0}, DensityCase{-998.5, 1000.0, -1028.5},
                      DensityCase{-1200.0, 1000.0, -1200.0},
                      // A carrier without a positive symbol rate has no density, never -inf.
                      DensityCase{20.0, 0.0, -999.0}, DensityCase{20.0, -5.0, -999.0},
                      DensityCase{0.0, 10.0, -10.0}));

TEST(CarrierConversions, RolloffPercentSurvivesTheRoundTrip)
{
    EXPECT_DOUBLE_EQ(rolloffFactorFromPercent(35), 1.35);
    EXPECT_EQ(rolloffPercentFromFactor(1.2), 20);
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(rolloffPercentFromFactor(rolloffFactorFromPercent(percent)), percent);
}

TEST(CarrierConversions, BitsPerSymbolAndPowerOfTwo)
{
    const int orders[] = {2, 4, 8, 16, 32, 64};
    for (int bits = 1; bits <= 6; ++bits) {
        EXPECT_EQ(bitsPerSymbol(orders[bits - 1]), bits);
        EXPECT_EQ(powerOfTwo(static_cast<unsigned>(bits)), static_cast<unsigned>(orders[bits - 1]));
    }
    EXPECT_EQ(bitsPerSymbol(-4), 0);
    EXPECT_EQ(bitsPerSymbol(6), 3) << "ln 6 / ln 2 = 2.58 rounds to 3";
    EXPECT_EQ(bitsPerSymbol(2147483647), 31);
    EXPECT_EQ(powerOfTwo(31), 2147483648u);
    EXPECT_EQ(powerOfTwo(32), 0u) << "doubling past the unsigned range wraps to 0";
}

TEST(Carrier, UnsoundInputsGiveNumbersNotCrashes)
{
    Carrier carrier;
    carrier.setFecFromDataRate(6000.0, 1000.0, 0.0, 1, 0.5, 1.0, 1.0, 10.0, 1.35);
    EXPECT_TRUE(std::isinf(carrier.symbolRateKsps));
    carrier.setFixedBandwidth(6000.0, 1.0, 10.0, 0.0);
    EXPECT_TRUE(std::isinf(carrier.symbolRateMsps));
    carrier.setFixedBandwidth(6000.0, 0.0, 10.0, 1.35);
    EXPECT_EQ(carrier.powerDensityDbw(), -999.0);
}

} // namespace
} // namespace orvane
