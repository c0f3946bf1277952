#include "app/editing_commands.h"

#include "app/scripted_interaction.h"
#include "dialogs/help_request.h"

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
using Carriers = std::vector<std::pair<double, double>>; // centre and bandwidth in MHz
using Labels = std::vector<std::string>;

constexpr CommandOutcome refreshed{true, true};
constexpr CommandOutcome nothing{false, false};

Carrier carrierAt(double centreMhz, const std::string& label, double bandwidthMhz = 1.35)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, 20.0, 1.35);
    carrier.label = label;
    return carrier;
}

Labels labelsOf(const CarrierList& list)
{
    Labels labels;
    for (const Carrier& carrier : list)
        labels.push_back(carrier.label);
    return labels;
}

// A carrier dialog answer: moves the carrier's centre, then OK.
std::function<bool(Carrier&)> okWithCentre(double centreMhz)
{
    return [centreMhz](Carrier& carrier) { return carrier.setCentreFrequency(centreMhz), true; };
}

class EditingCommandsTest : public ::testing::Test {
protected:
    EditingCommandsTest() { document.applyPlanDefaults(); }
    void add(const Carriers& carriers)
    {
        for (const auto& [centreMhz, bandwidthMhz] : carriers)
            document.carriers.append(carrierAt(
                centreMhz, "C" + std::to_string(document.carriers.count()), bandwidthMhz));
    }
    double viewStart() const { return document.displaySettings.viewStartMhz; }
    double viewStop() const { return document.displaySettings.viewStopMhz; }

    PlanDocument document;
    ScriptedInteraction user;
};

using Command = CommandOutcome (*)(PlanDocument&, UserInteraction&);

struct AddCase {
    const char* name;
    Command command;
    int calcMode;
};

class AddCarrierCommand : public EditingCommandsTest,
                          public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddCarrierCommand, OffersADefaultCarrierOfItsModeAndAppendsItOnOk)
{
    add({{5900.0, 1.35}});
    EXPECT_EQ(GetParam().command(document, user), refreshed) << "Cancel";
    user.carrierDialog = [](Carrier& carrier) { return carrier.label = "new", true; };
    EXPECT_EQ(GetParam().command(document, user), refreshed);
    ASSERT_EQ(user.editedCarriers.size(), 2u);
    EXPECT_EQ(user.editedCarriers[1].calcMode, GetParam().calcMode);
    EXPECT_EQ(user.editedCarriers[1].centreFrequencyMhz, 6000.0);
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C0", "new"}));
    EXPECT_TRUE(user.yesNoHelpKeys.empty()) << "a default carrier lies inside the default view";
}

INSTANTIATE_TEST_SUITE_P(Modes, AddCarrierCommand,
                         ::testing::Values(AddCase{"Fixed", addFixedCarrier, calcModeFixed},
                                           AddCase{"Fec", addFecCarrier, calcModeFec},
                                           AddCase{"Spectral", addSpectralCarrier,
                                                   calcModeSpectral}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ViewCase {
    const char* name;
    double centreMhz;
    double bandwidthMhz;
    bool answer;
    bool asked;
    double startMhz; // the view afterwards
    double stopMhz;
};

class ViewRangeCheck : public EditingCommandsTest,
                       public ::testing::WithParamInterface<ViewCase> {};

// Edges on the limits are inside; Yes widens the view on the sides the carrier sticks out.
TEST_P(ViewRangeCheck, AsksForACarrierOutsideTheViewAndOnlyEverWidensIt)
{
    const ViewCase& c = GetParam();
    user.yesNoAnswer = c.answer;
    user.carrierDialog = [&c](Carrier& carrier) {
        carrier.setFixedBandwidth(c.centreMhz, c.bandwidthMhz, 20.0, 1.35);
        return true;
    };
    addFixedCarrier(document, user);
    EXPECT_EQ(user.yesNoHelpKeys,
              c.asked ? std::vector<unsigned>{helpKey::adjustView} : std::vector<unsigned>{});
    EXPECT_DOUBLE_EQ(viewStart(), c.startMhz);
    EXPECT_DOUBLE_EQ(viewStop(), c.stopMhz);
    EXPECT_EQ(document.carriers.count(), 1) << "the carrier is added either way";
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, ViewRangeCheck,
    ::testing::Values(ViewCase{"OnTheStart", 5850.675, 1.35, false, false, 5850.0, 6425.0},
                      ViewCase{"OnTheStop", 6424.325, 1.35, false, false, 5850.0, 6425.0},
                      ViewCase{"AboveAnsweredNo", 6430.0, 1.35, false, true, 5850.0, 6425.0},
                      ViewCase{"AboveAnsweredYes", 6430.0, 1.35, true, true, 5850.0, 6430.675},
                      ViewCase{"BelowAnsweredYes", 5000.0, 1.35, true, true, 4999.325, 6425.0},
                      ViewCase{"WiderThanTheView", 6000.0, 1000.0, true, true, 5500.0, 6500.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingCommandsTest, ModifyListsThePlanByFrequencyAndChangesThePickInPlace)
{
    add({{6010.0, 1.35}, {6000.0, 1.35}});
    EXPECT_EQ(modifyCarrier(document, user), refreshed) << "OK without a pick";
    user.pickedIndex = 1;
    EXPECT_EQ(modifyCarrier(document, user), refreshed) << "the carrier dialog cancelled";
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C1", "C0"}));
    user.yesNoAnswer = true;
    user.carrierDialog = okWithCentre(5800.0);
    EXPECT_EQ(modifyCarrier(document, user), refreshed);
    EXPECT_EQ(user.selections[0].listed.front().label, "C1");
    ASSERT_EQ(user.editedCarriers.size(), 2u);
    EXPECT_EQ(user.editedCarriers[1].label, "C0");
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C1", "C0"}));
    EXPECT_EQ(document.carriers[1].centreFrequencyMhz, 5800.0);
    EXPECT_DOUBLE_EQ(viewStart(), 5799.325);
}

// The intermodulation table names carriers by their number in the plan sorted by frequency.
TEST_F(EditingCommandsTest, ModifyByNumberTakesTheCarrierOfThatNumberInTheSortedPlan)
{
    add({{6010.0, 1.35}, {6000.0, 1.35}});
    EXPECT_EQ(modifyCarrierNumber(document, user, 0), nothing);
    EXPECT_EQ(modifyCarrierNumber(document, user, 3), nothing);
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C0", "C1"})) << "not even sorted";
    user.carrierDialog = okWithCentre(6005.0);
    EXPECT_EQ(modifyCarrierNumber(document, user, 2), refreshed);
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C1", "C0"}));
    EXPECT_EQ(document.carriers[1].centreFrequencyMhz, 6005.0);
    EXPECT_TRUE(user.selections.empty());
}

TEST_F(EditingCommandsTest, DeleteRemovesThePickAndOnlyAPlanItEmptiesKeepsItsFile)
{
    add({{6010.0, 1.35}, {6000.0, 1.35}, {6020.0, 1.35}});
    const std::string file = "/plans/a.carriers.txt";
    document.carrierFilePath = file;
    EXPECT_EQ(deleteCarrier(document, user), refreshed) << "OK without a pick";
    EXPECT_EQ(document.carriers.count(), 3);
    EXPECT_EQ(document.carrierFilePath, "") << "the plan was sorted for the list";

    // The Delete key in the window: the marked carrier, found again after the sort.
    EXPECT_EQ(deleteCarrierAt(document, user, 3), nothing);
    document.carriers.replaceAt(*document.carriers.findIndex(0), carrierAt(6015.0, "C1"));
    EXPECT_EQ(deleteCarrierAt(document, user, 0), refreshed);
    EXPECT_EQ(user.selections.back().preselectedIndex, 1);
    EXPECT_EQ(labelsOf(document.carriers), (Labels{"C0", "C2"}));

    user.pickedIndex = 0;
    deleteCarrier(document, user);
    document.carrierFilePath = file;
    deleteCarrier(document, user);
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(document.carrierFilePath, file);
    EXPECT_EQ(deleteCarrier(document, user), refreshed);
    EXPECT_EQ(user.selections.size(), 4u) << "an empty plan shows no list";
}

TEST_F(EditingCommandsTest, ClearAllReinitialisesThePlanButNotTheColoursAfterOk)
{
    add({{6000.0, 1.35}});
    DisplaySettings& view = document.displaySettings;
    view.titleText = "Mine";
    view.viewStopMhz = 4200.0;
    view.carrierColour = rgbColour(0, 0, 255);
    document.carrierFilePath = "/plans/a.carriers.txt";
    EXPECT_EQ(clearAll(document, user), nothing);
    EXPECT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carrierFilePath, "/plans/a.carriers.txt");

    user.okCancelAnswer = true;
    EXPECT_EQ(clearAll(document, user), refreshed);
    EXPECT_EQ(user.okCancelQuestions, 2);
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(view.titleText, "Transponder Frequency Plan");
    EXPECT_EQ(viewStop(), 6425.0);
    EXPECT_EQ(document.carrierFilePath, "");
    EXPECT_EQ(view.carrierColour, rgbColour(0, 0, 255));
    EXPECT_FALSE(document.history.changed()) << "a fresh start has nothing to lose";
}

struct FitCase {
    const char* name;
    Carriers carriers;
    bool fits;
    double startMhz; // the view afterwards
    double stopMhz;
};

class FitCarriers : public EditingCommandsTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(FitCarriers, TakesTheOuterEdgesOfAPlanAboveZero)
{
    add(GetParam().carriers);
    EXPECT_EQ(fitCarriers(document), GetParam().fits ? refreshed : nothing);
    EXPECT_DOUBLE_EQ(viewStart(), GetParam().startMhz);
    EXPECT_DOUBLE_EQ(viewStop(), GetParam().stopMhz);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, FitCarriers,
    ::testing::Values(
        FitCase{"TwoCarriers", {{4010.0, 1.35}, {4000.0, 1.35}}, true, 3999.325, 4010.675},
        FitCase{"FromZero", {{0.5, 1.0}}, true, 0.0, 1.0},
        FitCase{"Empty", {}, false, 5850.0, 6425.0},
        FitCase{"ZeroBandwidth", {{6000.0, 0.0}}, false, 5850.0, 6425.0},
        FitCase{"BelowZero", {{0.2, 1.0}}, false, 5850.0, 6425.0},
        FitCase{"AllBelowZero", {{-5.0, 1.0}}, false, 5850.0, 6425.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct MoveCase {
    const char* name;
    Command command;
    Carriers carriers;
    std::optional<double> answer;
    std::vector<double> centresMhz; // afterwards, in list order
    const char* refusal;            // the message, when the plan stays as it was
};

class MoveCarriers : public EditingCommandsTest, public ::testing::WithParamInterface<MoveCase> {};

// Shift offers 0 and Scrunch the view start; neither ever asks about the view.
TEST_P(MoveCarriers, MovesEveryCarrierOrNoneAtAll)
{
    const MoveCase& c = GetParam();
    add(c.carriers);
    user.frequencyAnswer = c.answer;
    EXPECT_EQ(c.command(document, user), c.carriers.empty() ? nothing : refreshed);
    std::vector<double> centres;
    for (const Carrier& carrier : document.carriers)
        centres.push_back(carrier.centreFrequencyMhz);
    EXPECT_EQ(centres, c.centresMhz);
    const double offer = c.command == shiftCarriers ? 0.0 : viewStart();
    EXPECT_EQ(user.frequencyOffers,
              c.carriers.empty() ? std::vector<double>{} : std::vector<double>{offer});
    EXPECT_EQ(user.messages.empty() ? "" : user.messages[0].text, c.refusal);
    EXPECT_EQ(document.history.undoName().has_value(),
              !*c.refusal && c.answer && !c.carriers.empty());
    EXPECT_TRUE(user.yesNoHelpKeys.empty());
    EXPECT_EQ(viewStart(), 5850.0);
}

const char* const shiftedRange =
    "The shifted centre frequency must lie between -1000000000000 and 1000000000000 MHz.";
const char* const scrunchedRange =
    "The scrunched centre frequency must lie between -1000000000000 and 1000000000000 MHz.";

INSTANTIATE_TEST_SUITE_P(
    Commands, MoveCarriers,
    ::testing::Values(
        MoveCase{"ShiftMirrorsBelowZero",
                 shiftCarriers,
                 {{6000, 1}, {-100, 1}},
                 -7000.0,
                 {1000, 7100},
                 ""},
        MoveCase{"ShiftToTheFileLimit", shiftCarriers, {{6000, 1}}, 1e12 - 6000, {1e12}, ""},
        MoveCase{"ShiftBeyondIt", shiftCarriers, {{6000, 1}}, 1e12 - 5999, {6000}, shiftedRange},
        MoveCase{"ShiftCancelled", shiftCarriers, {{6000, 1}}, std::nullopt, {6000}, ""},
        MoveCase{"ShiftOfNoCarrier", shiftCarriers, {}, 10.0, {}, ""},
        MoveCase{"ScrunchPacksByFrequency",
                 scrunchCarriers,
                 {{6000, 1.35}, {5990, 2.7}},
                 5850.0,
                 {5851.35, 5853.375},
                 ""},
        MoveCase{"ScrunchBeyondTheFileLimit",
                 scrunchCarriers,
                 {{6000, 1}, {6010, 1}},
                 1e12 - 1,
                 {6000, 6010},
                 scrunchedRange},
        MoveCase{"ScrunchCancelled", scrunchCarriers, {{6000, 1}}, std::nullopt, {6000}, ""},
        MoveCase{"ScrunchOfNoCarrier", scrunchCarriers, {}, 10.0, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

class ModcodCommandTest : public EditingCommandsTest {
protected:
    ModcodCommandTest()
    {
        document.programDirectory = ORVANE_SOURCE_DIR "/data/modcod";
        user.folderAfterChoosing = "/somewhere/else";
    }
    const std::string dvbS2 = ORVANE_SOURCE_DIR "/data/modcod/dvb-s2.modcod";
};

TEST_F(ModcodCommandTest, ThePickedEntryOpensItsDialogAndJoinsThePlan)
{
    user.chosenPaths = {dvbS2, dvbS2};
    EXPECT_EQ(addModcodCarrier(document, user), refreshed) << "OK without a pick";
    user.pickedIndex = 13;
    user.carrierDialog = okWithCentre(6100.0);
    EXPECT_EQ(addModcodCarrier(document, user), refreshed);

    EXPECT_EQ(user.chooserFolders, (Labels{document.programDirectory, document.programDirectory}));
    EXPECT_EQ(document.lastPath, "") << "the catalogue's folder is not the plans' folder";
    ASSERT_EQ(user.selections.size(), 2u);
    EXPECT_EQ(user.selections[0].caption,
              "MODCOD File : DVB-S2 normal frames, quasi-error-free (ETSI EN 302 307-1 Table 13)");
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    const Carrier& offered = user.editedCarriers[0];
    EXPECT_EQ(offered.label, "DVB-S2 8PSK 3/4");
    EXPECT_EQ(offered.calcMode, calcModeSpectral);
    EXPECT_EQ(offered.spectralEfficiency, 2.228124);
    EXPECT_EQ(offered.rolloffFactor, 1.2);
    ASSERT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carriers[0].centreFrequencyMhz, 6100.0);
    EXPECT_TRUE(user.messages.empty());

    user.chosenPaths = {ORVANE_SOURCE_DIR "/data/modcod/dvb-s.modcod"};
    user.pickedIndex = 2;
    user.carrierDialog = [](Carrier&) { return false; };
    addModcodCarrier(document, user);
    EXPECT_EQ(user.editedCarriers.back().calcMode, calcModeFec);
    EXPECT_EQ(user.editedCarriers.back().rsN, 204.0);
    EXPECT_EQ(user.editedCarriers.back().fecRate, 0.75);
    EXPECT_EQ(document.carriers.count(), 1);
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

} // namespace
} // namespace test
} // namespace orvane
