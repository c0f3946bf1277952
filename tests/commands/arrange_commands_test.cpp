#include "commands/arrange_commands.h"
#include "commands/arrange_model.h"

#include "commands/history_commands.h"
#include "commands/scripted_interaction.h"
#include "support/test_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

namespace orvane::test {
namespace {

using testing::fixedCarrier;

// Runs the placement the entries ask for, here and now, as the dialog runs it on its thread.
void runHere(ArrangeModel& model)
{
    const ArrangeModel::Start start = model.startRun();
    ASSERT_TRUE(start.run) << model.status();
    model.finishRun(start.run->id, placeArrangement(*start.run, nullptr, {}));
}

// Equal 1 kHz carriers one raster step apart: each product of the three lands on another
// carrier (2*F2-F1 on F3, 2*F2-F3 on F1, F1+F3-F2 on F2). With F1 and F2 locked in a band of
// four 1 MHz steps, F3 has one better place: 6003, where the centres form a Golomb ruler
// (differences 1, 2 and 3) and no product lands on a carrier.
struct Ruler : testing::CommandScene {
    Ruler()
    {
        for (const double centreMhz : {6002.0, 6000.0, 6001.0})
            document.carriers.append(
                fixedCarrier(centreMhz, 0.001, "at " + std::to_string(int(centreMhz))));
    }
    ArrangeModel model(const std::string& ip3 = "") const
    {
        ArrangeModel arrange(document.carriers, document.displaySettings, ip3, "");
        arrange.setText(ArrangeBox::bandLow, "5999.9995");
        arrange.setText(ArrangeBox::bandHigh, "6003.0005");
        arrange.setText(ArrangeBox::raster, "1000");
        arrange.setLocked(1, true);
        arrange.setLocked(2, true);
        return arrange;
    }
};

TEST(ArrangeModel, EntriesStartFromTheViewAndThePanelAndReadAsOptions)
{
    Ruler scene;
    scene.document.displaySettings.viewStartMhz = 6100.0; // mirrored
    scene.document.displaySettings.viewStopMhz = 5900.5;
    ArrangeModel model(scene.document.carriers, scene.document.displaySettings, " 40", "5");
    EXPECT_EQ(model.text(ArrangeBox::bandLow), "5900.5");
    EXPECT_EQ(model.text(ArrangeBox::bandHigh), "6100");
    ASSERT_EQ(model.carriers().size(), 3u);
    EXPECT_EQ(model.carriers()[2].label, "at 6002"); // F3: numbered by frequency
    EXPECT_EQ(model.carriers()[2].fNumber, 3);

    model.setText(ArrangeBox::raster, "125");
    model.setText(ArrangeBox::spacing, "");
    model.setText(ArrangeBox::effort, "0.5");
    model.setLocked(2, true);
    model.addForbidden(); // left empty: no range
    model.addForbidden();
    model.setForbiddenText(1, RangeEnd::low, "5950");
    model.setForbiddenText(1, RangeEnd::high, "5960.25");
    ArrangeModel::Reading read = model.read();
    ASSERT_TRUE(read.options) << read.problem->text;
    const PlacementOptions& o = *read.options;
    EXPECT_EQ(
        std::tie(o.bandLowMhz, o.bandHighMhz, o.rasterKhz, o.spacingKhz, o.guardKhz, o.effort),
        std::make_tuple(5900.5, 6100.0, 125.0, 0.0, 5.0, 0.5));
    EXPECT_EQ(o.ip3Dbw, 40.0);
    EXPECT_EQ(o.lockedFNumbers, std::vector<int>{2});
    ASSERT_EQ(o.forbidden.size(), 1u);
    EXPECT_EQ(o.forbidden[0].highMhz, 5960.25);
    EXPECT_EQ(model.forbiddenText(1, RangeEnd::high), "5960.25");

    model.setText(ArrangeBox::ip3, " ");
    model.removeForbidden(1);
    read = model.read();
    EXPECT_FALSE(read.options->ip3Dbw);
    EXPECT_TRUE(read.options->forbidden.empty());
}

struct BadEntry {
    ArrangeBox box;
    int forbiddenRow; // -1: the box
    RangeEnd end;
    const char* typed;
    const char* problem;
};

void PrintTo(const BadEntry& bad, std::ostream* out)
{
    *out << "'" << bad.typed << "' in box " << static_cast<int>(bad.box) << ", range "
         << bad.forbiddenRow;
}

class ArrangeEntries : public ::testing::TestWithParam<BadEntry> {};

TEST_P(ArrangeEntries, ABadEntryIsNamedWithTheBoxToFocus)
{
    const BadEntry& bad = GetParam();
    Ruler scene;
    ArrangeModel model = scene.model();
    model.addForbidden();
    model.setForbiddenText(0, RangeEnd::low, "6000.2");
    model.setForbiddenText(0, RangeEnd::high, "6000.4");
    if (bad.forbiddenRow < 0)
        model.setText(bad.box, bad.typed);
    else
        model.setForbiddenText(bad.forbiddenRow, bad.end, bad.typed);
    const ArrangeModel::Start start = model.startRun();
    ASSERT_TRUE(start.problem);
    EXPECT_FALSE(start.run);
    EXPECT_THAT(start.problem->text, ::testing::HasSubstr(bad.problem));
    EXPECT_EQ(start.problem->forbiddenRow.value_or(-1), bad.forbiddenRow);
    if (bad.forbiddenRow < 0)
        EXPECT_EQ(start.problem->box, bad.box);
    else
        EXPECT_EQ(start.problem->end, bad.end);
}

// Each problem by a part of its text.
INSTANTIATE_TEST_SUITE_P(
    Boxes, ArrangeEntries,
    ::testing::Values(BadEntry{ArrangeBox::bandLow, -1, RangeEnd::low, "6,000", "enter a number"},
                      BadEntry{ArrangeBox::bandLow, -1, RangeEnd::low, "2e12", "low end must lie"},
                      BadEntry{ArrangeBox::bandHigh, -1, RangeEnd::low, "5999.9995", "The band"},
                      BadEntry{ArrangeBox::raster, -1, RangeEnd::low, "-1", "raster must be 0"},
                      BadEntry{ArrangeBox::spacing, -1, RangeEnd::low, "-0.001", "spacing"},
                      BadEntry{ArrangeBox::ip3, -1, RangeEnd::low, "1000.5", "intercept point"},
                      BadEntry{ArrangeBox::guard, -1, RangeEnd::low, "1e6.1", "enter a number"},
                      BadEntry{ArrangeBox::guard, -1, RangeEnd::low, "1000001", "guard must be"},
                      BadEntry{ArrangeBox::effort, -1, RangeEnd::low, "0", "effort must be"},
                      BadEntry{ArrangeBox::effort, -1, RangeEnd::low, "101", "effort must be"},
                      BadEntry{ArrangeBox::bandLow, 0, RangeEnd::low, "", "enter a number"},
                      BadEntry{ArrangeBox::bandLow, 0, RangeEnd::high, "6000.2",
                               "forbidden range"}));

// The Golomb case by hand: the figures before and after, the one carrier moved, a proposal
// only while the entries stand as they were run, and a picture of the band with it outlined.
TEST(ArrangeModel, ARunShowsFiguresBeforeAndAfterAndItsProposalWhileTheEntriesStand)
{
    Ruler scene;
    ArrangeModel model = scene.model();
    EXPECT_EQ(model.picture().settings.viewStopMhz, 6003.0005);
    model.setText(ArrangeBox::bandHigh, "6003.0005 MHz"); // the picture keeps the view
    EXPECT_EQ(model.picture().settings.viewStopMhz, 6425.0);

    // One step less and F3 has no better place: each carrier is hit, and barred.
    model.setText(ArrangeBox::bandHigh, "6002.0005");
    runHere(model);
    EXPECT_EQ(model.status(), "No better placement found: the plan stays as it is.");
    EXPECT_FALSE(model.proposal());
    const std::vector<std::pair<double, double>> hit{
        {5999.9995, 6000.0005}, {6000.9995, 6001.0005}, {6001.9995, 6002.0005}};
    EXPECT_EQ(model.picture().hitBandsMhz, hit);

    model.setText(ArrangeBox::bandHigh, "6003.0005");
    runHere(model);
    EXPECT_EQ(model.status(), "1 of 3 carriers moved.");
    const std::vector<ArrangeFigure> figures = model.figures();
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(figures[0].before, "no IP3");
    EXPECT_EQ(figures[1].before + " " + figures[1].after, "3 0");
    EXPECT_EQ(figures[2].before + " " + figures[2].after, "3 0");
    EXPECT_EQ(model.carriers()[2].proposedMhz, 6003.0);
    EXPECT_FALSE(model.carriers()[1].proposedMhz);
    ASSERT_TRUE(model.proposal());
    EXPECT_EQ((*model.proposal())[0].centreFrequencyMhz, 6003.0); // in the plan's own order
    ArrangePicture picture = model.picture();
    EXPECT_EQ(picture.outlined, std::vector<int>{0});
    EXPECT_TRUE(picture.hitBandsMhz.empty());
    EXPECT_EQ(picture.settings.viewStartMhz, 5999.9995);

    model.setText(ArrangeBox::raster, "500");
    EXPECT_FALSE(model.proposal());
    EXPECT_EQ(model.status(), "1 of 3 carriers moved. The entries have changed since: Run again.");
    model.setText(ArrangeBox::raster, "1000");
    EXPECT_TRUE(model.proposal());

    // A result of an earlier run counts no more; the latest is refused at once.
    const ArrangeModel::Start earlier = model.startRun();
    model.setLocked(3, true);
    EXPECT_FALSE(model.startRun().run);
    model.finishRun(earlier.run->id, placeArrangement(*earlier.run, nullptr, {}));
    EXPECT_EQ(model.status(), "Every carrier is locked: nothing to place.");
    EXPECT_EQ(model.picture().plan->count(), 3);
    EXPECT_FALSE(model.proposal());
    EXPECT_TRUE(model.figures().empty());

    // With an intercept point the middle carrier is worst: its three-carrier product is
    // 6 dB above the two-carrier products on the outer ones. Afterwards nothing has power.
    model = scene.model("40");
    runHere(model);
    EXPECT_THAT(model.figures()[0].before, ::testing::EndsWith(" dB (F2)"));
    EXPECT_EQ(model.figures()[0].after, "none");
}

TEST(ArrangeCommand, ApplyIsOneStepToUndoAndCancelOrAPlanItCannotTakeChangesNothing)
{
    Ruler scene;
    PlanDocument& document = scene.document;
    // The view ends inside the band: applying offers to widen it.
    document.displaySettings.viewStartMhz = 5990.0;
    document.displaySettings.viewStopMhz = 6002.5;
    document.history.restart(document.carriers, document.displaySettings);
    scene.user.arrangeDialog = [](ArrangeModel& model) { return runHere(model), false; };
    scene.step("Run, Cancel", arrangeCarriers(document, scene.user, "", ""));
    scene.user.yesNoAnswer = true;
    scene.user.arrangeDialog = [&scene](ArrangeModel& model) {
        model = scene.model("30");
        return runHere(model), true;
    };
    scene.step("Run, Apply, Yes", arrangeCarriers(document, scene.user, "30", "0.5"));
    scene.step("Undo", undoPlanChange(document));
    expectGolden(scene.transcript, "commands/arrange.txt");

    // Two carriers and 500 open the dialog; one or 501 are refused at once.
    scene.user.arrangeDialog = [](ArrangeModel&) { return false; };
    for (const int count : {2, 1, 500, 501}) {
        document.carriers.removeAll();
        for (int i = 0; i < count; ++i)
            document.carriers.append(fixedCarrier(6000.0 + i, 0.001, ""));
        scene.user.log.clear();
        arrangeCarriers(document, scene.user, "", "");
        EXPECT_EQ(scene.user.log.rfind("arrange, band", 0) == 0, count % 2 == 0) << scene.user.log;
    }
    EXPECT_EQ(scene.user.log, "message 'Orvane' icon 1: The plan has 501 carriers; the placement "
                              "takes at most 500.\n");
}

} // namespace
} // namespace orvane::test
