#include "app/editing_commands.h"
#include "app/file_commands.h"
#include "app/history_commands.h"

#include "app/scripted_interaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane::test {
namespace {

using orvane::testing::ScriptedInteraction;

Carrier carrierAt(double centreMhz, const std::string& label)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, 1.35, 20.0, 1.35);
    carrier.label = label;
    return carrier;
}

// The plan as a user sees it: carriers by label and centre, the title and the view, and the
// edges and level scale a non-empty plan is drawn and fitted by.
std::string planText(const PlanDocument& document)
{
    const DisplaySettings& settings = document.displaySettings;
    const CarrierList& carriers = document.carriers;
    std::string text = settings.titleText + " [" + std::to_string(settings.viewStartMhz) + " " +
                       std::to_string(settings.viewStopMhz) + "]";
    for (const Carrier& carrier : carriers)
        text += " " + carrier.label + "@" + std::to_string(carrier.centreFrequencyMhz);
    if (!carriers.empty())
        text += " edges " + std::to_string(carriers.lowestEdgeMhz()) + " " +
                std::to_string(carriers.highestEdgeMhz()) + " top " +
                std::to_string(carriers.levelCeiling());
    return text;
}

class PlanHistoryTest : public ::testing::Test {
protected:
    PlanHistoryTest()
    {
        document.applyPlanDefaults();
        document.carriers.append(carrierAt(6000.0, "A"));
        document.carriers.append(carrierAt(6010.0, "B"));
        document.history.restart(document.carriers, document.displaySettings);
    }
    PlanDocument document;
    ScriptedInteraction user;
};

struct StepCase {
    const char* name;
    const char* stepName;
    std::function<void(PlanDocument&, ScriptedInteraction&)> run;
    bool leavesThePlanAsItsFile = false; // a load or a clear
};

void PrintTo(const StepCase& step, std::ostream* out)
{
    *out << step.name;
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

    redoPlanChange(document);
    EXPECT_EQ(planText(document), after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UndoableCommand,
    ::testing::Values(StepCase{"Add", "Add Carrier",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.carrierDialog = [](Carrier& c) {
                                       return c.label = "new", true;
                                   };
                                   addFixedCarrier(d, u);
                               }},
                      StepCase{"Modify", "Modify Carrier",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.pickedIndex = 0;
                                   u.carrierDialog = [](Carrier& c) {
                                       return c.label = "changed", true;
                                   };
                                   modifyCarrier(d, u);
                               }},
                      StepCase{"ModifyOnThePlot", "Modify Carrier",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.carrierDialog = [](Carrier& c) {
                                       return c.label = "changed", true;
                                   };
                                   modifyCarrierAt(d, u, 1);
                               }},
                      StepCase{"Delete", "Delete Carrier",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.pickedIndex = 1;
                                   deleteCarrier(d, u);
                               }},
                      StepCase{"Scrunch", "Scrunch Carriers",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.frequencyAnswer = 5900.0;
                                   scrunchCarriers(d, u);
                               }},
                      StepCase{"Shift", "Shift Carriers",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.frequencyAnswer = -10.0;
                                   shiftCarriers(d, u);
                               }},
                      StepCase{"ClearAll", "Clear All",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   u.okCancelAnswer = true;
                                   clearAll(d, u);
                               },
                               true},
                      StepCase{"Fit", "Fit Carriers",
                               [](PlanDocument& d, ScriptedInteraction&) { fitCarriers(d); }},
                      StepCase{"Load", "Load Carriers",
                               [](PlanDocument& d, ScriptedInteraction& u) {
                                   loadCarriersFrom(d, u,
                                                    std::string(ORVANE_SOURCE_DIR) +
                                                        "/examples/c-band-36mhz.carriers.txt");
                               },
                               true},
                      StepCase{"TitleAndView", "View Options",
                               [](PlanDocument& d, ScriptedInteraction&) {
                                   d.displaySettings.titleText = "Renamed";
                                   d.displaySettings.viewStopMhz = 7000.0;
                                   recordPlanChange(d, "View Options");
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlanHistoryTest, CancelledCommandsAndTheSortForTheListAreNoSteps)
{
    document.carriers.append(carrierAt(5990.0, "Z"));
    document.history.restart(document.carriers, document.displaySettings);
    modifyCarrier(document, user); // sorts the plan, then Cancel
    deleteCarrier(document, user);
    addFecCarrier(document, user);
    shiftCarriers(document, user);
    clearAll(document, user);
    EXPECT_EQ(document.carriers[0].label, "Z");
    EXPECT_FALSE(document.history.undoName());
    EXPECT_FALSE(document.history.changed());

    user.carrierDialog = [](Carrier&) { return true; };
    addFixedCarrier(document, user);
    undoPlanChange(document);
    EXPECT_EQ(document.carriers[0].label, "Z") << "undo keeps the order the list was sorted in";
}

TEST_F(PlanHistoryTest, ChangedUntilSavedLoadedOrClearedOrUndoneBackToTheSavedState)
{
    user.carrierDialog = [](Carrier&) { return true; };
    addFixedCarrier(document, user);
    EXPECT_TRUE(document.history.changed());
    undoPlanChange(document);
    EXPECT_FALSE(document.history.changed());
    redoPlanChange(document);

    document.history.markUnchanged(); // as a successful save does
    user.frequencyAnswer = 5.0;
    shiftCarriers(document, user);
    EXPECT_TRUE(document.history.changed());
    undoPlanChange(document);
    EXPECT_FALSE(document.history.changed());

    // A new change drops what could have been redone, and with it the saved state.
    undoPlanChange(document);
    user.carrierDialog = [](Carrier& c) { return c.label = "other", true; };
    addSpectralCarrier(document, user);
    EXPECT_FALSE(document.history.redoName());
    undoPlanChange(document);
    EXPECT_TRUE(document.history.changed());

    user.okCancelAnswer = true;
    clearAll(document, user);
    EXPECT_FALSE(document.history.changed());
}

TEST_F(PlanHistoryTest, UndoAfterAFailedLoadChangesNothing)
{
    user.carrierDialog = [](Carrier&) { return true; };
    addFixedCarrier(document, user);
    loadCarriersFrom(document, user, "/no/such/plan.carriers.txt");
    const std::string afterFailure = planText(document);
    EXPECT_EQ(undoPlanChange(document).repaint, false);
    EXPECT_EQ(planText(document), afterFailure);
    EXPECT_FALSE(document.history.changed());
}

struct LimitCase {
    const char* name;
    std::size_t maxSteps;
    double memoryInStates; // the memory limit in states of the plan; 0: the default limit
    std::size_t keptSteps;
};

void PrintTo(const LimitCase& limit, std::ostream* out)
{
    *out << limit.name;
}

class HistoryLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(HistoryLimit, DropsTheOldestStepsBeyondTheCountOrTheMemory)
{
    CarrierList carriers;
    DisplaySettings settings;
    for (int index = 0; index < 3000; ++index)
        carriers.append(carrierAt(6000.0 + index * 0.01, "C"));
    PlanHistory measure;
    measure.restart(carriers, settings);
    const std::size_t maxBytes =
        GetParam().memoryInStates > 0
            ? static_cast<std::size_t>(GetParam().memoryInStates * measure.keptBytes())
            : PlanHistory::defaultMaxBytes;
    PlanHistory history(GetParam().maxSteps, maxBytes);
    history.restart(carriers, settings);
    for (int step = 0; step < 12; ++step) {
        carriers.shift(1.0); // every carrier moves: a whole new state each time
        ASSERT_TRUE(history.record(carriers, settings, "Shift Carriers"));
        EXPECT_LE(history.keptBytes(), maxBytes);
    }
    EXPECT_EQ(history.undoSteps(), GetParam().keptSteps);
    EXPECT_TRUE(history.changed());
    while (history.undo(carriers, settings)) {
    }
    EXPECT_DOUBLE_EQ(carriers[0].centreFrequencyMhz, 6012.0 - GetParam().keptSteps);
    EXPECT_TRUE(history.changed()) << "the saved state was dropped";
}

INSTANTIATE_TEST_SUITE_P(Limits, HistoryLimit,
                         ::testing::Values(LimitCase{"Steps", 5, 0.0, 5},
                                           LimitCase{"Memory", 100, 4.5, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlanHistorySharing, AChangeToOneCarrierOfALargePlanKeepsAboutOneBlock)
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
