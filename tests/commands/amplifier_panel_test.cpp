#include "commands/intermod_panel_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, double powerDbw, double symbolRateKsps = 1000.0)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, 1.2);
    return carrier;
}

CarrierList planOf(std::initializer_list<Carrier> carriers)
{
    CarrierList plan;
    for (const Carrier& carrier : carriers)
        plan.append(carrier);
    return plan;
}

// The output spectrum of an amplifier whose 10 MHz of output hold -5 dBW evenly: -45 dBW per kHz.
// Two carriers of 10 dBW (and one without a level) make 13.0103 dBW, so on the plan's scale the
// density is -45 + 13.0103 + 5 = -26.9897 dBW/kHz, which over 10,000 kHz is the plan's total
// again. Bins of 10 kHz merge ten to a point for 60 points across a 6 MHz view; a point of empty
// bins has no density.
TEST(AmplifierOutputOnThePlanScale, CarriesThePlansTotalPowerAcrossTheView)
{
    AmplifierSimulation simulation;
    simulation.totalOutputDbw = -5.0;
    simulation.spectrum.firstFrequencyMhz = 5990.0;
    simulation.spectrum.stepMhz = 0.01;
    simulation.spectrum.dbwPerKhz.assign(1000, -45.0);
    for (int bin = 200; bin < 210; ++bin)
        simulation.spectrum.dbwPerKhz[bin] = spectrumFloorDbwPerKhz;
    const CarrierList plan =
        planOf({carrierAt(5994, 10), carrierAt(5996, 10), carrierAt(5998, noPowerLevelDbw)});

    const DensityCurve curve = spectrumOnPlanScale(simulation, plan, 5998.0, 5992.0, 60);
    // Merged points at 5990.045 + k·0.1 MHz, from the last at or below 5991.9 to 5998.1.
    ASSERT_EQ(curve.binDbwPerKhz.size(), 62u);
    EXPECT_NEAR(curve.lowMhz, 5991.895, 1e-9);
    EXPECT_NEAR(curve.highMhz, 5998.095, 1e-9);
    EXPECT_FALSE(curve.binDbwPerKhz[1].has_value()) << "5992.045 MHz: the empty bins";
    for (const std::size_t point : {0u, 2u, 61u})
        EXPECT_NEAR(*curve.binDbwPerKhz[point], -26.9897, 1e-4) << point;
    // A view beyond the spectrum's end ends the curve with the spectrum's last point.
    EXPECT_EQ(spectrumOnPlanScale(simulation, plan, 5992, 6020, 280).binDbwPerKhz.size(), 81u);
    EXPECT_TRUE(spectrumOnPlanScale(simulation, planOf({}), 5992, 5998, 60).binDbwPerKhz.empty());
}

// Two carriers of 1000 kSps (Es/N0 = C/N0(sat) + output below saturation - 60 dB) at three
// operating points, C/N0(sat) 80 dB-Hz, worked by hand:
//   IBO  0: outputs -3 dB, C/IM 10 and 12: Es/N0 17, C/(N+IM) 9.2099 and 10.8067;
//   IBO 10: outputs -9 dB, C/IM 25 and 20: Es/N0 11, C/(N+IM) 10.8305 and 10.4850;
//   IBO 20: outputs -18 dB, C/IM 40 and 35: Es/N0 2, C/(N+IM) 1.9993 and 1.9978.
// The worst carrier's C/(N+IM) is highest at 10 dB (F2): the best operating point.
TEST(BackoffChart, FindsTheBestOperatingPointOfTheWorstCarrier)
{
    const CarrierList plan = planOf({carrierAt(6000, 0), carrierAt(6010, 0)});
    BackoffSweep sweep;
    const double points[3][5] = {{0, -3, 10, 12}, {10, -9, 25, 20}, {20, -18, 40, 35}};
    for (const auto& values : points) {
        BackoffSweepPoint point;
        point.inputBackoffDb = values[0];
        point.worstCimDb = std::min(values[2], values[3]);
        for (int f = 1; f <= 2; ++f) {
            SimulatedCarrier carrier;
            carrier.fNumber = f;
            carrier.outputPowerDbw = values[1];
            carrier.cimDb = values[1 + f];
            point.carriers.push_back(carrier);
        }
        sweep.points.push_back(point);
    }
    const BackoffChart chart = backoffChart(sweep, plan, 80.0, 0.0, 10.0);
    ASSERT_EQ(chart.worstCnimDb.size(), 3u);
    EXPECT_NEAR(chart.worstCnimDb[0].y, 9.2099, 1e-4);
    EXPECT_NEAR(chart.worstCnimDb[1].y, 10.4850, 1e-4);
    EXPECT_NEAR(chart.worstCnimDb[2].y, 1.9978, 1e-4);
    ASSERT_TRUE(chart.best);
    EXPECT_EQ(chart.best->x, 10.0);
    EXPECT_EQ(chart.bestWorstCarrier, 2);
    EXPECT_EQ(chart.worstCimDb[2].y, 35.0);
    EXPECT_EQ(chart.ticksDb, (std::vector<double>{0, 10, 20, 30, 40}));
    EXPECT_EQ(chart.currentIboDb, 10.0);
    EXPECT_TRUE(chart.note.empty());

    // Without the C/N0 there is no noise to weigh against, and so no best point.
    const BackoffChart intermodulationOnly = backoffChart(sweep, plan, std::nullopt, 0.0, 25.0);
    EXPECT_TRUE(intermodulationOnly.worstCnimDb.empty() && !intermodulationOnly.best);
    EXPECT_FALSE(intermodulationOnly.currentIboDb) << "beyond the sweep";
    EXPECT_FALSE(intermodulationOnly.note.empty());
}

// 36 MHz, Psat 20 dBW, C/N0(sat) 95 dB-Hz: the two QPSK 3/4 carriers have Es/N0 18.0103 dB. With
// a tube chosen the budget takes the simulated C/IM: 18.0103 dB on F1 takes 3.0103 dB off, so
// C/(N+IM) is 15.00 dB, and F1 falls below the 20 dB warning; the IP3 choice gives the
// analysis's none back.
TEST(AmplifierPanel, TheBudgetTakesTheSimulatedCimWhileAnAmplifierIsChosen)
{
    CarrierList plan;
    for (const double centreMhz : {6005.0, 5990.0}) {
        Carrier carrier;
        carrier.setFecFromDataRate(centreMhz, 7500.0, 0.0, 4, 0.75, 1.0, 1.0, 10.0, 1.2);
        plan.append(carrier);
    }
    PanelSettings settings;
    settings.transponderMhz = "36";
    settings.saturatedPowerDbw = "20";
    settings.saturatedCn0DbHz = "95";
    settings.amplifier = "tube";
    IntermodPanelModel model(settings);
    model.analysisStarted(plan);
    model.analysisFinished(std::make_shared<IntermodAnalysis>(analyseIntermod(plan, {})));
    auto simulation = std::make_shared<AmplifierSimulation>();
    simulation->carriers.resize(2);
    simulation->carriers[0].cimDb = 18.0103;
    simulation->carriers[1].cimDb = 60.0;
    simulation->inputBackoffDb = 10.0;
    simulation->outputBackoffDb = 4.81;
    simulation->minCimDb = 18.0103;
    simulation->worstCarrier = 1;
    simulation->precisionDb = 0.2;
    model.simulationStarted(plan);
    model.simulationFinished(simulation);

    const std::vector<PanelRow> rows = model.rows();
    EXPECT_EQ(rows[0].cells[4].text, "18.01") << "the amplifier's C/IM column";
    EXPECT_EQ(rows[0].cells[12].text, "15.00");
    EXPECT_EQ(rows[0].mark, RowMark::belowWarning);
    EXPECT_FALSE(model.simulationStale());
    EXPECT_TRUE(model.columnShown(4));
    // The saved table names the amplifier and adds its columns after the budget's.
    const std::string csv = model.csv("Plan", "today");
    EXPECT_NE(csv.find("# Amplifier: Tube at IBO 10.0 dB: OBO 4.81 dB, worst C/IM 18.01 dB at "
                       "F1 (within 0.20 dB).\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\"Margin (dB)\",\"Amplifier C/IM (dB)\",\"Compression (dB)\"\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find(",10.9700,18.0103,\r\n"), std::string::npos) << "F1: margin 15 - 4.03, C/IM";
    model.edit(PanelBox::inputBackoff, "6");
    EXPECT_TRUE(model.simulationStale());
    model.chooseAmplifier(PanelAmplifier::ip3);
    EXPECT_EQ(model.rows()[0].cells[12].text, "18.01");
    EXPECT_EQ(model.rows()[0].mark, RowMark::none) << "no C/IM, no warning";
    for (std::size_t column = 0; column < IntermodPanelModel::columns().size(); ++column)
        EXPECT_EQ(model.columnShown(column), column != 4 && column != 5) << column;
}

// Each kind of work runs again only for what it depends on: the operating point is the
// simulation's alone, the smoothness matters to the solid-state amplifier only, the plan to
// all. A measured amplifier without a readable curve is not simulated and says why.
TEST(AmplifierPanel, WorkIsWantedAgainOnlyForWhatItDependsOn)
{
    PanelSettings settings;
    settings.amplifier = "tube";
    IntermodPanelModel model(settings);
    const CarrierList plan = planOf({carrierAt(6000, 0), carrierAt(6010, 0)});
    const auto startAll = [&] {
        model.analysisStarted(plan);
        model.simulationStarted(plan);
        model.sweepStarted(plan);
    };
    const auto wanted = [&model] {
        return std::to_string(model.analysisWanted()) + std::to_string(model.simulationWanted()) +
               std::to_string(model.sweepWanted());
    };
    EXPECT_EQ(wanted(), "111");
    startAll();
    EXPECT_EQ(wanted(), "000");
    EXPECT_EQ(model.edit(PanelBox::inputBackoff, "6"), PanelEditEffect::rerun);
    EXPECT_EQ(wanted(), "010");
    EXPECT_EQ(model.simulationOptions()->inputBackoffDb, 6.0);
    EXPECT_EQ(model.edit(PanelBox::rappSmoothness, "3"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::inputBackoff, "101"), PanelEditEffect::rerun);
    EXPECT_FALSE(model.problem(PanelBox::inputBackoff).empty());
    EXPECT_EQ(wanted(), "000") << "nothing to simulate while the box is refused";
    model.edit(PanelBox::inputBackoff, "");
    startAll();
    EXPECT_EQ(model.chooseAmplifier(PanelAmplifier::solidState), PanelEditEffect::rerun);
    EXPECT_EQ(model.simulationOptions()->amplifier.rappSmoothness, 3.0);
    EXPECT_EQ(model.simulationOptions()->inputBackoffDb, 10.0) << "an empty box: the default";
    EXPECT_EQ(wanted(), "011");
    startAll();
    model.planChanged();
    EXPECT_EQ(wanted(), "111");

    model.chooseAmplifier(PanelAmplifier::table);
    EXPECT_FALSE(model.amplifierProblem().empty());
    model.useAmplifierTable("/no/such.csv", readAmplifierTable("0,0\n"));
    EXPECT_NE(model.amplifierSummary().find("at least"), std::string::npos)
        << model.amplifierSummary();
    EXPECT_FALSE(model.simulationOptions());
    model.useAmplifierTable("tube.csv", readAmplifierTable("-10,-5\n0,0\n"));
    EXPECT_TRUE(model.amplifierProblem().empty());
    EXPECT_EQ(wanted(), "111");
    startAll();
    model.useAmplifierTable("other.csv", readAmplifierTable("-10,-4\n0,0\n"));
    EXPECT_EQ(wanted(), "011") << "another curve";
    EXPECT_EQ(model.settings().amplifierTablePath, "other.csv");
    EXPECT_EQ(model.simulationOptions()->amplifier.kind, AmplifierKind::table);
}

} // namespace
} // namespace orvane
