#include "analysis/hit_rule.h"
#include "analysis/intermod_analysis.h"
#include "analysis/uniform_sum.h"
#include "placement/placement_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
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

// The evaluator's carriers against the analysis of the same plan, carrier by carrier.
void expectAsAnalysed(const Plan& plan, const Evaluator& evaluator, const std::string& where)
{
    IntermodOptions options;
    options.ip3Dbw = plan.ip3Dbw;
    options.guardKhz = plan.guardKhz;
    const IntermodAnalysis analysis = analyseIntermod(listOf(plan.carriers, evaluator), options);
    expectSameScore(evaluator.score(), placementScoreOf(analysis), where);
    for (const CarrierIntermod& analysed : analysis.carriers) {
        // The present carrier at that centre (centres are distinct in these plans).
        for (const int carrier : evaluator.presentByCentre()) {
            if (evaluator.centreMhz(carrier) != analysed.centreFrequencyMhz)
                continue;
            EXPECT_EQ(evaluator.twoToneHits(carrier), analysed.twoToneHits) << where;
            EXPECT_EQ(evaluator.threeToneHits(carrier), analysed.threeToneHits) << where;
            ASSERT_EQ(evaluator.cimDb(carrier).has_value(), analysed.cimDb.has_value()) << where;
            if (analysed.cimDb) {
                EXPECT_NEAR(*evaluator.cimDb(carrier), *analysed.cimDb, 1e-9) << where;
            }
        }
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
        evaluator.insert(carrier, centreMhz);
        expectSameScore(*predicted, evaluator.score(), where + " predicted");
        expectAsAnalysed(plan, evaluator, where);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EvaluatorAgainstAnalysis, ::testing::Range(1u, 21u));

} // namespace
} // namespace orvane::placement
