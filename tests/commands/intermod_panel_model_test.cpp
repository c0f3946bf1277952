#include "commands/intermod_panel_model.h"

#include "commands/scripted_interaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvane::test {
namespace {

// Entries of the IP3 and guard boxes, and whether the analysis takes them: IP3 within
// +-1000 dBW, the guard within 0 to 1,000,000 kHz, empty IP3 for hits only.
TEST(PanelBoxes, TakeNumbersWithinTheAnalysisLimitsAndNameWhatIsWrongBesideTheBox)
{
    const struct {
        PanelBox box;
        const char* entry;
        bool accepted;
    } entries[] = {{PanelBox::ip3, "", true},          {PanelBox::ip3, " -1000 ", true},
                   {PanelBox::ip3, "1000", true},      {PanelBox::ip3, "1000.01", false},
                   {PanelBox::ip3, "1e200", false},    {PanelBox::ip3, "forty", false},
                   {PanelBox::ip3, "inf", false},      {PanelBox::guard, "0", true},
                   {PanelBox::guard, "1000000", true}, {PanelBox::guard, "1000000.5", false},
                   {PanelBox::guard, "-0.001", false}, {PanelBox::guard, "1e300", false}};
    for (const auto& e : entries) {
        IntermodPanelModel model("40", "0", "20");
        model.edit(e.box, e.entry);
        EXPECT_EQ(model.inputs().has_value(), e.accepted) << e.entry;
        EXPECT_EQ(model.problem(e.box).empty(), e.accepted) << e.entry;
    }
}

// A new warning level only recolours; a new intercept point or guard asks for an analysis,
// and a box that only reads differently ("40.0") asks for nothing.
TEST(PanelBoxes, OnlyANewInterceptOrGuardAsksForANewAnalysis)
{
    IntermodPanelModel model("40", "0", "20");
    EXPECT_EQ(model.edit(PanelBox::warning, "25"), PanelEditEffect::recolour);
    EXPECT_EQ(model.edit(PanelBox::warning, "x"), PanelEditEffect::none);
    EXPECT_EQ(model.warningCimDb(), 25.0) << "the last good level stays";
    EXPECT_EQ(model.edit(PanelBox::ip3, "40.0"), PanelEditEffect::none);
    EXPECT_EQ(model.edit(PanelBox::guard, "5"), PanelEditEffect::reanalyse);
    EXPECT_EQ(model.edit(PanelBox::ip3, "x"), PanelEditEffect::reanalyse);
}

// Three carriers, the middle one hit by a product without a level.
std::shared_ptr<const IntermodAnalysis> analysisOfThree(bool complete)
{
    auto analysis = std::make_shared<IntermodAnalysis>();
    analysis->ip3Dbw = 40.0;
    analysis->products = 9;
    analysis->productsHitting = 3;
    analysis->worstCarrier = 2;
    analysis->minCimDb = 35.740312;
    analysis->minCimComplete = complete;
    for (int f = 1; f <= 3; ++f) {
        CarrierIntermod carrier;
        carrier.fNumber = f;
        carrier.label = f == 2 ? "Two\tlines, \"quoted\"" : "C" + std::to_string(f);
        carrier.centreFrequencyMhz = 5990.0 + 10.0 * f;
        carrier.twoToneHits = f == 2 ? 0 : 1;
        carrier.threeToneHits = f == 2 ? 1 : 0;
        carrier.cimDb = f == 2 ? 35.740312 : 41.760913;
        carrier.complete = complete || f != 2;
        analysis->carriers.push_back(carrier);
    }
    return analysis;
}

CarrierList planOfThree()
{
    CarrierList plan;
    for (int f = 3; f >= 1; --f)
        plan.append(testing::fixedCarrier(5990.0 + 10.0 * f, 1.35, "C" + std::to_string(f)));
    return plan;
}

// A result started before the latest change stays out of date: greyed, "Updating...", and its
// rows open nothing, saying why.
TEST(PanelResult, StaysOutOfDateUntilTheAnalysisOfTheLatestChangeArrives)
{
    IntermodPanelModel model("40", "0", "20");
    model.analysisStarted(planOfThree());
    model.planChanged();
    model.analysisFinished(analysisOfThree(true));
    EXPECT_TRUE(model.stale());
    EXPECT_EQ(model.summary().rfind("Updating... Shown: 9 products", 0), 0u) << model.summary();
    EXPECT_FALSE(model.openRow(2).fNumber);
    EXPECT_FALSE(model.openRow(2).whyNot.empty());
    EXPECT_TRUE(model.overlay()->outOfDate);

    model.analysisStarted(planOfThree());
    model.analysisFinished(analysisOfThree(true));
    EXPECT_FALSE(model.overlay()->outOfDate);
    EXPECT_EQ(model.openRow(2).fNumber, 2);
    EXPECT_EQ(model.overlay()->hitBandsMhz.size(), 3u);
    EXPECT_EQ(model.overlay()->hitBandsMhz[0], std::make_pair(5999.325, 6000.675));
    // Only the warning level moved: the rows recolour, the result stays current.
    model.edit(PanelBox::warning, "42");
    EXPECT_FALSE(model.stale());
    EXPECT_EQ(model.rows()[0].mark, RowMark::belowWarning);
}

// When the lowest C/IM leaves out a product without a level, the summary and the row say that
// it is at most that much.
TEST(PanelResult, NamesALowestCimThatMayLieLowerAnUpperBound)
{
    for (const bool complete : {true, false}) {
        IntermodPanelModel model("40", "0", "20");
        model.analysisStarted(planOfThree());
        model.analysisFinished(analysisOfThree(complete));
        const std::string bound = complete ? "" : "\u2264 ";
        EXPECT_EQ(model.summary(),
                  "9 products, 3 of them hit a carrier. Lowest C/IM " + bound + "35.74 dB, at F2.");
        EXPECT_EQ(model.rows()[1].cells[3].text, bound + "35.74");
        EXPECT_EQ(model.rows()[1].mark, complete ? RowMark::none : RowMark::incomplete);
    }
}

// The saved table names what produced it; every line ends in CR LF, and a label's line break
// stays inside its quotes.
TEST(PanelResult, CsvNamesThePlanTheInputsAndTheDateWithCrLfLines)
{
    IntermodPanelModel model("", "0", "20");
    EXPECT_EQ(model.csv("Plan", "today"), "") << "nothing to save yet";
    model.analysisStarted(planOfThree());
    model.analysisFinished(analysisOfThree(false));
    const std::string csv = model.csv("Plan A\tsecond line", "2024-05-01T10:00:00");
    EXPECT_EQ(csv.substr(0, csv.find("\"F#\"")),
              "# Orvane intermodulation analysis\r\n# Plan: Plan A / second line\r\n"
              "# IP3 (dBW): 40\r\n# Guard (kHz): 0\r\n# Date: 2024-05-01T10:00:00\r\n");
    EXPECT_NE(csv.find("\r\n\"F2\",\"Two\r\nlines, \"\"quoted\"\"\",6010.00000,"),
              std::string::npos)
        << csv;
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1))
        EXPECT_EQ(csv[at - 1], '\r') << at;
}

} // namespace
} // namespace orvane::test
