#include "analysis/hit_rule.h"
#include "analysis/intermod_analysis.h"
#include "analysis/intermod_products.h"
#include "analysis/uniform_sum.h"
#include "support/c_locale_printf.h"
#include "support/plans.h"
#include "support/test_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, double symbolRateKsps, double powerDbw, double rolloff = 1.0)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, rolloff);
    return carrier;
}

// Ten significant digits, or all seventeen when exact.
std::string shown(const std::optional<double>& value, bool exact)
{
    return value ? test::printfInCLocale(exact ? "%.17g" : "%.10g", *value) : "-";
}

// The analysis in lines: its totals (or its refusal) and whether its lowest C/IM is complete,
// then each carrier (its F-number, centre, two-tone and
// three-tone hits, power of the products in its band, C/IM, the strongest product's label,
// frequency and power, and whether its C/IM is complete: y, n or ? without an intercept
// point), then the density bins.
std::string described(const IntermodAnalysis& analysis, bool exact = false)
{
    if (analysis.refusal)
        return "refused: " + *analysis.refusal + "\n";
    const auto yesNo = [](const std::optional<bool>& value) {
        return value ? (*value ? "y" : "n") : "?";
    };
    std::string text = "products " + std::to_string(analysis.products) + " hitting " +
                       std::to_string(analysis.productsHitting) + " worst F" +
                       (analysis.worstCarrier ? std::to_string(*analysis.worstCarrier) : "-") +
                       " C/IM " + shown(analysis.minCimDb, exact) + " " +
                       yesNo(analysis.minCimComplete) + "\n";
    for (const CarrierIntermod& c : analysis.carriers) {
        text += "  F" + std::to_string(c.fNumber) + " " + shown(c.centreFrequencyMhz, exact) + " " +
                std::to_string(c.twoToneHits) + "/" + std::to_string(c.threeToneHits) + " " +
                shown(c.imPowerDbw, exact) + " " + shown(c.cimDb, exact) + " " +
                (c.strongest ? c.strongest->label + " " + shown(c.strongest->frequencyMhz, exact) +
                                   " " + shown(c.strongest->powerDbw, exact)
                             : "-") +
                " " + yesNo(c.complete) + "\n";
    }
    if (!analysis.density.binDbwPerKhz.empty()) {
        text += "  density";
        for (const std::optional<double>& bin : analysis.density.binDbwPerKhz)
            text += " " + shown(bin, exact);
        text += "\n";
    }
    return text;
}

struct Case {
    const char* name;
    std::vector<Carrier> carriers;
    std::optional<double> ip3Dbw = 40.0;
    double guardKhz = 0.0;
    std::optional<DensityRange> density = std::nullopt;
};

const Case cases[] = {
    {"Three carriers 10 MHz apart",
     {carrierAt(6020, 1000, 20, 1.35), carrierAt(6000, 1000, 20, 1.35),
      carrierAt(6010, 1000, 20, 1.35)}},
    // 2*F1-F2 at 5998 spans 5996.5..5999.5 and F1's band starts at 5999.5: touching only.
    {"Touching", {carrierAt(6000, 1000, 20), carrierAt(6002, 1000, 20)}},
    // One kHz of guard makes the touch an overlap; the symbol bands still get no power.
    {"Guard", {carrierAt(6000, 1000, 20), carrierAt(6002, 1000, 20)}, 40.0, 1.0},
    // F2 is a spectral line: 2*F2-F3 is then as narrow as F3 and lands wholly in F1's band
    // (C/IM 20 + 20 dB); F1-F2+F3 hits F2 but puts no power into a band of no width.
    {"Zero symbol rate",
     {carrierAt(6000, 1000, 20), carrierAt(6010, 0, 20), carrierAt(6020, 1000, 20)}},
    // F3 without a level (-998 dBW is none yet): products with F3 in them hit unrated; F3
    // itself gets a rated product but has no C/IM.
    {"Unrated factor",
     {carrierAt(6000, 1000, 20, 1.35), carrierAt(6010, 1000, 20, 1.35),
      carrierAt(6020, 1000, -998, 1.35)}},
    // Coincident carriers: both products land on both of their own factors; the two equal
    // products tie for strongest and the first of them is named.
    {"Own factors", {carrierAt(6000, 1000, 20, 1.35), carrierAt(6000, 1000, 20, 1.35)}},
    // F1's band takes a weak product near its centre (F2+F4-F5 at 6000.25) and a strong one
    // further out (2*F3-F5 at 6003): the strong one is named, though under 0.1 W.
    {"Strongest is not the nearest",
     {carrierAt(6000, 10000, 20), carrierAt(6200.25, 1000, 0), carrierAt(6400, 1000, 0),
      carrierAt(6301.5, 1000, 30), carrierAt(6600, 1000, 30)},
     60.0},
    {"Hits only without an intercept point",
     {carrierAt(6000, 1000, 20, 1.35), carrierAt(6010, 1000, 20, 1.35),
      carrierAt(6020, 1000, 20, 1.35)},
     std::nullopt},
    {"One carrier", {carrierAt(6000, 1000, 20)}},
    {"Empty plan", {}},
    // 2*F1-F2 of two zero-width lines is a line at 5990 MHz, -20 dBW, all of it in the 1 MHz
    // bin from 5989.5 to 5990.5: -50 dBW per kHz. 2*F2-F1 at 6020 is outside the range.
    {"Density of two lines",
     {carrierAt(6000, 0, 20), carrierAt(6010, 0, 20)},
     40.0,
     0.0,
     DensityRange{6000.5, 5980.5, 20}},
    // Bins of 20 kHz: the same line gives -33.0103 dBW per kHz in the first.
    {"Density in narrow bins",
     {carrierAt(6000, 0, 20), carrierAt(6010, 0, 20)},
     40.0,
     0.0,
     DensityRange{5989.99, 5990.03, 2}},
    // Every value given stays finite.
    {"Extreme levels",
     {carrierAt(6000, 1000, 1e12), carrierAt(6000, 1000, -1e12), carrierAt(1e12, 1e12, 20)},
     -1000},
    // F1 and F2 rated, F3 without a level: F1 and F2 are each hit by an unrated product, so the
    // lowest C/IM may lie lower still.
    {"Lowest C/IM an upper bound",
     {carrierAt(6000, 1000, 20, 1.35), carrierAt(6010, 1000, 20, 1.35),
      carrierAt(6020, 1000, -999, 1.35), carrierAt(6005, 1000, 20, 1.35)}},
    // The first case beside a carrier 4980 dB stronger: relative powers underflow doubles.
    {"Far below the strongest",
     {carrierAt(6000, 1000, 20, 1.35), carrierAt(6010, 1000, 20, 1.35),
      carrierAt(6020, 1000, 20, 1.35), carrierAt(9000, 1000, 5000)}},
};

TEST(IntermodAnalysis, HandCheckedPlans)
{
    std::string text;
    for (const Case& c : cases) {
        IntermodOptions options;
        options.ip3Dbw = c.ip3Dbw;
        options.guardKhz = c.guardKhz;
        options.density = c.density;
        text +=
            std::string(c.name) + "\n" + described(analyseIntermod(planOf(c.carriers), options));
    }
    test::expectGolden(text, "analysis/hand_checked.txt");
}

// The same figures straight from the report's product list, product by product.
IntermodAnalysis bruteForce(const CarrierList& plan, const IntermodOptions& options,
                            std::vector<std::vector<std::string>>* strongestLabels = nullptr)
{
    CarrierList sorted = plan;
    sorted.sortByFrequency();
    std::vector<double> centres(static_cast<std::size_t>(sorted.count()));
    for (int i = 0; i < sorted.count(); ++i)
        centres[static_cast<std::size_t>(i)] = sorted[i].centreFrequencyMhz;
    IntermodAnalysis analysis;
    analysis.carriers.resize(centres.size());
    struct Sums {
        double power = 0;
        double strongest = 0;
        std::vector<std::string> strongestLabels; // every product of the strongest power
        double nearestMhz = std::numeric_limits<double>::infinity();
    };
    std::vector<Sums> sums(centres.size());
    const double guardMhz = options.guardKhz / 1000;
    const DensityRange range = options.density.value_or(DensityRange{});
    const double lowMhz = std::min(range.fromMhz, range.toMhz);
    const double binMhz = std::fabs(range.toMhz - range.fromMhz) / range.binCount;
    std::vector<double> binPower(static_cast<std::size_t>(range.binCount));
    const auto rated = [&](int f) { return sorted[f - 1].powerDbw > -998; };
    for (const CompactIntermodProduct& product : computeCompactIntermodProducts(centres)) {
        const bool twoTone = product.form == IntermodForm::twiceFirstLessSecond;
        const int first = product.first;
        const int second = twoTone ? product.first : product.second;
        const int third = twoTone ? product.second : product.third;
        const Carrier* factors[3] = {&sorted[first - 1], &sorted[second - 1], &sorted[third - 1]};
        double span = 0;
        for (const Carrier* factor : factors)
            span += factor->occupiedBandwidthMhz;
        const bool isRated = options.ip3Dbw && rated(first) && rated(second) && rated(third);
        double levelDbw = 0;
        for (const Carrier* factor : factors)
            levelDbw += factor->powerDbw;
        levelDbw += (twoTone ? 0 : 20 * std::log10(2.0)) - 2 * options.ip3Dbw.value_or(0);
        const double p = product.frequencyMhz;
        const double level = std::pow(10, levelDbw / 10);
        const UniformSum shape(factors[0]->symbolRateMsps, factors[1]->symbolRateMsps,
                               factors[2]->symbolRateMsps);
        const auto share = [&](double fromMhz, double toMhz) {
            return level * shape.share(fromMhz - p, toMhz - p);
        };
        for (std::size_t bin = 0; isRated && bin < binPower.size(); ++bin)
            binPower[bin] += share(lowMhz + bin * binMhz, lowMhz + (bin + 1) * binMhz);
        bool hitAny = false;
        for (std::size_t v = 0; v < centres.size(); ++v) {
            const Carrier& victim = sorted[static_cast<int>(v)];
            if (spanHitsBand(p - span / 2, p + span / 2, victim.lowerEdgeMhz() - guardMhz,
                             victim.upperEdgeMhz() + guardMhz)) {
                hitAny = true;
                ++(twoTone ? analysis.carriers[v].twoToneHits : analysis.carriers[v].threeToneHits);
                const double centreMhz = victim.centreFrequencyMhz;
                if (std::fabs(p - centreMhz) < std::fabs(sums[v].nearestMhz - centreMhz))
                    sums[v].nearestMhz = p;
            }
            if (isRated) {
                const double inBand =
                    share(victim.lowerSymbolEdgeMhz(), victim.upperSymbolEdgeMhz());
                sums[v].power += inBand;
                if (inBand > 0 && std::fabs(inBand - sums[v].strongest) <= 1e-12 * inBand)
                    sums[v].strongestLabels.push_back(intermodLabel(product));
                if (inBand > sums[v].strongest * (1 + 1e-12)) {
                    sums[v].strongestLabels = {intermodLabel(product)};
                    sums[v].strongest = inBand;
                    analysis.carriers[v].strongest =
                        StrongestProduct{intermodLabel(product), p, inBand};
                }
            }
        }
        analysis.productsHitting += hitAny;
    }
    for (std::size_t v = 0; v < centres.size(); ++v) {
        if (strongestLabels)
            strongestLabels->push_back(sums[v].strongestLabels);
        if (sums[v].power > 0)
            analysis.carriers[v].imPowerDbw = 10 * std::log10(sums[v].power);
        // Without power in the band, the hitting product nearest the centre.
        if (!analysis.carriers[v].strongest && std::isfinite(sums[v].nearestMhz))
            analysis.carriers[v].strongest = StrongestProduct{"", sums[v].nearestMhz, {}};
    }
    for (const double power : binPower)
        analysis.density.binDbwPerKhz.push_back(
            power > 0 ? std::optional(10 * std::log10(power / (binMhz * 1000))) : std::nullopt);
    return analysis;
}

// Seeds from 200 on: a decimal raster of a few kinds of carrier (some without a level) with
// gaps, whose products coincide in their hundreds.
CarrierList rasterPlan(unsigned seed)
{
    std::mt19937 random(seed);
    CarrierList plan;
    const double kinds[3][2] = {{1000, 20}, {2000, 14}, {1000, -999}}; // kSps, dBW
    for (int slot = 0; slot < 90; ++slot) {
        if (random() % 5 == 0)
            continue;
        const double* kind = kinds[random() % 3];
        plan.append(carrierAt(14012.7 + 1.35 * slot, kind[0], kind[1], 1.35));
    }
    return plan;
}

CarrierList randomPlan(unsigned seed)
{
    if (seed >= 200)
        return rasterPlan(seed);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    CarrierList plan;
    // Seeds from 100 on give plans of more than 64 carriers: several first factors to a chunk.
    const int count =
        seed < 100 ? 8 + static_cast<int>(seed % 9) : 60 + static_cast<int>(seed % 40);
    for (int i = 0; i < count; ++i) {
        // Mostly narrow carriers on a 50 MHz stretch, with the odd wide, zero-width or
        // unrated one among them.
        const double draw = unit(random);
        const double symbolRateKsps = draw < 0.1   ? 0.0
                                      : draw < 0.2 ? 8000.0 * unit(random)
                                                   : 200 + 1500 * unit(random);
        const double powerDbw = unit(random) < 0.15 ? -999.0 : 5 + 20 * unit(random);
        plan.append(carrierAt(6000 + 50 * unit(random), symbolRateKsps, powerDbw,
                              1.0 + 0.4 * unit(random)));
    }
    return plan;
}

class SweepAgainstBruteForce : public ::testing::TestWithParam<unsigned> {};

TEST_P(SweepAgainstBruteForce, SameHitsPowersAndStrongestOnEveryThreadCount)
{
    const CarrierList plan = randomPlan(GetParam());
    IntermodOptions options;
    options.ip3Dbw = GetParam() % 4 == 0 ? std::nullopt : std::optional<double>(0.0);
    options.guardKhz = 100.0 * (GetParam() % 3);
    // Mirrored: the bins still run upward.
    options.density =
        GetParam() >= 200 ? DensityRange{14140, 14000, 53} : DensityRange{6060, 5990, 37};
    options.threadCount = 1;
    const IntermodAnalysis single = analyseIntermod(plan, options);
    options.threadCount = 2;
    const IntermodAnalysis two = analyseIntermod(plan, options);
    options.threadCount = 3;
    const IntermodAnalysis several = analyseIntermod(plan, options);
    std::vector<std::vector<std::string>> strongestLabels;
    const IntermodAnalysis expected = bruteForce(plan, options, &strongestLabels);

    EXPECT_EQ(single.productsHitting, expected.productsHitting);
    for (std::size_t v = 0; v < expected.carriers.size(); ++v) {
        const CarrierIntermod& got = single.carriers[v];
        const CarrierIntermod& want = expected.carriers[v];
        SCOPED_TRACE("F" + std::to_string(v + 1));
        EXPECT_EQ(got.twoToneHits, want.twoToneHits);
        EXPECT_EQ(got.threeToneHits, want.threeToneHits);
        ASSERT_EQ(got.imPowerDbw.has_value(), want.imPowerDbw.has_value());
        if (want.imPowerDbw) {
            EXPECT_NEAR(*got.imPowerDbw, *want.imPowerDbw, 1e-9);
            // Products often tie, so the strongest is one of those of the strongest power.
            EXPECT_NEAR(*got.strongest->powerDbw, 10 * std::log10(*want.strongest->powerDbw), 1e-9);
            EXPECT_THAT(strongestLabels[v], ::testing::Contains(got.strongest->label));
        } else {
            ASSERT_EQ(got.strongest.has_value(), want.strongest.has_value());
            const auto distance = [&](const std::optional<StrongestProduct>& product) {
                return std::fabs(product->frequencyMhz - got.centreFrequencyMhz);
            };
            if (want.strongest) {
                EXPECT_EQ(distance(got.strongest), distance(want.strongest));
            }
        }
    }
    // Splitting the work differently changes nothing, to the last bit.
    EXPECT_EQ(described(single, true), described(two, true));
    EXPECT_EQ(described(single, true), described(several, true));
    const auto& bins = expected.density.binDbwPerKhz;
    ASSERT_EQ(single.density.binDbwPerKhz.size(), bins.size());
    for (std::size_t bin = 0; bin < bins.size(); ++bin) {
        const std::optional<double>& got = single.density.binDbwPerKhz[bin];
        ASSERT_EQ(got.has_value(), bins[bin].has_value()) << "bin " << bin;
        EXPECT_NEAR(got.value_or(0), bins[bin].value_or(0), 1e-6) << "bin " << bin;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SweepAgainstBruteForce,
                         ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 107u,
                                           133u, 201u));

// A cancelled analysis is the allocation tests' part.
TEST(IntermodAnalysis, ProgressEndsAtTheWhole)
{
    double lastShare = 0.0;
    IntermodOptions options;
    options.progress = [&](double share) { lastShare = share; };
    EXPECT_FALSE(analyseIntermod(randomPlan(5), options).cancelled);
    EXPECT_DOUBLE_EQ(lastShare, 1.0);
}

} // namespace
} // namespace orvane
