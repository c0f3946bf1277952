#include "budget/budget_summary.h"
#include "budget/decibel_sum.h"
#include "budget/transponder_budget.h"
#include "support/plans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

const CarrierList twoCarriers = budgetExample();
const std::nullopt_t none = std::nullopt;

// 36 MHz, Psat 20 dBW, C/N0(sat) 95 dB-Hz, two QPSK 3/4 carriers of 10 dBW, 5 MSps, 6 MHz, worked
// by hand: total 10 + 10·log10(2) = 13.0103 dBW; C/N0 95 - 10 = 85 dB-Hz; Es/N0
// 85 - 10·log10(5e6) = 18.0103 dB; DVB-S2 QPSK 3/4 needs 4.03 dB.
TEST(TransponderBudget, WorkedExample)
{
    const TransponderBudget budget = computeTransponderBudget(twoCarriers, {36, 20, none, 95}, {});
    EXPECT_NEAR(*budget.outputBackoffDb, 6.9897, 1e-4);
    EXPECT_NEAR(*budget.availablePowerDbw, 13.0103, 1e-4);
    for (const CarrierBudget& carrier : budget.carriers) {
        EXPECT_NEAR(*carrier.powerSharePct, 50.0, 1e-9);
        EXPECT_NEAR(*carrier.bandwidthSharePct, 16.6667, 1e-4);
        EXPECT_NEAR(*carrier.pebMhz, 18.0, 1e-9);
        EXPECT_TRUE(*carrier.powerLimited);
        EXPECT_NEAR(*carrier.esN0Db, 18.0103, 1e-4);
        EXPECT_NEAR(*carrier.cnimDb, 18.0103, 1e-4);
        EXPECT_NEAR(*carrier.marginDb, 18.0103 - 4.03, 1e-4);
    }
    EXPECT_EQ(budget.carriers[0].centreFrequencyMhz, 5990.0) << "F-numbers follow frequency";
    EXPECT_EQ(budgetSummaryText(budget), "power 100 % \u00b7 bandwidth 33 % \u00b7 power-limited "
                                         "\u00b7 worst margin 14.0 dB at F1");
}

TEST(TransponderBudget, ImpairmentsCombineAsPowers)
{
    // The textbook case: 10^-2.3 + 10^-2 + 10^-2.4 = 0.018993, i.e. 17.21 dB.
    EXPECT_NEAR(*combinedRatioDb({23, 20, 24}), 17.2, 0.05);
    // Terms 10^6 dB apart stay finite: the weaker one vanishes, nothing overflows.
    EXPECT_DOUBLE_EQ(*combinedRatioDb({-1e6, 1e6}), -1e6);
    EXPECT_DOUBLE_EQ(*powerSumDb({1e6, -1e6}), 1e6);
    // A C/IM equal to Es/N0 takes 3.0103 dB off it; one 20 dB above it, 0.0432 dB.
    const TransponderBudget budget = computeTransponderBudget(twoCarriers, {36, 20, none, 95},
                                                              {{18.0103, true}, {38.0103, false}});
    EXPECT_NEAR(*budget.carriers[0].cnimDb, 15.0000, 1e-4);
    EXPECT_NEAR(*budget.carriers[1].cnimDb, 18.0103 - 0.0432, 1e-4);
    EXPECT_TRUE(budget.carriers[1].upperBound && !budget.carriers[0].upperBound);
}

TEST(TransponderBudget, FiguresNeedTheirInputs)
{
    // No input and a view of no width: no bandwidth and no C/N; the operating point is the
    // carriers' own total, so power shares stand.
    CarrierList plan = twoCarriers;
    TransponderBudget budget = computeTransponderBudget(plan, {}, {});
    const CarrierBudget& first = budget.carriers[0];
    EXPECT_NEAR(*first.powerSharePct, 50.0, 1e-9);
    EXPECT_FALSE(budget.transponderBandwidthMhz || budget.outputBackoffDb || budget.limitedBy ||
                 first.bandwidthSharePct || first.powerLimited || first.esN0Db || first.marginDb);
    // W from the view range, a W given instead, and a bad W given: none, not the view's.
    plan.viewStartMhz = 6018;
    plan.viewStopMhz = 5982;
    EXPECT_DOUBLE_EQ(*computeTransponderBudget(plan, {}, {}).transponderBandwidthMhz, 36.0);
    budget = computeTransponderBudget(plan, {72, none, none, none}, {});
    EXPECT_DOUBLE_EQ(*budget.carriers[0].bandwidthSharePct, 100.0 / 12);
    EXPECT_FALSE(computeTransponderBudget(plan, {0, none, none, none}, {}).transponderBandwidthMhz);
    // A back-off and C/N0(sat) without Psat: no available power and no C/N.
    budget = computeTransponderBudget(plan, {none, none, 3.0, 95}, {});
    EXPECT_FALSE(budget.carriers[0].powerSharePct || budget.powerUsedPct ||
                 budget.carriers[0].cn0DbHz);
}

TEST(TransponderBudget, BackOffGivenOrOverDriven)
{
    // 3 dB below 20 dBW leaves 17 dBW: each 10 dBW carrier is 10^-0.7 = 19.953 % of it, and on
    // a 12 MHz transponder the two 6 MHz carriers use all the bandwidth.
    TransponderBudget budget = computeTransponderBudget(twoCarriers, {12, 20, 3, none}, {});
    EXPECT_NEAR(*budget.carriers[0].pebMhz, 12 * 0.199526, 1e-5);
    EXPECT_FALSE(*budget.carriers[0].powerLimited);
    EXPECT_NEAR(*budget.powerUsedPct, 39.9052, 1e-4);
    EXPECT_EQ(budget.limitedBy, BudgetLimit::bandwidth);
    // Psat 10 dBW against 13.0103 dBW of carriers: over-driven by 3.0103 dB.
    budget = computeTransponderBudget(twoCarriers, {36, 10, none, 95}, {});
    EXPECT_TRUE(*budget.overDriven);
    EXPECT_NEAR(*budget.carriers[0].cn0DbHz, 95.0, 1e-9);
    EXPECT_NE(budgetSummaryText(budget).find("over-driven by 3.0 dB"), std::string::npos);
    EXPECT_TRUE(*computeTransponderBudget(twoCarriers, {36, 20, -1, 95}, {}).overDriven);
    EXPECT_FALSE(*computeTransponderBudget(twoCarriers, {36, 20, 0, 95}, {}).overDriven);
    // All the power and all the bandwidth used: neither runs out first.
    EXPECT_FALSE(computeTransponderBudget(twoCarriers, {12, 20, none, none}, {}).limitedBy);
}

TEST(TransponderBudget, CarriersWithoutLevelOrSymbolRateLackTheirFigures)
{
    // A spectral line and a fixed carrier of 10 dBW, and a carrier at -998 dBW: no level.
    Carrier line;
    line.setFixedSymbolRate(5980, 0.0, 10.0, 1.35);
    Carrier fixed;
    fixed.setFixedSymbolRate(6030, 1000.0, 10.0, 1.35);
    const TransponderBudget budget = computeTransponderBudget(
        planOf({qpskThreeQuarters(5990, 10), qpskThreeQuarters(6010, -998.0), line, fixed}),
        {36, 20, none, 95}, {{30.0, true}, {30.0, true}, {30.0, true}, {30.0, true}});
    const CarrierBudget& lineRow = budget.carriers[0];
    EXPECT_NEAR(*lineRow.powerSharePct, 100.0 / 3, 1e-9);
    EXPECT_TRUE(lineRow.cn0DbHz && !lineRow.esN0Db && !lineRow.cnimDb && !lineRow.marginDb);
    EXPECT_TRUE(budget.carriers[3].cnimDb && !budget.carriers[3].marginDb) << "no modcod";
    const CarrierBudget& unlevelled = budget.carriers[2];
    EXPECT_FALSE(unlevelled.powerSharePct || unlevelled.bandwidthSharePct || unlevelled.cn0DbHz ||
                 unlevelled.marginDb);
    EXPECT_DOUBLE_EQ(*unlevelled.requiredEsN0Db, 4.03);
    EXPECT_NEAR(*budget.bandwidthUsedPct, (6 + 1.35) / 0.36, 1e-9) << "only those with a level";
    EXPECT_EQ(budget.worstMarginCarrier, 2);
}

TEST(TransponderBudget, EveryFigureIsFiniteForExtremeInputs)
{
    const double huge = 1e12;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Carrier wide;
    wide.setFixedSymbolRate(6000, huge, huge, 1.35);
    const CarrierList plan = planOf({wide, qpskThreeQuarters(6000, -huge)});
    for (const BudgetInputs& given : std::vector<BudgetInputs>{
             {1e-12, -huge, huge, huge}, {huge, huge, -huge, -huge}, {36, nan, nan, nan}}) {
        const TransponderBudget budget =
            computeTransponderBudget(plan, given, {{nan, true}, {-huge, false}});
        std::vector<std::optional<double>> figures = {budget.outputBackoffDb, budget.powerUsedPct,
                                                      budget.bandwidthUsedPct, budget.minMarginDb};
        for (const CarrierBudget& c : budget.carriers)
            figures.insert(figures.end(), {c.powerSharePct, c.bandwidthSharePct, c.pebMhz, c.esN0Db,
                                           c.cimDb, c.cnimDb, c.marginDb});
        for (const std::optional<double>& figure : figures)
            EXPECT_TRUE(!figure || std::isfinite(*figure));
    }
}

TEST(TransponderBudget, TakesCimFromTheAnalysisInItsOrder)
{
    // Three 1000 kSps carriers of 20 dBW 10 MHz apart, out of order, IP3 40 dBW: the analysis
    // gives F2 (6010 MHz) 35.7403 dB. Psat 20 + 10·log10(3) and C/N0(sat) 100: Es/N0
    // 100 - 4.7712 - 60 = 35.2288 dB, with the C/IM 32.4667 dB.
    CarrierList plan;
    for (const double centreMhz : {6020.0, 6000.0, 6010.0}) {
        Carrier carrier;
        carrier.setFecFromSymbolRate(centreMhz, 1000.0, 0, 4, 0.75, 1, 1, 20.0, 1.35);
        plan.append(carrier);
    }
    IntermodOptions options;
    options.ip3Dbw = 40.0;
    const TransponderBudget budget =
        computeTransponderBudget(plan, {36, 20 + 10 * std::log10(3.0), none, 100},
                                 interferenceFromAnalysis(analyseIntermod(plan, options)));
    EXPECT_EQ(budget.carriers[1].centreFrequencyMhz, 6010.0);
    EXPECT_NEAR(*budget.carriers[1].cnimDb, 32.4667, 1e-3);
    EXPECT_EQ(budget.worstMarginCarrier, 2);
}

} // namespace
} // namespace orvane
