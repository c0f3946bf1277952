#include "analysis/intermod_analysis.h"
#include "placement/placement_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace orvane::placement {
namespace {

Carrier carrierAt(double centreMhz, double symbolRateKsps, double powerDbw, double rolloff)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, rolloff);
    return carrier;
}

struct Plan {
    std::vector<Carrier> carriers;
    std::optional<double> ip3Dbw;
    double guardKhz = 0.0;
};

// Carriers of mixed widths (some zero-width, some wide) and powers (some without a level) at
// random real-valued centres on a 60 MHz stretch: no product's span comes within a hair of a
// band's edge, so every way of deciding a touch agrees.
Plan randomPlan(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Plan plan;
    const int count = 6 + static_cast<int>(seed % 10);
    for (int i = 0; i < count; ++i) {
        const double draw = unit(random);
        const double symbolRateKsps = draw < 0.08  ? 0.0
                                      : draw < 0.2 ? 9000.0 * unit(random)
                                                   : 300 + 2500 * unit(random);
        const double powerDbw = unit(random) < 0.12 ? -999.0 : 20 * unit(random);
        plan.carriers.push_back(carrierAt(6000 + 60 * unit(random), symbolRateKsps, powerDbw,
                                          0.8 + 0.6 * unit(random)));
    }
    if (seed % 3 != 0)
        plan.ip3Dbw = 30.0 + 10 * unit(random);
    plan.guardKhz = seed % 4 == 1 ? 150.0 : 0.0;
    return plan;
}

CarrierList listOf(const std::vector<Carrier>& carriers, const Evaluator& evaluator)
{
    CarrierList list;
    for (int i = 0; i < static_cast<int>(carriers.size()); ++i) {
        if (!evaluator.isPresent(i))
            continue;
        Carrier carrier = carriers[static_cast<std::size_t>(i)];
        carrier.centreFrequencyMhz = evaluator.centreMhz(i);
        list.append(carrier);
    }
    return list;
}

void expectSameScore(const PlacementScore& got, const PlacementScore& want,
                     const std::string& where)
{
    EXPECT_EQ(got.productsHitting, want.productsHitting) << where;
    EXPECT_EQ(got.hits, want.hits) << where;
    ASSERT_EQ(got.lowestCimDb.has_value(), want.lowestCimDb.has_value()) << where;
    if (want.lowestCimDb) {
        EXPECT_NEAR(*got.lowestCimDb, *want.lowestCimDb, 1e-9) << where;
    }
    ASSERT_EQ(got.secondLowestCimDb.has_value(), want.secondLowestCimDb.has_value()) << where;
    if (want.secondLowestCimDb) {
        EXPECT_NEAR(*got.secondLowestCimDb, *want.secondLowestCimDb, 1e-9) << where;
    }
}

// The evaluator's carriers against the analysis of the same plan: the score, and each
// carrier's hits and C/IM, matched by centre (carriers may share one).
void expectAsAnalysed(const Plan& plan, const Evaluator& evaluator, const std::string& where)
{
    IntermodOptions options;
    options.ip3Dbw = plan.ip3Dbw;
    options.guardKhz = plan.guardKhz;
    const IntermodAnalysis analysis = analyseIntermod(listOf(plan.carriers, evaluator), options);
    expectSameScore(evaluator.score(), placementScoreOf(analysis), where);
    using Figures = std::tuple<double, long long, long long, double>; // C/IM -1 when none
    std::vector<Figures> analysed;
    std::vector<Figures> evaluated;
    for (const CarrierIntermod& c : analysis.carriers)
        analysed.emplace_back(c.centreFrequencyMhz, c.twoToneHits, c.threeToneHits,
                              c.cimDb.value_or(-1));
    for (const int c : evaluator.presentByCentre())
        evaluated.emplace_back(evaluator.centreMhz(c), evaluator.twoToneHits(c),
                               evaluator.threeToneHits(c), evaluator.cimDb(c).value_or(-1));
    std::sort(analysed.begin(), analysed.end());
    std::sort(evaluated.begin(), evaluated.end());
    ASSERT_EQ(evaluated.size(), analysed.size()) << where;
    for (std::size_t i = 0; i < analysed.size(); ++i) {
        const auto& [centreMhz, twoTone, threeTone, cimDb] = analysed[i];
        EXPECT_EQ(std::tie(centreMhz, twoTone, threeTone),
                  std::tie(std::get<0>(evaluated[i]), std::get<1>(evaluated[i]),
                           std::get<2>(evaluated[i])))
            << where;
        EXPECT_NEAR(std::get<3>(evaluated[i]), cimDb, 1e-9) << where;
    }
}

class EvaluatorAgainstAnalysis : public ::testing::TestWithParam<unsigned> {};

// Random moves: each carrier taken out and put back elsewhere, the score the evaluator
// predicts for the move, and the plan it then holds, against the analysis.
TEST_P(EvaluatorAgainstAnalysis, EveryMoveAgrees)
{
    const Plan plan = randomPlan(GetParam());
    const bool levelled = plan.ip3Dbw.has_value();
    Evaluator evaluator(carrierShapes(plan.carriers, plan.ip3Dbw, plan.guardKhz), levelled);
    const int count = static_cast<int>(plan.carriers.size());
    for (int i = 0; i < count; ++i)
        evaluator.insert(i, plan.carriers[static_cast<std::size_t>(i)].centreFrequencyMhz);
    expectAsAnalysed(plan, evaluator, "as built");

    std::mt19937 random(GetParam() * 7919u);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int move = 0; move < 25; ++move) {
        const std::string where = "move " + std::to_string(move);
        const int carrier = static_cast<int>(random() % static_cast<unsigned>(count));
        evaluator.remove(carrier);
        if (move % 5 == 4) {
            expectAsAnalysed(plan, evaluator, where + " with a carrier out");
            const int other = (carrier + 1) % count;
            evaluator.remove(other);
            evaluator.insert(other, 5990 + 80 * unit(random));
        }
        const double centreMhz = 5990 + 80 * unit(random);
        const std::optional<PlacementScore> predicted = evaluator.scoreWith(carrier, centreMhz);
        ASSERT_TRUE(predicted) << where;
        // Weighed against a bar (the score at another centre), the work may stop early, but
        // only when the result is worse than the bar.
        const std::optional<PlacementScore> bar =
            evaluator.scoreWith(carrier, 5990 + 80 * unit(random));
        const std::optional<PlacementScore> barred = evaluator.scoreWith(carrier, centreMhz, &*bar);
        if (barred) {
            expectSameScore(*barred, *predicted, where + " against a bar");
        } else {
            EXPECT_LT(comparePlacementScores(*predicted, *bar, levelled), 0) << where;
        }
        evaluator.insert(carrier, centreMhz);
        expectSameScore(*predicted, evaluator.score(), where + " predicted");
        expectAsAnalysed(plan, evaluator, where);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EvaluatorAgainstAnalysis, ::testing::Range(1u, 21u));

struct RasterCase {
    double baseMhz;
    double rasterMhz;
    double symbolRateKsps;
    double rolloff;
    double guardKhz;
};

class EvaluatorOnRasters : public ::testing::TestWithParam<RasterCase> {};

// Carriers a whole number of raster steps apart on decimal bases, edge to edge or a few
// bands apart, sometimes on one centre, so that many spans touch bands exactly (in decimal):
// every hit is decided by the touch rule, in the evaluator as in the analysis (which the
// analysis's raster tests prove against whole-kilohertz arithmetic), through every move.
TEST_P(EvaluatorOnRasters, TouchingSpansAsTheRuleDecides)
{
    const RasterCase& raster = GetParam();
    std::mt19937 random(static_cast<unsigned>(raster.baseMhz));
    Plan plan{{}, 30.0, raster.guardKhz};
    const auto onTheRaster = [&] {
        return raster.baseMhz + raster.rasterMhz * static_cast<int>(random() % 30);
    };
    for (int i = 0; i < 7; ++i)
        plan.carriers.push_back(carrierAt(onTheRaster(), raster.symbolRateKsps * (1 + i % 2),
                                          i % 3 ? 0.0 : 3.0, raster.rolloff));
    Evaluator evaluator(carrierShapes(plan.carriers, 30.0, raster.guardKhz), true);
    for (std::size_t i = 0; i < plan.carriers.size(); ++i)
        evaluator.insert(static_cast<int>(i), plan.carriers[i].centreFrequencyMhz);
    long long touching = 0;
    for (int move = 0; move < 12; ++move) {
        expectAsAnalysed(plan, evaluator, "move " + std::to_string(move));
        touching += evaluator.score().productsHitting;
        const int carrier = static_cast<int>(random() % plan.carriers.size());
        evaluator.remove(carrier);
        evaluator.insert(carrier, onTheRaster());
    }
    EXPECT_GT(touching, 0);
}

INSTANTIATE_TEST_SUITE_P(Bases, EvaluatorOnRasters,
                         ::testing::Values(RasterCase{14012.7, 1.2, 1200, 1.0, 0},
                                           RasterCase{3702.35, 0.45, 300, 1.5, 0},
                                           RasterCase{11451.1, 0.3, 200, 1.5, 100},
                                           RasterCase{6000.1, 0.1, 100, 1.0, 50}));

} // namespace
} // namespace orvane::placement
