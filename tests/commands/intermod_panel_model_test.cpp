#include "commands/intermod_panel_model.h"

#include "commands/scripted_interaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvane::test {
namespace {

// IP3 within +-1000 dBW (empty: hits only), the guard within 0 to 1,000,000 kHz.
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
                   {PanelBox::guard, "-0.001", false}};
    for (const auto& e : entries) {
        IntermodPanelModel model("40", "0", "20");
        model.edit(e.box, e.entry);
        EXPECT_EQ(model.inputs().has_value(), e.accepted) << e.entry;
        EXPECT_EQ(model.problem(e.box).empty(), e.accepted) << e.entry;
    }
    // A new warning level only recolours; a box that only reads differently asks for nothing.
    IntermodPanelModel model("40", "0", "20");
    EXPECT_EQ(model.edit(PanelBox::warning, "25"), PanelEditEffect::recolour);
    EXPECT_EQ(model.edit(PanelBox::warning, "x"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::ip3, "40.0"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::guard, "5"), PanelEditEffect::reanalyse);
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
    IntermodPanelModel model("40", "0", "20");
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

// The saved table names what produced it; every line ends in CR LF, and a label's line break
// stays inside its quotes.
TEST(PanelResult, CsvNamesThePlanTheInputsAndTheDateWithCrLfLines)
{
    IntermodPanelModel model("40", "0", "20");
    EXPECT_EQ(model.csv("Plan", "today"), "") << "nothing to save yet";
    model.analysisStarted(workedExample());
    finish(model);
    const std::string csv = model.csv("Plan A\tsecond line", "2024-05-01T10:00:00");
    EXPECT_EQ(csv.substr(0, csv.find("\"F#\"")),
              "# Orvane intermodulation analysis\r\n# Plan: Plan A / second line\r\n"
              "# IP3 (dBW): 40\r\n# Guard (kHz): 0\r\n# Date: 2024-05-01T10:00:00\r\n");
    EXPECT_NE(csv.find("\r\n\"F2\",\"B\r\nline two, \"\"quoted\"\"\",6010.00000,"),
              std::string::npos)
        << csv;
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1))
        EXPECT_EQ(csv[at - 1], '\r') << at;
}

} // namespace
} // namespace orvane::test
