#include "app/editing_commands.h"
#include "app/file_commands.h"
#include "app/history_commands.h"

#include "app/scripted_interaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace orvane::test {
namespace {

using orvane::testing::ScriptedInteraction;

const std::string examplePlan = ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt";

Carrier carrierAt(double centreMhz, const std::string& label)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, 1.35, 20.0, 1.35);
    carrier.label = label;
    return carrier;
}

// The plan as a user sees it: title, view, carriers, and the edges a plan is fitted by.
std::string planText(const PlanDocument& document)
{
    std::string text =
        document.displaySettings.titleText + " " +
        std::to_string(document.displaySettings.viewStopMhz) + " " +
        std::to_string(document.carriers.highestEdgeMhz() * document.carriers.count());
    for (const Carrier& carrier : document.carriers)
        text += " " + carrier.label + "@" + std::to_string(carrier.centreFrequencyMhz);
    return text;
}

// A plan of A at 6000 and B at 6010 MHz, and a user who answers every question with OK.
class PlanHistoryTest : public ::testing::Test {
protected:
    PlanHistoryTest()
    {
        document.applyPlanDefaults();
        document.carriers.append(carrierAt(6000.0, "A"));
        document.carriers.append(carrierAt(6010.0, "B"));
        document.history.restart(document.carriers, document.displaySettings);
        user.carrierDialog = [](Carrier& carrier) { return carrier.label = "new", true; };
        user.pickedIndex = 0;
        user.frequencyAnswer = 5900.0;
        user.okCancelAnswer = true;
        user.chosenPaths = {ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.modcod"};
    }
    PlanDocument document;
    ScriptedInteraction user;
};

using Command = CommandOutcome (*)(PlanDocument&, UserInteraction&);

struct StepCase {
    const char* stepName;
    Command run;
    bool leavesThePlanAsItsFile; // a load or a clear
};

void PrintTo(const StepCase& step, std::ostream* out)
{
    *out << step.stepName;
}

class UndoableCommand : public PlanHistoryTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(UndoableCommand, IsANamedStepThatUndoAndRedoTakeBackAndMakeAgain)
{
    const std::string before = planText(document);
    GetParam().run(document, user);
    const std::string after = planText(document);
    ASSERT_NE(after, before);
    EXPECT_EQ(document.history.changed(), !GetParam().leavesThePlanAsItsFile);
    EXPECT_EQ(undoMenuText(document.history), std::string("&Undo ") + GetParam().stepName);
    EXPECT_EQ(redoMenuText(document.history), "&Redo");

    EXPECT_TRUE(undoPlanChange(document).repaint);
    EXPECT_EQ(planText(document), before);
    EXPECT_EQ(redoMenuText(document.history), std::string("&Redo ") + GetParam().stepName);
    EXPECT_EQ(document.history.changed(), GetParam().leavesThePlanAsItsFile);
    EXPECT_TRUE(redoPlanChange(document).repaint);
    EXPECT_EQ(planText(document), after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UndoableCommand,
    ::testing::Values(
        StepCase{"Add Carrier", addFixedCarrier, false},
        StepCase{"Add Carrier", addModcodCarrier, false},
        StepCase{"Modify Carrier", modifyCarrier, false},
        StepCase{"Modify Carrier",
                 [](PlanDocument& d, UserInteraction& u) { return modifyCarrierAt(d, u, 1); },
                 false},
        StepCase{"Delete Carrier", deleteCarrier, false},
        StepCase{"Scrunch Carriers", scrunchCarriers, false},
        StepCase{"Shift Carriers", shiftCarriers, false}, StepCase{"Clear All", clearAll, true},
        StepCase{"Fit Carriers", [](PlanDocument& d, UserInteraction&) { return fitCarriers(d); },
                 false},
        StepCase{
            "Load Carriers",
            [](PlanDocument& d, UserInteraction& u) { return loadCarriersFrom(d, u, examplePlan); },
            true},
        StepCase{"View Options",
                 [](PlanDocument& d, UserInteraction&) {
                     d.displaySettings.titleText = "Renamed";
                     recordPlanChange(d, "View Options");
                     return CommandOutcome{};
                 },
                 false}));

TEST_F(PlanHistoryTest, CancelledCommandsAndTheSortForTheListAreNoSteps)
{
    document.carriers.append(carrierAt(5990.0, "Z"));
    document.history.restart(document.carriers, document.displaySettings);
    ScriptedInteraction cancelling;
    modifyCarrier(document, cancelling); // sorts the plan for its list
    deleteCarrier(document, cancelling);
    addFecCarrier(document, cancelling);
    shiftCarriers(document, cancelling);
    clearAll(document, cancelling);
    EXPECT_EQ(document.carriers[0].label, "Z");
    EXPECT_FALSE(document.history.undoName());
    EXPECT_FALSE(document.history.changed());

    addFixedCarrier(document, user);
    undoPlanChange(document);
    EXPECT_EQ(document.carriers[0].label, "Z") << "undo keeps the order the list was sorted in";
}

TEST_F(PlanHistoryTest, ANewChangeDropsWhatCouldBeRedoneWithTheSavedState)
{
    addFixedCarrier(document, user);
    document.history.markUnchanged(); // as a successful save does
    undoPlanChange(document);
    shiftCarriers(document, user);
    EXPECT_FALSE(document.history.redoName());
    EXPECT_TRUE(document.history.changed());
}

TEST_F(PlanHistoryTest, UndoAfterAFailedLoadChangesNothing)
{
    addFixedCarrier(document, user);
    loadCarriersFrom(document, user, "/no/such/plan.carriers.txt");
    const std::string afterFailure = planText(document);
    EXPECT_FALSE(undoPlanChange(document).repaint);
    EXPECT_EQ(planText(document), afterFailure);
    EXPECT_FALSE(document.history.changed());
}

TEST(PlanHistoryLimits, TheOldestStepsGoBeyondTheCountOrTheMemory)
{
    CarrierList carriers;
    DisplaySettings settings;
    for (int index = 0; index < 3000; ++index)
        carriers.append(carrierAt(6000.0 + index * 0.01, "C"));
    PlanHistory measure;
    measure.restart(carriers, settings);
    // Room for five steps, for four and a half states of the plan, or for less than one.
    const std::size_t halfStates = measure.keptBytes() / 2;
    const struct {
        std::size_t maxSteps, maxBytes, keptSteps;
    } limits[] = {{5, PlanHistory::defaultMaxBytes, 5}, {100, 9 * halfStates, 3}, {100, 1, 0}};
    for (const auto& limit : limits) {
        PlanHistory history(limit.maxSteps, limit.maxBytes);
        history.restart(carriers, settings);
        CarrierList shifted = carriers;
        for (int step = 0; step < 12; ++step) {
            shifted.shift(1.0); // every carrier moves: a whole new state each time
            history.record(shifted, settings, "Shift Carriers");
            EXPECT_LE(history.keptBytes(), std::max(limit.maxBytes, 3 * halfStates));
        }
        EXPECT_EQ(history.undoSteps(), limit.keptSteps);
        while (history.undo(shifted, settings)) {
        }
        EXPECT_DOUBLE_EQ(shifted[0].centreFrequencyMhz, 6012.0 - limit.keptSteps);
        EXPECT_TRUE(history.changed()) << "the saved state was dropped";
    }
}

TEST(PlanHistoryLimits, AChangeToOneCarrierOfALargePlanKeepsAboutOneBlock)
{
    PlanHistory history;
    CarrierList carriers;
    DisplaySettings settings;
    for (int index = 0; index < 20000; ++index)
        carriers.append(carrierAt(4000.0 + index * 0.1, "C"));
    history.restart(carriers, settings);
    const std::size_t plan = history.keptBytes();
    carriers.replaceAt(*carriers.findIndex(15000), carrierAt(1.0, "moved"));
    history.record(carriers, settings, "Modify Carrier");
    settings.titleText = "Only the title";
    history.record(carriers, settings, "View Options");
    EXPECT_LT(history.keptBytes() - plan, plan / 10);
}

} // namespace
} // namespace orvane::test
