#include "analysis/intermod_analysis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

// Plans on a decimal raster, where many products exactly touch a band, against hit counts
// worked out in whole kilohertz: there a product hits when its span overlaps the widened band
// by at least 1 kHz, and touches (overlap 0) otherwise.
namespace orvane {
namespace {

// A carrier given in whole kHz, built in one of the three modes so that its occupied band is
// the given width: the width comes out of each mode's own arithmetic (roll-off 1.2).
struct RasterCarrier {
    long long centreKhz;
    long long widthKhz; // a multiple of 6 kHz: the symbol rate is widthKhz / 1.2
    int mode;
};

Carrier built(const RasterCarrier& raster, double powerDbw)
{
    const double centreMhz = static_cast<double>(raster.centreKhz) / 1000.0;
    const double symbolKsps = static_cast<double>(raster.widthKhz) / 1.2;
    Carrier carrier;
    switch (raster.mode) {
    case calcModeFixed:
        carrier.setFixedBandwidth(centreMhz, static_cast<double>(raster.widthKhz) / 1000.0,
                                  powerDbw, 1.2);
        break;
    case calcModeFec: // QPSK 1/2: the data rate equals the symbol rate
        carrier.setFecFromDataRate(centreMhz, symbolKsps, 0.0, 4, 0.5, 1.0, 1.0, powerDbw, 1.2);
        break;
    default: // 1.5 bps/Hz
        carrier.setSpectralFromDataRate(centreMhz, 1.5 * symbolKsps, 1.5, 4, 0.5, powerDbw, 1.2);
        break;
    }
    return carrier;
}

// Two-carrier and three-carrier hits per carrier, by whole-kHz arithmetic; carriers in
// ascending centre.
std::vector<long long> exactHits(const std::vector<RasterCarrier>& plan, long long guardKhz)
{
    const std::size_t n = plan.size();
    std::vector<long long> hits(n, 0);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a; b < n; ++b) {
            for (std::size_t c = 0; c < n; ++c) {
                if (c == a || c == b)
                    continue;
                const long long product = plan[a].centreKhz + plan[b].centreKhz - plan[c].centreKhz;
                const long long span = plan[a].widthKhz + plan[b].widthKhz + plan[c].widthKhz;
                for (std::size_t v = 0; v < n; ++v) {
                    if (2 * std::llabs(product - plan[v].centreKhz) <
                        span + plan[v].widthKhz + 2 * guardKhz)
                        ++hits[v];
                }
            }
        }
    }
    return hits;
}

std::vector<long long> analysedHits(const std::vector<RasterCarrier>& raster, double guardKhz,
                                    int threadCount = 0)
{
    CarrierList plan;
    for (const RasterCarrier& carrier : raster)
        plan.append(built(carrier, 10.0));
    IntermodOptions options;
    options.ip3Dbw = 30.0;
    options.guardKhz = guardKhz;
    options.threadCount = threadCount;
    std::vector<long long> hits;
    for (const CarrierIntermod& carrier : analyseIntermod(plan, options).carriers)
        hits.push_back(carrier.twoToneHits + carrier.threeToneHits);
    return hits;
}

TEST(IntermodRaster, FiveCarriersEdgeToEdgeOnADecimalBase)
{
    std::vector<RasterCarrier> plan;
    for (int i = 0; i < 5; ++i)
        plan.push_back({14012700 + 1200 * i, 1200, calcModeFixed});
    EXPECT_EQ(exactHits(plan, 0), (std::vector<long long>{15, 15, 16, 15, 15}));
    EXPECT_EQ(analysedHits(plan, 0), exactHits(plan, 0));
}

struct Raster {
    long long baseKhz;
    long long widthKhz;
    long long stepKhz; // a whole number of widths: edge to edge, or bands apart
    long long guardKhz;
};

class IntermodRasters : public ::testing::TestWithParam<Raster> {};

TEST_P(IntermodRasters, HitsAsInWholeKilohertzInEveryMode)
{
    const Raster raster = GetParam();
    for (int mode : {calcModeFixed, calcModeFec, calcModeSpectral}) {
        std::vector<RasterCarrier> plan;
        for (int i = 0; i < 9; ++i)
            plan.push_back({raster.baseKhz + raster.stepKhz * i, raster.widthKhz, mode});
        SCOPED_TRACE("mode " + std::to_string(mode));
        EXPECT_EQ(analysedHits(plan, static_cast<double>(raster.guardKhz)),
                  exactHits(plan, raster.guardKhz));
    }
}

INSTANTIATE_TEST_SUITE_P(
    DecimalBases, IntermodRasters,
    ::testing::Values(Raster{14012700, 1200, 1200, 0}, Raster{3702100, 2400, 4800, 0},
                      Raster{6123456, 1800, 1800, 300}, Raster{12345678, 600, 1800, 600},
                      Raster{2200100, 7200, 7200, 3600}, Raster{17300900, 4800, 9600, 2400}));

// Random decimal rasters: carriers of mixed widths (multiples of 6 kHz) in mixed modes, each
// on a whole multiple of a decimal step from a decimal base, so that sums of centres and half
// widths meet band edges exactly in decimal.
TEST(IntermodRaster, RandomDecimalRasters)
{
    std::mt19937 random(2024);
    for (int trial = 0; trial < 40; ++trial) {
        const long long baseKhz = 1000000 + static_cast<long long>(random() % 20000000);
        const long long stepKhz = 6 * (1 + static_cast<long long>(random() % 400));
        std::vector<RasterCarrier> plan; // about half of 16 raster places taken
        for (long long slot = 0; slot < 16; ++slot) {
            if (random() % 2 == 0)
                continue;
            const long long widthKhz = stepKhz * (1 + static_cast<long long>(random() % 3));
            plan.push_back({baseKhz + slot * stepKhz, widthKhz, static_cast<int>(random() % 3)});
        }
        const long long guardKhz = (random() % 2) * stepKhz / 2;
        SCOPED_TRACE("trial " + std::to_string(trial));
        EXPECT_EQ(analysedHits(plan, static_cast<double>(guardKhz), 1 + trial % 2),
                  exactHits(plan, guardKhz));
    }
}

} // namespace
} // namespace orvane
