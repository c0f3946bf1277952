#include "app/editing_commands.h"

#include "app/scripted_interaction.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace orvane {

// Found by argument-dependent lookup, so they live beside the type.
inline bool operator==(const CommandOutcome& a, const CommandOutcome& b)
{
    return a.refreshMenu == b.refreshMenu && a.repaint == b.repaint;
}

inline void PrintTo(const CommandOutcome& outcome, std::ostream* out)
{
    *out << "{refreshMenu " << outcome.refreshMenu << ", repaint " << outcome.repaint << "}";
}

namespace test {
namespace {

using orvane::testing::ScriptedInteraction;

const char* const adjustViewQuestion =
    "  Carrier is outside View Frequencies.  \n\n  Adjust View Frequencies?  \n";
constexpr CommandOutcome refreshed{true, true};

Carrier carrierAt(double centreMhz, const std::string& label, double bandwidthMhz = 1.35)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, 20.0, 1.35);
    carrier.label = label;
    return carrier;
}

std::vector<std::string> labelsOf(const CarrierList& list)
{
    std::vector<std::string> labels;
    for (const Carrier& carrier : list)
        labels.push_back(carrier.label);
    return labels;
}

// A carrier dialog answer: moves the carrier's centre, then OK.
std::function<bool(Carrier&)> okWithCentre(double centreMhz)
{
    return [centreMhz](Carrier& carrier) {
        carrier.setCentreFrequency(centreMhz);
        return true;
    };
}

class EditingCommandsTest : public ::testing::Test {
protected:
    EditingCommandsTest() { document.applyPlanDefaults(); }

    double viewStart() const { return document.displaySettings.viewStartMhz; }
    double viewStop() const { return document.displaySettings.viewStopMhz; }

    PlanDocument document;
    ScriptedInteraction user;
};

using AddCommand = CommandOutcome (*)(PlanDocument&, UserInteraction&);

struct AddCase {
    const char* name;
    AddCommand command;
    int calcMode;
};

class AddCarrierCommand : public EditingCommandsTest,
                          public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddCarrierCommand, OffersADefaultCarrierInItsDialogAndAppendsItOnOk)
{
    document.carriers.append(carrierAt(5900.0, "existing"));
    user.carrierDialog = [](Carrier& carrier) {
        carrier.label = "new";
        return true;
    };
    EXPECT_EQ(GetParam().command(document, user), refreshed);
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    const Carrier& offered = user.editedCarriers.front();
    EXPECT_EQ(offered.calcMode, GetParam().calcMode);
    EXPECT_EQ(offered.centreFrequencyMhz, 6000.0);
    EXPECT_EQ(labelsOf(document.carriers), (std::vector<std::string>{"existing", "new"}));
    EXPECT_TRUE(user.yesNoQuestions.empty()) << "a default carrier lies inside the default view";
}

TEST_P(AddCarrierCommand, CancelAddsNothingButStillRefreshes)
{
    EXPECT_EQ(GetParam().command(document, user), refreshed);
    EXPECT_TRUE(document.carriers.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, AddCarrierCommand,
                         ::testing::Values(AddCase{"Fixed", addFixedCarrier, calcModeFixed},
                                           AddCase{"Fec", addFecCarrier, calcModeFec},
                                           AddCase{"Spectral", addSpectralCarrier,
                                                   calcModeSpectral}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingCommandsTest, CarrierOutsideTheViewAsksAndYesWidensTheView)
{
    user.carrierDialog = okWithCentre(6430.0);
    user.yesNoAnswer = true;
    addFixedCarrier(document, user);
    ASSERT_EQ(user.yesNoQuestions.size(), 1u);
    EXPECT_EQ(user.yesNoQuestions[0].text, adjustViewQuestion);
    EXPECT_EQ(user.yesNoQuestions[0].helpKey, 143u);
    EXPECT_EQ(viewStart(), 5850.0);
    EXPECT_DOUBLE_EQ(viewStop(), 6430.675);
    EXPECT_EQ(document.carriers.count(), 1);
}

TEST_F(EditingCommandsTest, NoKeepsTheViewAndTheCarrier)
{
    user.carrierDialog = okWithCentre(6430.0);
    addFecCarrier(document, user);
    EXPECT_EQ(viewStop(), 6425.0);
    EXPECT_EQ(document.carriers.count(), 1);
}

TEST_F(EditingCommandsTest, ViewRangeCountsEdgesOnTheLimitsAsInsideAndOnlyEverWidens)
{
    checkViewRange(document, user, carrierAt(5850.675, "on the start"));
    checkViewRange(document, user, carrierAt(6424.325, "on the stop"));
    EXPECT_TRUE(user.yesNoQuestions.empty());

    user.yesNoAnswer = true;
    checkViewRange(document, user, carrierAt(6000.0, "wider than the view", 1000.0));
    EXPECT_EQ(viewStart(), 5500.0);
    EXPECT_EQ(viewStop(), 6500.0);
    checkViewRange(document, user, carrierAt(5000.0, "below"));
    EXPECT_DOUBLE_EQ(viewStart(), 4999.325);
    EXPECT_EQ(viewStop(), 6500.0) << "the view is never narrowed";
}

TEST_F(EditingCommandsTest, ModifyListsByFrequencyAndChangesTheCarrierInPlace)
{
    document.carriers.append(carrierAt(6010.0, "B"));
    document.carriers.append(carrierAt(6000.0, "A"));
    user.pickedIndex = 1;
    user.carrierDialog = [](Carrier& carrier) {
        carrier.powerDbw = 7.0;
        return true;
    };
    EXPECT_EQ(modifyCarrier(document, user), refreshed);
    ASSERT_EQ(user.selections.size(), 1u);
    EXPECT_EQ(user.selections[0].caption, "Modify Carrier :");
    EXPECT_EQ(user.selections[0].listed.front().label, "A");
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    EXPECT_EQ(user.editedCarriers[0].label, "B");
    EXPECT_EQ(labelsOf(document.carriers), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(document.carriers[1].powerDbw, 7.0);
}

TEST_F(EditingCommandsTest, ModifyHandsTheStoredCarrierToTheDialogAndChecksTheView)
{
    Carrier spectral;
    spectral.setSpectralFromDataRate(6000.0, 2048.0, 1.5, 8, 0.75, 20.0, 1.35);
    document.carriers.append(spectral);
    user.pickedIndex = 0;
    user.carrierDialog = okWithCentre(5800.0);
    user.yesNoAnswer = true;
    modifyCarrier(document, user);
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    EXPECT_EQ(user.editedCarriers[0].calcMode, calcModeSpectral);
    EXPECT_EQ(user.editedCarriers[0].spectralEfficiency, 1.5);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 5800.0);
    EXPECT_LT(viewStart(), 5800.0);
}

TEST_F(EditingCommandsTest, ModifyWithoutAPickOrWithCancelChangesNothing)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    EXPECT_EQ(modifyCarrier(document, user), refreshed);
    EXPECT_TRUE(user.editedCarriers.empty());

    user.pickedIndex = 0;
    user.carrierDialog = [](Carrier& carrier) {
        carrier.powerDbw = 1.0;
        return false;
    };
    modifyCarrier(document, user);
    EXPECT_EQ(document.carriers[0].powerDbw, 20.0);
}

TEST_F(EditingCommandsTest, DeletingTheOnlyCarrierKeepsTheCarrierFilePath)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.carrierFilePath = "/plans/a.carriers.txt";
    user.pickedIndex = 0;
    EXPECT_EQ(deleteCarrier(document, user), refreshed);
    EXPECT_EQ(user.selections[0].okButtonText, "DELETE");
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(document.carrierFilePath, "/plans/a.carriers.txt");
}

TEST_F(EditingCommandsTest, DeleteInALargerPlanForgetsTheCarrierFilePathEvenOnCancel)
{
    document.carriers.append(carrierAt(6010.0, "B"));
    document.carriers.append(carrierAt(6000.0, "A"));
    document.carrierFilePath = "/plans/a.carriers.txt";
    deleteCarrier(document, user);
    EXPECT_EQ(document.carriers.count(), 2);
    EXPECT_EQ(document.carrierFilePath, "");

    document.carrierFilePath = "/plans/a.carriers.txt";
    user.pickedIndex = 1;
    deleteCarrier(document, user);
    EXPECT_EQ(labelsOf(document.carriers), std::vector<std::string>{"A"});
    EXPECT_EQ(document.carrierFilePath, "");
}

TEST_F(EditingCommandsTest, ClearAllCancelDoesNothingAtAll)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.displaySettings.titleText = "Mine";
    document.carrierFilePath = "/plans/a.carriers.txt";
    EXPECT_EQ(clearAll(document, user), (CommandOutcome{false, false}));
    ASSERT_EQ(user.okCancelQuestions.size(), 1u);
    EXPECT_EQ(user.okCancelQuestions[0],
              "  Clear ALL Carriers and Reinitialise.\n \n  Are You Sure?  \n");
    EXPECT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carrierFilePath, "/plans/a.carriers.txt");
}

TEST_F(EditingCommandsTest, ClearAllOkReinitialisesThePlanButNotTheColours)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.displaySettings.titleText = "Mine";
    document.displaySettings.viewStartMhz = 3700.0;
    document.displaySettings.viewStopMhz = 4200.0;
    document.displaySettings.carrierColour = rgbColour(0, 0, 255);
    document.carrierFilePath = "/plans/a.carriers.txt";
    user.okCancelAnswer = true;
    EXPECT_EQ(clearAll(document, user), refreshed);
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(document.displaySettings.titleText, "Transponder Frequency Plan");
    EXPECT_EQ(viewStart(), 5850.0);
    EXPECT_EQ(document.carrierFilePath, "");
    EXPECT_EQ(document.displaySettings.carrierColour, rgbColour(0, 0, 255));
}

TEST_F(EditingCommandsTest, FitTakesTheOuterEdgesExactly)
{
    document.carriers.append(carrierAt(4010.0, "B"));
    document.carriers.append(carrierAt(4000.0, "A"));
    EXPECT_EQ(fitCarriers(document), refreshed);
    EXPECT_EQ(viewStart(), document.carriers.lowestEdgeMhz());
    EXPECT_DOUBLE_EQ(viewStart(), 3999.325);
    EXPECT_DOUBLE_EQ(viewStop(), 4010.675);
}

struct FitRefusal {
    const char* name;
    std::vector<std::pair<double, double>> carriers; // centre and bandwidth in MHz
};

class FitCarriersRefusal : public EditingCommandsTest,
                           public ::testing::WithParamInterface<FitRefusal> {};

TEST_P(FitCarriersRefusal, LeavesTheViewAndAsksForNoRefresh)
{
    for (const auto& [centreMhz, bandwidthMhz] : GetParam().carriers)
        document.carriers.append(carrierAt(centreMhz, "C", bandwidthMhz));
    EXPECT_EQ(fitCarriers(document), (CommandOutcome{false, false}));
    EXPECT_EQ(viewStart(), 5850.0);
    EXPECT_EQ(viewStop(), 6425.0);
}

INSTANTIATE_TEST_SUITE_P(Plans, FitCarriersRefusal,
                         ::testing::Values(FitRefusal{"Empty", {}},
                                           FitRefusal{"ZeroBandwidth", {{6000.0, 0.0}}},
                                           FitRefusal{"BelowZero", {{0.2, 1.0}}},
                                           FitRefusal{"AllAtOrBelowZero", {{-5.0, 1.0}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingCommandsTest, ScrunchOffersTheViewStartAndPacksFromThere)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.carriers.append(carrierAt(5990.0, "B", 2.7));
    document.displaySettings.viewStartMhz = 5900.0;
    user.frequencyAnswer = 5900.0;
    EXPECT_EQ(scrunchCarriers(document, user), refreshed);
    ASSERT_EQ(user.frequencyRequests.size(), 1u);
    EXPECT_EQ(user.frequencyRequests[0].caption, "Enter Start Frequency for Scrunch : ");
    EXPECT_EQ(user.frequencyRequests[0].initialMhz, 5900.0);
    EXPECT_EQ(labelsOf(document.carriers), (std::vector<std::string>{"B", "A"}));
    EXPECT_DOUBLE_EQ(document.carriers[0].lowerEdgeMhz(), 5900.0);
    EXPECT_DOUBLE_EQ(document.carriers[1].centreFrequencyMhz, 5903.375);
    EXPECT_TRUE(user.yesNoQuestions.empty());
}

TEST_F(EditingCommandsTest, ShiftOffersZeroAndLeavesTheView)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    user.frequencyAnswer = -7000.0;
    EXPECT_EQ(shiftCarriers(document, user), refreshed);
    ASSERT_EQ(user.frequencyRequests.size(), 1u);
    EXPECT_EQ(user.frequencyRequests[0].caption, "Enter Frequency Step for Carrier Shift : ");
    EXPECT_EQ(user.frequencyRequests[0].initialMhz, 0.0);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 1000.0);
    EXPECT_EQ(viewStart(), 5850.0);
    EXPECT_TRUE(user.yesNoQuestions.empty());
}

TEST_F(EditingCommandsTest, ShiftRefusesToMoveACarrierBeyondWhatAFileKeeps)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.carriers.append(carrierAt(-6000.0, "B"));
    user.frequencyAnswer = 1e12 - 6000.0;
    EXPECT_EQ(shiftCarriers(document, user), refreshed);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 1e12);
    user.frequencyAnswer = 1.0;
    EXPECT_EQ(shiftCarriers(document, user), refreshed);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The shifted centre frequency must lie between "
                                     "-1000000000000 and 1000000000000 MHz.");
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 1e12) << "no carrier moves";
}

TEST_F(EditingCommandsTest, ScrunchRefusesToPackACarrierBeyondWhatAFileKeeps)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    document.carriers.append(carrierAt(6010.0, "B"));
    user.frequencyAnswer = 1e12 - 1.0;
    EXPECT_EQ(scrunchCarriers(document, user), refreshed);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "The scrunched centre frequency must lie between "
                                     "-1000000000000 and 1000000000000 MHz.");
    EXPECT_EQ(document.carriers[1].centreFrequencyMhz, 6010.0) << "no carrier moves";
    EXPECT_FALSE(document.history.undoName().has_value());
}

TEST_F(EditingCommandsTest, ScrunchAndShiftCancelledStillRefresh)
{
    document.carriers.append(carrierAt(6000.0, "A"));
    EXPECT_EQ(scrunchCarriers(document, user), refreshed);
    EXPECT_EQ(shiftCarriers(document, user), refreshed);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 6000.0);
}

TEST_F(EditingCommandsTest, OnAnEmptyPlanModifyAndDeleteOnlyRefreshAndScrunchAndShiftDoNothing)
{
    user.frequencyAnswer = 10.0;
    EXPECT_EQ(modifyCarrier(document, user), refreshed);
    EXPECT_EQ(deleteCarrier(document, user), refreshed);
    EXPECT_EQ(scrunchCarriers(document, user), (CommandOutcome{false, false}));
    EXPECT_EQ(shiftCarriers(document, user), (CommandOutcome{false, false}));
    EXPECT_TRUE(user.selections.empty());
    EXPECT_TRUE(user.frequencyRequests.empty());
}

class ModcodCommandTest : public EditingCommandsTest {
protected:
    ModcodCommandTest()
    {
        document.programDirectory = ORVANE_SOURCE_DIR "/data/modcod";
        user.chosenPaths = {ORVANE_SOURCE_DIR "/data/modcod/dvb-s2.modcod"};
        user.folderAfterChoosing = "/somewhere/else";
    }
};

TEST_F(ModcodCommandTest, PickedEntryOpensItsDialogAndJoinsThePlan)
{
    user.pickedIndex = 13;
    user.carrierDialog = okWithCentre(6100.0);
    EXPECT_EQ(addModcodCarrier(document, user), refreshed);

    ASSERT_EQ(user.selections.size(), 1u);
    EXPECT_EQ(user.selections[0].caption,
              "MODCOD File : DVB-S2 normal frames, quasi-error-free (ETSI EN 302 307-1 Table 13)");
    EXPECT_GT(user.selections[0].listed.size(), 20u);
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    const Carrier& offered = user.editedCarriers[0];
    EXPECT_EQ(offered.label, "DVB-S2 8PSK 3/4");
    EXPECT_EQ(offered.spectralEfficiency, 2.228124);
    EXPECT_EQ(offered.rolloffFactor, 1.2);
    ASSERT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 6100.0);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(ModcodCommandTest, ChooserOpensInTheProgramDirectoryEveryTime)
{
    user.chosenPaths.push_back(user.chosenPaths.front());
    addModcodCarrier(document, user);
    addModcodCarrier(document, user);
    EXPECT_EQ(user.chooserFolders, (std::vector<std::string>{ORVANE_SOURCE_DIR "/data/modcod",
                                                             ORVANE_SOURCE_DIR "/data/modcod"}));
    EXPECT_EQ(document.programDirectory, ORVANE_SOURCE_DIR "/data/modcod");
    EXPECT_EQ(document.lastPath, "");
}

TEST_F(ModcodCommandTest, FecEntryGoesToItsDialogWithItsCode)
{
    user.chosenPaths = {ORVANE_SOURCE_DIR "/data/modcod/dvb-s.modcod"};
    user.pickedIndex = 2;
    addModcodCarrier(document, user);
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    EXPECT_EQ(user.editedCarriers[0].calcMode, calcModeFec);
    EXPECT_EQ(user.editedCarriers[0].rsN, 204.0);
    EXPECT_EQ(user.editedCarriers[0].fecRate, 0.75);
    EXPECT_TRUE(document.carriers.empty()) << "the dialog was cancelled";
}

TEST_F(ModcodCommandTest, CancelledChooserUnreadableOrEmptyFileShowsNoList)
{
    const std::string empty = ::testing::TempDir() + "orvane-empty.modcod";
    std::ofstream(empty) << "MODCOD\nNothing here\nR 1.2\n";
    user.chosenPaths = {"", ORVANE_SOURCE_DIR "/data/modcod/missing.modcod", empty};
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(addModcodCarrier(document, user), refreshed);
    std::remove(empty.c_str());
    EXPECT_TRUE(user.selections.empty());
    ASSERT_EQ(user.messages.size(), 1u) << "only the unreadable file has a message";
    EXPECT_NE(user.messages[0].text.find("missing.modcod"), std::string::npos);
}

TEST_F(ModcodCommandTest, OkWithoutAPickAddsNothing)
{
    EXPECT_EQ(addModcodCarrier(document, user), refreshed);
    EXPECT_EQ(user.selections.size(), 1u);
    EXPECT_TRUE(user.editedCarriers.empty());
    EXPECT_TRUE(document.carriers.empty());
}

} // namespace
} // namespace test
} // namespace orvane
