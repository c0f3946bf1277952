#include "model/carrier.h"
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane {
namespace {

// The carrier as one line (ten significant digits): mode and whether the symbol rate was
// given; centre, data rate, overheads, order, FEC, RS n and k, efficiency; symbol rate in
// kSps and MSps, bandwidth, power, roll-off; modcod origin, section and parameters; label.
std::string described(const Carrier& carrier)
{
    std::string text =
        std::string(1, "FCS"[carrier.calcMode]) + formatInteger(carrier.symbolRateGiven) + ":";
    for (const double value :
         {carrier.centreFrequencyMhz, carrier.dataRateKbps, carrier.overheadKbps,
          double(carrier.modulationOrder), carrier.fecRate, carrier.rsN, carrier.rsK,
          carrier.spectralEfficiency, carrier.symbolRateKsps, carrier.symbolRateMsps,
          carrier.occupiedBandwidthMhz, carrier.powerDbw, carrier.rolloffFactor,
          double(carrier.fromModcod), double(carrier.modcodSection), carrier.modcodParamA,
          carrier.modcodParamB})
        text += " " + formatGeneral(value, 10);
    return text + " " + carrier.label;
}

struct BuildCase {
    const char* name;
    std::function<void(Carrier&)> build; // on a carrier labelled "L" that was built before
    std::string carrier;
};

class CarrierBuilding : public ::testing::TestWithParam<BuildCase> {};

TEST_P(CarrierBuilding, DerivesTheRatesAndKeepsTheLabel)
{
    Carrier carrier;
    carrier.label = "L";
    carrier.setFecFromDataRate(5000.0, 64.0, 32.0, 16, 0.8, 204.0, 188.0, 3.0, 1.2);
    carrier.applyModcodFec(16.0, 8, 0.75, 204.0, 188.0, 1.25, 7.9, 1e-6, 1);
    GetParam().build(carrier);
    EXPECT_EQ(described(carrier), GetParam().carrier);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CarrierBuilding,
    ::testing::Values(
        // The kilo-symbol rate alone is rounded, to 1 sps.
        BuildCase{"FixedBandwidth",
                  [](Carrier& c) { c.setFixedBandwidth(6000.0, 1.0, 10.0, 1.35); },
                  "F0: 6000 1000 0 4 0.5 1 1 1 740.741 0.7407407407 1 10 1.35 0 0 10 1e-07 L"},
        BuildCase{"FixedSymbolRate",
                  [](Carrier& c) { c.setFixedSymbolRate(6000.0, 1000.0, 10.0, 1.25); },
                  "F1: 6000 1000 0 4 0.5 1 1 1 1000 1 1.25 10 1.25 0 0 10 1e-07 L"},
        BuildCase{
            "FecFromDataRate",
            [](Carrier& c) {
                c.setFecFromDataRate(6000.5, 2048.0, 16.0, 4, 0.75, 204.0, 188.0, 10.0, 1.35);
            },
            "C0: 6000.5 2048 16 4 0.75 204 188 1.371637027 1493.106383 1.493106383 2.015693617 "
            "10 1.35 0 0 10 1e-07 L"},
        BuildCase{"FecFromSymbolRate",
                  [](Carrier& c) {
                      c.setFecFromSymbolRate(6000.5, 1493.1063, 16.0, 4, 0.75, 204.0, 188.0, 10.0,
                                             1.35);
                  },
                  "C1: 6000.5 2047.999885 16 4 0.75 204 188 1.371637026 1493.1063 1.4931063 "
                  "2.015693505 10 1.35 0 0 10 1e-07 L"},
        // Spectral modes take no overheads and no coding.
        BuildCase{
            "SpectralFromDataRate",
            [](Carrier& c) { c.setSpectralFromDataRate(6100.0, 1000.0, 1.6, 8, 0.6, 12.5, 1.2); },
            "S0: 6100 1000 0 8 0.6 1 1 1.6 625 0.625 0.75 12.5 1.2 0 0 10 1e-07 L"},
        BuildCase{"SpectralFromSymbolRate",
                  [](Carrier& c) {
                      c.setSpectralFromSymbolRate(6100.0, 500.0, 2.25, 8, 0.75, 12.5, 1.25);
                  },
                  "S1: 6100 1125 0 8 0.75 1 1 2.25 500 0.5 0.625 12.5 1.25 0 0 10 1e-07 L"},
        BuildCase{"ResetKeepsOnlyTheLabel", [](Carrier& c) { c.resetToDefaults(); },
                  "C0: 6000 1000 0 4 0.5 1 1 1 1000 1 1.35 20 1.35 0 0 10 1e-07 L"},
        // A modcod entry fills the named fields only: the rates and the place stay.
        BuildCase{
            "ModcodSpectral",
            [](Carrier& c) { c.applyModcodSpectral(2.25, 16, 0.8, 1.2, 6.5, 1e-5, 0); },
            "S0: 5000 64 16 16 0.8 1 1 2.25 32.55319149 0.03255319149 0.03906382979 3 1.2 1 0 6.5 "
            "1e-05 L"},
        // Unsound inputs give numbers, not crashes: no bits per symbol, a zero roll-off.
        BuildCase{
            "OrderOne",
            [](Carrier& c) { c.setFecFromDataRate(6000.0, 1000.0, 0.0, 1, 0.5, 1, 1, 10, 1.35); },
            "C0: 6000 1000 0 1 0.5 1 1 0 inf inf inf 10 1.35 0 0 10 1e-07 L"},
        BuildCase{"ZeroRolloff", [](Carrier& c) { c.setFixedBandwidth(6000.0, 1.0, 10.0, 0.0); },
                  "F0: 6000 1000 0 4 0.5 1 1 1 inf inf 1 10 0 0 0 10 1e-07 L"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Carrier, EdgesFollowBandwidthAndSymbolRate)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(6000.0, 1000.0, 10.0, 1.25);
    EXPECT_EQ(formatGeneral(carrier.lowerEdgeMhz()) + " " + formatGeneral(carrier.upperEdgeMhz()) +
                  " " + formatGeneral(carrier.lowerSymbolEdgeMhz()) + " " +
                  formatGeneral(carrier.upperSymbolEdgeMhz()),
              "5999.375 6000.625 5999.5 6000.5");
}

TEST(CarrierConversions, RolloffPercentBitsPerSymbolAndPowersOfTwo)
{
    EXPECT_DOUBLE_EQ(rolloffFactorFromPercent(35), 1.35);
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(rolloffPercentFromFactor(rolloffFactorFromPercent(percent)), percent);
    for (int bits = 1; bits <= 30; ++bits) {
        EXPECT_EQ(bitsPerSymbol(1 << bits), bits);
        EXPECT_EQ(powerOfTwo(static_cast<unsigned>(bits)), 1u << bits);
    }
}

} // namespace
} // namespace orvane
