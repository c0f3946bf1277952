#include "commands/intermod_panel_model.h"

#include "commands/scripted_interaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvane::test {
namespace {

// The boxes as a user left them: guard 0, warning 20 dB, no output back-off.
PanelSettings boxes(const std::string& ip3Dbw, const std::string& transponderMhz = "",
                    const std::string& psatDbw = "", const std::string& cn0SatDbHz = "")
{
    PanelSettings settings;
    settings.ip3Dbw = ip3Dbw;
    settings.transponderMhz = transponderMhz;
    settings.saturatedPowerDbw = psatDbw;
    settings.saturatedCn0DbHz = cn0SatDbHz;
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

// The worked example of the help page: 1000 kSps carriers of 20 dBW at 6000, 6010 and
// 6020 MHz, B's label of two lines.
CarrierList workedExample()
{
    CarrierList plan;
    for (const char* label : {"C", "B\tline two, \"quoted\"", "A"}) {
        Carrier carrier;
        carrier.setFixedSymbolRate(6000.0 + 10.0 * (label[0] - 'A'), 1000.0, 20.0, 1.35);
        carrier.label = label;
        plan.append(carrier);
    }
    return plan;
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
TEST(PanelBudget, FillsItsColumnsMarksNegativeMarginsAndKeepsItsInputsThroughABadBox)
{
    CarrierList plan;
    for (const double centreMhz : {6005.0, 5990.0}) {
        Carrier carrier;
        carrier.setFecFromDataRate(centreMhz, 7500.0, 0.0, 4, 0.75, 1.0, 1.0, 10.0, 1.2);
        plan.append(carrier);
    }
    IntermodPanelModel model(boxes("", "36", "20", "95"));
    model.analysisStarted(plan);
    model.analysisFinished(std::make_shared<IntermodAnalysis>(analyseIntermod(plan, {})));
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

} // namespace
} // namespace orvane::test
