#include "commands/intermod_panel_model.h"

#include "support/plans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace orvane::test {
namespace {

// The boxes as a user left them: guard 0, warning 20 dB, no output back-off.
PanelSettings boxes(const std::string& ip3Dbw, const std::string& transponderMhz = "",
                    const std::string& psatDbw = "", const std::string& cn0SatDbHz = "",
                    const std::string& amplifier = "ip3")
{
    PanelSettings settings;
    settings.ip3Dbw = ip3Dbw;
    settings.transponderMhz = transponderMhz;
    settings.saturatedPowerDbw = psatDbw;
    settings.saturatedCn0DbHz = cn0SatDbHz;
    settings.amplifier = amplifier;
    return settings;
}

// IP3 within +-1000 dBW (empty: hits only), the guard within 0 to 1,000,000 kHz, as the analysis
// takes them; a transponder bandwidth above 0.
TEST(PanelBoxes, TakeNumbersWithinTheAnalysisLimitsAndNameWhatIsWrongBesideTheBox)
{
    const struct {
        PanelBox box;
        const char* entry;
        bool accepted;
    } entries[] = {{PanelBox::ip3, "", true},
                   {PanelBox::ip3, " -1000 ", true},
                   {PanelBox::ip3, "1000.01", false},
                   {PanelBox::ip3, "1e200", false},
                   {PanelBox::ip3, "forty", false},
                   {PanelBox::guard, "1000000", true},
                   {PanelBox::guard, "1000000.5", false},
                   {PanelBox::guard, "-0.001", false},
                   {PanelBox::transponderMhz, "0", false},
                   {PanelBox::saturatedCn0, "-", false}};
    for (const auto& e : entries) {
        IntermodPanelModel model(boxes("40"));
        model.edit(e.box, e.entry);
        const bool analysed = e.box == PanelBox::ip3 || e.box == PanelBox::guard;
        EXPECT_EQ(model.inputs().has_value(), e.accepted || !analysed) << e.entry;
        EXPECT_EQ(model.problem(e.box).empty(), e.accepted) << e.entry;
    }
    // A new warning level only recolours; a box that only reads differently asks for nothing.
    IntermodPanelModel model(boxes("40"));
    EXPECT_EQ(model.edit(PanelBox::warning, "25"), PanelEditEffect::recolour);
    EXPECT_EQ(model.edit(PanelBox::warning, "x"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::ip3, "40.0"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::guard, "5"), PanelEditEffect::rerun);
    EXPECT_EQ(model.edit(PanelBox::saturatedPower, "20"), PanelEditEffect::rebudget);
}

// The worked example of the help page, B's label of two lines.
CarrierList workedExample()
{
    return threeCarrierExample("B\tline two, \"quoted\"");
}

// The analysis started last, of the worked example, finishes.
void finish(IntermodPanelModel& model)
{
    IntermodOptions options;
    options.ip3Dbw = 40.0;
    model.analysisFinished(
        std::make_shared<const IntermodAnalysis>(analyseIntermod(workedExample(), options)));
}

// A result started before the latest change stays out of date: "Updating...", grey on the
// picture, and its rows open nothing, saying why. The help page's figures come out; a lowest
// C/IM that may leave out a product without a level is given as at most that much.
TEST(PanelResult, IsOutOfDateUntilTheLatestChangeIsAnalysedAndNamesAnUpperBound)
{
    IntermodPanelModel model(boxes("40"));
    model.analysisStarted(workedExample());
    model.planChanged();
    finish(model);
    EXPECT_TRUE(model.stale());
    EXPECT_EQ(model.summary().rfind("Updating... Shown: 9 products", 0), 0u) << model.summary();
    EXPECT_FALSE(model.openRow(2).whyNot.empty());
    EXPECT_TRUE(model.overlay()->outOfDate);

    model.analysisStarted(workedExample());
    finish(model);
    EXPECT_EQ(model.summary(), "9 products, 3 of them hit a carrier. Lowest C/IM 35.74 dB, at F2.");
    EXPECT_EQ(model.openRow(2).fNumber, 2);
    EXPECT_FALSE(model.overlay()->outOfDate);
    EXPECT_EQ(model.overlay()->hitBandsMhz[0], std::make_pair(5999.325, 6000.675));
    EXPECT_EQ(model.edit(PanelBox::warning, "36"), PanelEditEffect::recolour);
    EXPECT_EQ(model.rows()[1].mark, RowMark::belowWarning);

    auto bound = std::make_shared<IntermodAnalysis>(*model.analysis());
    bound->minCimComplete = false;
    bound->carriers[1].complete = false;
    model.analysisFinished(bound);
    EXPECT_NE(model.summary().find("Lowest C/IM \u2264 35.74 dB, at F2."), std::string::npos);
    EXPECT_EQ(model.rows()[1].cells[3].text, "\u2264 35.74");
}

// Stopping leaves the last result, says so, and lets the next change start the work again; a
// long analysis says how long: 2e11 evaluations are about ten minutes on two cores.
TEST(PanelResult, StoppedWorkIsSaidAndWantedAgain)
{
    IntermodPanelModel model(boxes("40"));
    model.analysisStarted(workedExample());
    finish(model);
    model.planChanged();
    model.analysisStarted(workedExample());
    model.analysisEstimated(3e11);
    EXPECT_EQ(model.workWarning().rfind("A long analysis: about 3e+11 evaluations", 0), 0u)
        << model.workWarning();
    EXPECT_NE(model.workWarning().find("some 15 minutes"), std::string::npos);
    EXPECT_FALSE(model.analysisWanted());
    model.workStopped();
    EXPECT_TRUE(model.analysisWanted());
    EXPECT_EQ(model.summary().rfind("Stopped", 0), 0u) << model.summary();
    EXPECT_NE(longAnalysisWarningText(4e12).find("some 3 hours"), std::string::npos);
}

// The saved table names what produced it; every line ends in CR LF, and a label's line break
// stays inside its quotes.
TEST(PanelResult, CsvNamesThePlanTheInputsAndTheDateWithCrLfLines)
{
    IntermodPanelModel model(boxes("40"));
    EXPECT_EQ(model.csv("Plan", "today"), "") << "nothing to save yet";
    model.analysisStarted(workedExample());
    finish(model);
    const std::string csv = model.csv("Plan A\tsecond line", "2024-05-01T10:00:00");
    EXPECT_EQ(csv.substr(0, csv.find("\"F#\"")),
              "# Orvane intermodulation analysis\r\n# Plan: Plan A / second line\r\n"
              "# IP3 (dBW): 40\r\n# Guard (kHz): 0\r\n# Transponder (MHz): none\r\n"
              "# Psat (dBW): none\r\n# OBO (dB): none\r\n# C/N0 at saturation (dB-Hz): none\r\n"
              "# Amplifier: IP3 model of the analysis\r\n# Date: 2024-05-01T10:00:00\r\n");
    EXPECT_NE(csv.find("\r\n\"F2\",\"B\r\nline two, \"\"quoted\"\"\",6010.00000,"),
              std::string::npos)
        << csv;
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1))
        EXPECT_EQ(csv[at - 1], '\r') << at;
}

// The budget's worked example: 36 MHz, Psat 20 dBW, C/N0(sat) 95 dB-Hz, two QPSK 3/4 carriers of
// 10 dBW at 5 MSps with roll-off 1.2 (6 MHz): each 50 % of the power, 16.67 % of the band, PEB
// 18 MHz, Es/N0 95 - 10 - 66.99 = 18.01 dB, DVB-S2 QPSK 3/4 needs 4.03 dB.
// The budget's worked example analysed by a panel of those figures.
void analyseBudgetExample(IntermodPanelModel& model)
{
    model.analysisStarted(budgetExample());
    model.analysisFinished(
        std::make_shared<IntermodAnalysis>(analyseIntermod(budgetExample(), {})));
}

TEST(PanelBudget, FillsItsColumnsMarksNegativeMarginsAndKeepsItsInputsThroughABadBox)
{
    IntermodPanelModel model(boxes("", "36", "20", "95"));
    analyseBudgetExample(model);
    const auto budgetCells = [&model](std::size_t row) {
        std::string text;
        for (std::size_t column = 8; column < 15; ++column)
            text += model.rows()[row].cells[column].text + " ";
        return text;
    };
    EXPECT_EQ(budgetCells(0), "50.0 16.7 18.000 18.01 18.01 4.03 13.98 ");
    EXPECT_EQ(model.budgetSummary(), "power 100 % \u00b7 bandwidth 33 % \u00b7 power-limited "
                                     "\u00b7 worst margin 14.0 dB at F1");

    // 20 dB less C/N0: the links do not close. A box that holds no number keeps the budget.
    EXPECT_EQ(model.edit(PanelBox::saturatedCn0, "75"), PanelEditEffect::rebudget);
    EXPECT_EQ(model.edit(PanelBox::saturatedCn0, "7 5"), PanelEditEffect::none);
    EXPECT_EQ(budgetCells(1), "50.0 16.7 18.000 -1.99 -1.99 4.03 -6.02 ");
    EXPECT_EQ(model.rows()[1].mark, RowMark::negativeMargin);

    // Run 2 dB above saturation: 22 dBW available, 10 dBW is 6.31 % of it; the chart says so.
    model.edit(PanelBox::saturatedCn0, "75");
    model.edit(PanelBox::outputBackoff, "-2");
    const ShareChart chart = model.shareChart();
    ASSERT_EQ(chart.bars.size(), 2u);
    EXPECT_NEAR(chart.bars[1].powerSharePct, 6.3096, 1e-4);
    EXPECT_EQ(chart.ticksPct, (std::vector<double>{0, 5, 10, 15, 20}));
    EXPECT_TRUE(chart.noteIsWarning) << chart.note;
}

// With an intercept point the analysis's C/IM goes into C/(N+IM): F2 of the worked example has
// C/IM 35.74 dB and, at Psat 20 dBW and C/N0(sat) 90 dB-Hz, Es/N0 90 - 60 = 30 dB, so
// -10·log10(10^-3 + 10^-3.574) = 28.97 dB.
TEST(PanelBudget, TakesTheAnalysisCim)
{
    IntermodPanelModel model(boxes("40", "", "20", "90"));
    model.analysisStarted(workedExample());
    finish(model);
    EXPECT_EQ(model.rows()[1].cells[12].text, "28.97");
}

// A carrier of 1000 kSps with a roll-off of 1.2.
Carrier carrierAt(double centreMhz, double powerDbw)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, 1000.0, powerDbw, 1.2);
    return carrier;
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
    IntermodPanelModel model(boxes("", "36", "20", "95", "tube"));
    analyseBudgetExample(model);
    auto simulation = std::make_shared<AmplifierSimulation>();
    simulation->carriers.resize(2);
    simulation->carriers[0].cimDb = 18.0103;
    simulation->carriers[1].cimDb = 60.0;
    simulation->inputBackoffDb = 10.0;
    simulation->outputBackoffDb = 4.81;
    simulation->minCimDb = 18.0103;
    simulation->worstCarrier = 1;
    simulation->precisionDb = 0.2;
    model.simulationStarted(budgetExample());
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
    IntermodPanelModel model(boxes("", "", "", "", "tube"));
    const CarrierList plan = threeCarrierExample();
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
} // namespace orvane::test
