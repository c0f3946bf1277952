#include "amplifier/carrier_waveforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <liquid/liquid.h>
#include <set>
#include <vector>

namespace orvane::amplifier {
namespace {

constexpr double pi = 3.14159265358979323846;

// liquid-dsp designs the root-raised-cosine as a filter in time; its frequency response, at
// the frequencies of ours and scaled to 1 at the centre, must agree. Cut to 2 x 60 symbols
// the filter ripples about the ideal response by some 0.08 / (60 * roll-off) of its peak.
TEST(CarrierWaveforms, RootRaisedCosineIsLiquidDspsFilterResponse)
{
    const unsigned int samplesPerSymbol = 8;
    const unsigned int delaySymbols = 60;
    for (const float rolloff : {0.05f, 0.2f, 0.35f, 1.0f}) {
        const double ripple = 0.1 / (delaySymbols * rolloff);
        std::vector<float> taps(2 * samplesPerSymbol * delaySymbols + 1);
        ASSERT_EQ(liquid_firdes_rrcos(samplesPerSymbol, delaySymbols, rolloff, 0.0f, taps.data()),
                  0);
        const auto response = [&](double frequencyInSymbols) {
            std::complex<double> sum;
            for (std::size_t n = 0; n < taps.size(); ++n)
                sum += static_cast<double>(taps[n]) *
                       std::polar(1.0, -2 * pi * frequencyInSymbols / samplesPerSymbol *
                                           static_cast<double>(n));
            return std::abs(sum);
        };
        const double centre = response(0.0);
        for (double f = -0.75; f <= 0.75; f += 0.0125)
            EXPECT_NEAR(rootRaisedCosine(f, rolloff), response(f) / centre, ripple)
                << "roll-off " << rolloff << " at " << f << " of the symbol rate";
    }
    // Half power at half the symbol rate, whatever the roll-off.
    EXPECT_NEAR(rootRaisedCosine(0.5, 0.35), std::sqrt(0.5), 1e-12);
    EXPECT_EQ(rootRaisedCosine(0.51, 0.0), 0.0);
}

TEST(CarrierWaveforms, AlphabetsHaveTheirSizeAndUnitMeanPower)
{
    const struct {
        int order;
        std::size_t size;
        std::size_t rings; // distinct amplitudes
    } cases[] = {{2, 2, 1},   {4, 4, 1},   {8, 8, 1}, {16, 16, 2},    {32, 32, 3},
                 {64, 64, 9}, {12, 16, 3}, {0, 4, 1}, {1000, 256, 32}};
    for (const auto& c : cases) {
        const std::vector<std::complex<double>> points = constellationFor(c.order);
        ASSERT_EQ(points.size(), c.size) << c.order;
        double power = 0.0;
        std::set<long> amplitudes;
        for (const std::complex<double>& point : points) {
            power += std::norm(point);
            amplitudes.insert(std::lround(std::abs(point) * 1e4));
        }
        EXPECT_NEAR(power / static_cast<double>(points.size()), 1.0, 1e-6) << c.order;
        EXPECT_EQ(amplitudes.size(), c.rings) << c.order;
    }
}

} // namespace
} // namespace orvane::amplifier
