#include "budget/decibel_sum.h"
#include "budget/transponder_budget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

// QPSK 3/4 at 7500 kbps and roll-off 1.2: 5 MSps, 6 MHz occupied.
Carrier qpskThreeQuarters(double centreMhz, double powerDbw)
{
    Carrier carrier;
    carrier.setFecFromDataRate(centreMhz, 7500.0, 0.0, 4, 0.75, 1.0, 1.0, powerDbw, 1.2);
    return carrier;
}

CarrierList planOf(const std::vector<Carrier>& carriers)
{
    CarrierList plan;
    for (const Carrier& carrier : carriers)
        plan.append(carrier);
    return plan;
}

BudgetInputs inputs(std::optional<double> bandwidthMhz, std::optional<double> psatDbw,
                    std::optional<double> oboDb, std::optional<double> cn0SatDbHz)
{
    return {bandwidthMhz, psatDbw, oboDb, cn0SatDbHz};
}

const CarrierList workedExample =
    planOf({qpskThreeQuarters(6005, 10), qpskThreeQuarters(5990, 10)});

// 36 MHz, Psat 20 dBW, C/N0(sat) 95 dB-Hz, two QPSK 3/4 carriers of 10 dBW, 5 MSps, 6 MHz: the
// figures worked by hand. Total 10 + 10·log10(2) = 13.0103 dBW; C/N0 95 - 10 = 85 dB-Hz;
// Es/N0 85 - 10·log10(5e6) = 18.0103 dB; the DVB-S2 table's QPSK 3/4 needs 4.03 dB.
TEST(TransponderBudget, WorkedExample)
{
    const TransponderBudget budget =
        computeTransponderBudget(workedExample, inputs(36, 20, std::nullopt, 95), {});
    EXPECT_NEAR(*budget.totalCarrierPowerDbw, 13.0103, 1e-4);
    EXPECT_NEAR(*budget.outputBackoffDb, 6.9897, 1e-4);
    EXPECT_NEAR(*budget.availablePowerDbw, 13.0103, 1e-4);
    EXPECT_FALSE(*budget.overDriven);
    ASSERT_EQ(budget.carriers.size(), 2u);
    for (const CarrierBudget& carrier : budget.carriers) {
        EXPECT_NEAR(*carrier.powerSharePct, 50.0, 1e-9);
        EXPECT_NEAR(*carrier.bandwidthSharePct, 16.6667, 1e-4);
        EXPECT_NEAR(*carrier.pebMhz, 18.0, 1e-9);
        EXPECT_TRUE(*carrier.powerLimited);
        EXPECT_NEAR(*carrier.cn0DbHz, 85.0, 1e-9);
        EXPECT_NEAR(*carrier.esN0Db, 18.0103, 1e-4);
        EXPECT_NEAR(*carrier.cnimDb, 18.0103, 1e-4);
        EXPECT_DOUBLE_EQ(*carrier.requiredEsN0Db, 4.03);
        EXPECT_NEAR(*carrier.marginDb, 13.9803, 1e-4);
    }
    EXPECT_NEAR(*budget.powerUsedPct, 100.0, 1e-9);
    EXPECT_NEAR(*budget.bandwidthUsedPct, 33.3333, 1e-4);
    EXPECT_EQ(budget.limitedBy, BudgetLimit::power);
    EXPECT_NEAR(*budget.minMarginDb, 13.9803, 1e-4);
    EXPECT_EQ(budget.worstMarginCarrier, 1) << "equal margins: the lowest F";
    EXPECT_EQ(budget.carriers[0].centreFrequencyMhz, 5990.0) << "F-numbers follow frequency";
}

TEST(TransponderBudget, ImpairmentsCombineAsPowers)
{
    // The textbook case: 10^-2.3 + 10^-2 + 10^-2.4 = 0.018993, i.e. 17.21 dB.
    EXPECT_NEAR(*combinedRatioDb({23, 20, 24}), 17.2, 0.05);
    EXPECT_NEAR(*combinedRatioDb({23, 20, 24}), -10.0 * std::log10(0.0189930), 1e-4);
    // Terms 10^6 dB apart stay finite: the weaker one vanishes, nothing overflows.
    EXPECT_DOUBLE_EQ(*combinedRatioDb({-1e6, 1e6}), -1e6);
    EXPECT_DOUBLE_EQ(*powerSumDb({1e6, -1e6}), 1e6);
    EXPECT_FALSE(powerSumDb({}));
    // In the budget: a C/IM equal to Es/N0 takes 3.0103 dB off it; one 20 dB above, 0.0432.
    std::vector<CarrierInterference> interference = {{18.0103, true}, {38.0103, false}};
    const TransponderBudget budget =
        computeTransponderBudget(workedExample, inputs(36, 20, std::nullopt, 95), interference);
    EXPECT_NEAR(*budget.carriers[0].cnimDb, 15.0000, 1e-4);
    EXPECT_NEAR(*budget.carriers[1].cnimDb, 18.0103 - 0.0432, 1e-4);
    EXPECT_FALSE(budget.carriers[0].upperBound);
    EXPECT_TRUE(budget.carriers[1].upperBound) << "its C/IM leaves products out";
    EXPECT_EQ(budget.worstMarginCarrier, 1);
}

TEST(TransponderBudget, FiguresNeedTheirInputs)
{
    // Without any input and a view range of no width: no bandwidth, no C/N; the operating
    // point is the carriers' own total, so power shares stand.
    CarrierList plan = workedExample;
    TransponderBudget budget = computeTransponderBudget(plan, {}, {});
    EXPECT_FALSE(budget.transponderBandwidthMhz || budget.outputBackoffDb || budget.overDriven);
    EXPECT_NEAR(*budget.carriers[0].powerSharePct, 50.0, 1e-9);
    EXPECT_FALSE(budget.carriers[0].bandwidthSharePct || budget.carriers[0].pebMhz ||
                 budget.carriers[0].powerLimited || budget.carriers[0].esN0Db ||
                 budget.carriers[0].marginDb || budget.limitedBy || budget.minMarginDb);
    EXPECT_DOUBLE_EQ(*budget.carriers[0].requiredEsN0Db, 4.03);

    // The view range gives W; a W given wins; a W of 0 or not finite is none, not the view's.
    plan.viewStartMhz = 6018;
    plan.viewStopMhz = 5982;
    EXPECT_DOUBLE_EQ(*computeTransponderBudget(plan, {}, {}).transponderBandwidthMhz, 36.0);
    EXPECT_DOUBLE_EQ(
        *computeTransponderBudget(plan, inputs(72, {}, {}, {}), {}).carriers[0].bandwidthSharePct,
        100.0 / 12);
    for (const double bad : {0.0, -36.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(
            computeTransponderBudget(plan, inputs(bad, {}, {}, {}), {}).transponderBandwidthMhz);

    // C/N0 at saturation without Psat, and a back-off without Psat: no C/N, no available power.
    budget = computeTransponderBudget(plan, inputs({}, {}, 3.0, 95), {});
    EXPECT_DOUBLE_EQ(*budget.outputBackoffDb, 3.0);
    EXPECT_FALSE(budget.availablePowerDbw || budget.carriers[0].powerSharePct ||
                 budget.powerUsedPct || budget.carriers[0].cn0DbHz);
}

TEST(TransponderBudget, AGivenBackOffSetsTheAvailablePower)
{
    // OBO 3 dB below 20 dBW leaves 17 dBW: each 10 dBW carrier is 10^-0.7 = 19.953 % of it,
    // and on a 12 MHz transponder the two 6 MHz carriers use all the bandwidth.
    const TransponderBudget budget =
        computeTransponderBudget(workedExample, inputs(12, 20, 3, std::nullopt), {});
    EXPECT_NEAR(*budget.carriers[0].powerSharePct, 19.9526, 1e-4);
    EXPECT_NEAR(*budget.carriers[0].pebMhz, 2.3943, 1e-4);
    EXPECT_FALSE(*budget.carriers[0].powerLimited);
    EXPECT_NEAR(*budget.powerUsedPct, 39.9052, 1e-4);
    EXPECT_NEAR(*budget.bandwidthUsedPct, 100.0, 1e-9);
    EXPECT_EQ(budget.limitedBy, BudgetLimit::bandwidth);
}

TEST(TransponderBudget, OverDrivenIsReportedNotHidden)
{
    // Psat 10 dBW against 13.0103 dBW of carriers: a back-off of -3.0103 dB.
    TransponderBudget budget =
        computeTransponderBudget(workedExample, inputs(36, 10, std::nullopt, 95), {});
    EXPECT_NEAR(*budget.outputBackoffDb, -3.0103, 1e-4);
    EXPECT_TRUE(*budget.overDriven);
    EXPECT_NEAR(*budget.carriers[0].cn0DbHz, 95.0, 1e-9) << "P - Psat = 0 dB";
    budget = computeTransponderBudget(workedExample, inputs(36, 20, -1, 95), {});
    EXPECT_TRUE(*budget.overDriven);
    EXPECT_NEAR(*budget.powerUsedPct, 100.0 * std::pow(10.0, (13.0103 - 21.0) / 10.0), 1e-3);
}

TEST(TransponderBudget, CarriersWithoutLevelOrSymbolRateAreListedWithoutTheirFigures)
{
    Carrier reserved = qpskThreeQuarters(6010, noPowerLevelDbw);
    Carrier line;
    line.setFixedSymbolRate(5980, 0.0, 10.0, 1.35);
    const TransponderBudget budget = computeTransponderBudget(
        planOf({qpskThreeQuarters(5990, 10), reserved, line}), inputs(36, 20, std::nullopt, 95),
        {{30.0, true}, {30.0, true}, {30.0, true}});
    ASSERT_EQ(budget.carriers.size(), 3u);
    const CarrierBudget& lineRow = budget.carriers[0];
    EXPECT_NEAR(*lineRow.powerSharePct, 50.0, 1e-9);
    EXPECT_DOUBLE_EQ(*lineRow.bandwidthSharePct, 0.0);
    EXPECT_TRUE(lineRow.cn0DbHz && !lineRow.esN0Db && !lineRow.cnimDb && !lineRow.marginDb);
    EXPECT_FALSE(lineRow.requiredEsN0Db) << "a fixed carrier has no modcod";
    const CarrierBudget& reservedRow = budget.carriers[2];
    EXPECT_FALSE(reservedRow.hasPowerLevel);
    EXPECT_FALSE(reservedRow.powerSharePct || reservedRow.bandwidthSharePct ||
                 reservedRow.cn0DbHz || reservedRow.cnimDb || reservedRow.marginDb);
    EXPECT_DOUBLE_EQ(*reservedRow.requiredEsN0Db, 4.03);
    EXPECT_NEAR(*budget.bandwidthUsedPct, 100.0 / 6, 1e-9) << "only carriers with a level";
    EXPECT_EQ(budget.worstMarginCarrier, 2);
}

TEST(TransponderBudget, EveryFigureIsFiniteForExtremeInputs)
{
    const double huge = 1e12;
    Carrier wide;
    wide.setFixedSymbolRate(6000, huge, huge, 1.35);
    const CarrierList plan = planOf({wide, qpskThreeQuarters(6000, -huge)});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const BudgetInputs& given :
         {inputs(1e-12, -huge, huge, huge), inputs(huge, huge, -huge, -huge),
          inputs(36, nan, nan, std::numeric_limits<double>::infinity())}) {
        const TransponderBudget budget =
            computeTransponderBudget(plan, given, {{nan, true}, {-huge, false}});
        for (const std::optional<double>& figure :
             {budget.totalCarrierPowerDbw, budget.outputBackoffDb, budget.availablePowerDbw,
              budget.powerUsedPct, budget.bandwidthUsedPct, budget.minMarginDb})
            EXPECT_TRUE(!figure || std::isfinite(*figure));
        for (const CarrierBudget& c : budget.carriers)
            for (const std::optional<double>& figure :
                 {c.powerSharePct, c.bandwidthSharePct, c.pebMhz, c.cn0DbHz, c.esN0Db, c.cimDb,
                  c.cnimDb, c.marginDb})
                EXPECT_TRUE(!figure || std::isfinite(*figure));
    }
}

TEST(TransponderBudget, TakesCimFromTheAnalysisInItsOrder)
{
    // Three carriers out of order, 10 MHz apart, IP3 40 dBW: the analysis gives F2 (6010 MHz)
    // 35.7403 dB; FEC carriers of 675 kSps at 1000 kbps QPSK 3/4 (roll-off 1.35 as before).
    std::vector<Carrier> carriers;
    for (const double centre : {6020.0, 6000.0, 6010.0}) {
        Carrier carrier;
        carrier.setFecFromSymbolRate(centre, 1000.0, 0.0, 4, 0.75, 1.0, 1.0, 20.0, 1.35);
        carriers.push_back(carrier);
    }
    const CarrierList plan = planOf(carriers);
    IntermodOptions options;
    options.ip3Dbw = 40.0;
    const std::vector<CarrierInterference> interference =
        interferenceFromAnalysis(analyseIntermod(plan, options));
    // Psat 20 + 10·log10(3), C/N0(sat) 100: each carrier's C/N0 is 100 - 4.7712 = 95.2288,
    // Es/N0 95.2288 - 60 = 35.2288, with C/IM 35.7403: 32.4667.
    const TransponderBudget budget = computeTransponderBudget(
        plan, inputs(36, 20 + 10 * std::log10(3.0), std::nullopt, 100), interference);
    EXPECT_EQ(budget.carriers[1].centreFrequencyMhz, 6010.0);
    EXPECT_NEAR(*budget.carriers[1].cimDb, 35.7403, 1e-4);
    EXPECT_NEAR(*budget.carriers[1].cnimDb, 32.4667, 1e-3);
    EXPECT_EQ(budget.worstMarginCarrier, 2);
    EXPECT_FALSE(budget.carriers[1].upperBound);
}

} // namespace
} // namespace orvane
