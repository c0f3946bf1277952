#include "commands/editing_commands.h"
#include "commands/file_commands.h"
#include "commands/history_commands.h"

#include "commands/scripted_interaction.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace orvane::test {
namespace {

using Command = CommandOutcome (*)(PlanDocument&, UserInteraction&);

const std::string examplePlan = ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt";

// A plan of A at 6000 and B at 6010 MHz, and a user who answers every question with OK.
struct Scene : testing::CommandScene {
    Scene()
    {
        document.carriers.append(testing::fixedCarrier(6000.0, 1.35, "A"));
        document.carriers.append(testing::fixedCarrier(6010.0, 1.35, "B"));
        document.history.restart(document.carriers, document.displaySettings);
        user.carrierDialog = [](Carrier& carrier) { return carrier.label = "new", true; };
        user.pickedIndex = 0;
        user.frequencyAnswer = 5900.0;
        user.okCancelAnswer = true;
        user.chosenPaths = {ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.modcod"};
    }
    // The plan and the view, without the file and the history.
    std::string plan() const
    {
        const std::string text = state();
        return text.substr(0, text.find("\nfile '"));
    }
    void stepWithMenus(const std::string& name, CommandOutcome outcome)
    {
        user.log = undoMenuText(document.history) + " " + redoMenuText(document.history) + "\n";
        step(name, outcome);
    }
};

// Every change is a named step that Undo takes back and Redo makes again; a load and a clear
// leave the plan as its file has it, so that undoing them makes a change.
TEST(PlanHistory, EveryCommandIsAStepThatUndoAndRedoTakeBackAndMakeAgain)
{
    const Command commands[] = {
        addFixedCarrier,
        addModcodCarrier,
        modifyCarrier,
        [](PlanDocument& d, UserInteraction& u) { return modifyCarrierAt(d, u, 1); },
        deleteCarrier,
        scrunchCarriers,
        shiftCarriers,
        clearAll,
        [](PlanDocument& d, UserInteraction&) { return fitCarriers(d); },
        [](PlanDocument& d, UserInteraction& u) { return loadCarriersFrom(d, u, examplePlan); },
        [](PlanDocument& d, UserInteraction&) {
            d.displaySettings.titleText = "Renamed";
            recordPlanChange(d, "View Options");
            return CommandOutcome{};
        }};
    std::string transcript;
    for (const Command command : commands) {
        Scene scene;
        const std::string before = scene.plan();
        scene.step("Command", command(scene.document, scene.user));
        const std::string after = scene.plan();
        scene.stepWithMenus("Undo", undoPlanChange(scene.document));
        EXPECT_EQ(scene.plan(), before) << scene.transcript;
        scene.stepWithMenus("Redo", redoPlanChange(scene.document));
        EXPECT_EQ(scene.plan(), after) << scene.transcript;
        transcript += scene.transcript + "\n";
    }
    expectGolden(transcript, "commands/undo-redo.txt");
}

// Cancelled commands and the sort for a list are no steps, and undo keeps the sorted order;
// a new change drops what could be redone, with the saved state; undo after a failed load
// changes nothing.
TEST(PlanHistory, OnlyChangesAreStepsAndANewOneDropsWhatCouldBeRedone)
{
    Scene scene;
    PlanDocument& document = scene.document;
    document.carriers.append(testing::fixedCarrier(5990.0, 1.35, "Z"));
    document.history.restart(document.carriers, document.displaySettings);
    testing::ScriptedInteraction cancelling;
    for (const Command command :
         {modifyCarrier, deleteCarrier, addFecCarrier, shiftCarriers, clearAll})
        command(document, cancelling);
    scene.step("Cancelled", {});
    scene.step("Redo with nothing to redo", redoPlanChange(document));
    addFixedCarrier(document, scene.user);
    scene.step("Undo", undoPlanChange(document));
    scene.step("Add", addFixedCarrier(document, scene.user));
    document.history.markUnchanged(); // as a successful save does
    scene.step("Undo", undoPlanChange(document));
    scene.step("Shift", shiftCarriers(document, scene.user));
    scene.step("Failed load", loadCarriersFrom(document, scene.user, "/no/such/plan.txt"));
    scene.step("Undo", undoPlanChange(document));
    expectGolden(scene.transcript, "commands/history-steps.txt");
}

TEST(PlanHistoryLimits, TheOldestStepsGoBeyondTheCountOrTheMemoryAndStepsShareBlocks)
{
    CarrierList carriers;
    DisplaySettings settings;
    for (int index = 0; index < 3000; ++index)
        carriers.append(testing::fixedCarrier(6000.0 + index * 0.01, 1.35, "C"));
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
    // A change to one carrier keeps about one of the plan's three blocks, one to the title none.
    carriers.replaceAt(*carriers.findIndex(1500), testing::fixedCarrier(1.0, 1.35, "moved"));
    measure.record(carriers, settings, "Modify Carrier");
    settings.titleText = "Only the title";
    measure.record(carriers, settings, "View Options");
    EXPECT_LT(measure.keptBytes(), 3 * halfStates);
}

} // namespace
} // namespace orvane::test
