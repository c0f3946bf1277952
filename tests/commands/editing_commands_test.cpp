#include "commands/editing_commands.h"

#include "commands/scripted_interaction.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {
namespace {

using orvane::testing::CommandScene;
using orvane::testing::ScriptedInteraction;
using Carriers = std::vector<std::pair<double, double>>; // centre and bandwidth in MHz
using Command = CommandOutcome (*)(PlanDocument&, UserInteraction&);

// A scene whose plan holds these carriers, labelled C0, C1, ... in this order.
struct Scene : CommandScene {
    explicit Scene(const Carriers& carriers = {})
    {
        for (const auto& [centreMhz, bandwidthMhz] : carriers)
            document.carriers.append(testing::fixedCarrier(
                centreMhz, bandwidthMhz, "C" + std::to_string(document.carriers.count())));
    }
};

// A carrier dialog answer: moves the carrier's centre, then OK.
std::function<bool(Carrier&)> okWithCentre(double centreMhz)
{
    return [centreMhz](Carrier& carrier) { return carrier.setCentreFrequency(centreMhz), true; };
}

// Each mode offers a default carrier, which lies inside the default view; OK appends it. For
// a carrier outside the view (edges on the limits are inside) the user is asked, and Yes
// widens the view on the sides the carrier sticks out; the carrier is added either way.
TEST(EditingCommands, AddOffersADefaultCarrierAndAsksAboutOneOutsideTheView)
{
    const struct {
        Command command;
        double centreMhz, bandwidthMhz; // the carrier's on OK; 0: the default carrier
        bool answer;
    } cases[] = {{addFecCarrier, 0, 0, false},
                 {addSpectralCarrier, 0, 0, false},
                 {addFixedCarrier, 0, 0, false},
                 {addFixedCarrier, 5850.675, 1.35, false},
                 {addFixedCarrier, 6424.325, 1.35, false},
                 {addFixedCarrier, 6430.0, 1.35, false},
                 {addFixedCarrier, 6430.0, 1.35, true},
                 {addFixedCarrier, 5000.0, 1.35, true},
                 {addFixedCarrier, 6000.0, 1000.0, true}};
    std::string transcript;
    for (const auto& c : cases) {
        Scene scene({{5900.0, 1.35}});
        scene.step("Cancel", c.command(scene.document, scene.user));
        scene.user.yesNoAnswer = c.answer;
        scene.user.carrierDialog = [&c](Carrier& carrier) {
            if (c.bandwidthMhz > 0)
                carrier.setFixedBandwidth(c.centreMhz, c.bandwidthMhz, 20.0, 1.35);
            return carrier.label = "new", true;
        };
        scene.step(c.answer ? "OK, Yes" : "OK, No", c.command(scene.document, scene.user));
        transcript += scene.transcript;
    }
    expectGolden(transcript, "commands/add-carrier.txt");
}

// The list is the plan sorted by frequency; the intermodulation table names carriers by their
// number in that order; the Delete key deletes the marked carrier, found again after the sort.
TEST(EditingCommands, ModifyAndDeleteActOnThePickInThePlanSortedByFrequency)
{
    Scene scene({{6010.0, 1.35}, {6000.0, 1.35}, {6020.0, 1.35}});
    PlanDocument& document = scene.document;
    ScriptedInteraction& user = scene.user;
    document.carrierFilePath = "/plans/a.carriers.txt";
    scene.step("Number 0", modifyCarrierNumber(document, user, 0));
    scene.step("Number 4", modifyCarrierNumber(document, user, 4));
    scene.step("Modify, OK without a pick", modifyCarrier(document, user));
    user.pickedIndex = 1;
    scene.step("Modify, dialog cancelled", modifyCarrier(document, user));
    user.yesNoAnswer = true;
    user.carrierDialog = okWithCentre(5800.0);
    scene.step("Modify to 5800", modifyCarrier(document, user));
    user.pickedIndex.reset();
    user.carrierDialog = okWithCentre(6030.0);
    scene.step("Number 3", modifyCarrierNumber(document, user, 3));
    scene.step("Delete, OK without a pick", deleteCarrier(document, user));
    scene.step("Delete key, none marked", deleteCarrierAt(document, user, 3));
    Carrier moved = document.carriers[0];
    moved.setCentreFrequency(6015.0);
    document.carriers.replaceAt(*document.carriers.findIndex(0), moved);
    scene.step("Delete key on the first, moved to 6015", deleteCarrierAt(document, user, 0));
    user.pickedIndex = 0;
    document.carrierFilePath = "/plans/b.carriers.txt";
    scene.step("Delete", deleteCarrier(document, user));
    document.carrierFilePath = "/plans/b.carriers.txt";
    scene.step("Delete the last", deleteCarrier(document, user));
    scene.step("Delete in an empty plan", deleteCarrier(document, user));
    expectGolden(scene.transcript, "commands/modify-and-delete.txt");
}

TEST(EditingCommands, ClearAllReinitialisesThePlanButNotTheColoursAfterOk)
{
    Scene scene({{6000.0, 1.35}});
    DisplaySettings& view = scene.document.displaySettings;
    view.titleText = "Mine";
    view.viewStopMhz = 4200.0;
    view.carrierColour = rgbColour(0, 0, 255);
    scene.document.carrierFilePath = "/plans/a.carriers.txt";
    scene.step("Cancel", clearAll(scene.document, scene.user));
    scene.user.okCancelAnswer = true;
    scene.step("OK", clearAll(scene.document, scene.user));
    EXPECT_EQ(view.carrierColour, rgbColour(0, 0, 255));
    expectGolden(scene.transcript, "commands/clear-all.txt");
}

// Shift offers 0 and Scrunch the view start; either moves every carrier or, when one would
// leave what a carrier file keeps, none; neither ever asks about the view. Fit takes the
// outer edges of a plan above zero, else leaves the view.
TEST(EditingCommands, ShiftAndScrunchMoveEveryCarrierOrNoneAndFitTakesTheEdges)
{
    const Command fit = [](PlanDocument& document, UserInteraction&) {
        return fitCarriers(document);
    };
    const struct {
        Command command;
        Carriers carriers;
        std::optional<double> answer;
    } cases[] = {{fit, {{4010.0, 1.35}, {4000.0, 1.35}}, {}},
                 {fit, {{0.5, 1.0}}, {}},
                 {fit, {}, {}},
                 {fit, {{6000.0, 0.0}}, {}},
                 {fit, {{0.2, 1.0}}, {}},
                 {fit, {{-5.0, 1.0}}, {}},
                 {shiftCarriers, {{6000, 1}, {-100, 1}}, -7000.0},
                 {shiftCarriers, {{6000, 1}}, 1e12 - 6000},
                 {shiftCarriers, {{6000, 1}}, 1e12 - 5999},
                 {shiftCarriers, {{6000, 1}}, std::nullopt},
                 {shiftCarriers, {}, 10.0},
                 {scrunchCarriers, {{6000, 1.35}, {5990, 2.7}}, 5850.0},
                 {scrunchCarriers, {{6000, 1}, {6010, 1}}, 1e12 - 1},
                 {scrunchCarriers, {{6000, 1}}, std::nullopt},
                 {scrunchCarriers, {}, 10.0}};
    std::string transcript;
    for (const auto& c : cases) {
        Scene scene(c.carriers);
        scene.user.frequencyAnswer = c.answer;
        scene.step(c.command == fit             ? "Fit"
                   : c.command == shiftCarriers ? "Shift"
                                                : "Scrunch",
                   c.command(scene.document, scene.user));
        transcript += scene.transcript;
    }
    expectGolden(transcript, "commands/move-and-fit.txt");
}

// The catalogue chooser opens in the program's folder and leaves the plans' folder alone; the
// picked entry opens the dialog of its kind; an empty or unreadable catalogue shows no list.
TEST(EditingCommands, AModcodEntryOpensItsDialogAndJoinsThePlan)
{
    Scene scene;
    ScriptedInteraction& user = scene.user;
    scene.document.programDirectory = ORVANE_SOURCE_DIR "/data/modcod";
    user.folderAfterChoosing = "/somewhere/else";
    const std::string folder = ORVANE_SOURCE_DIR "/data/modcod/";
    TempFolder temporary;
    const std::string empty = temporary.file("orvane-empty.modcod");
    scene.aliases.emplace_back(temporary.path(), "$TMP");
    put(empty, "MODCOD\nNothing here\nR 1.2\n");
    user.chosenPaths = {folder + "dvb-s2.modcod",  folder + "dvb-s2.modcod",
                        folder + "dvb-s.modcod",   "",
                        folder + "missing.modcod", empty};
    scene.step("OK without a pick", addModcodCarrier(scene.document, user));
    user.pickedIndex = 13;
    user.carrierDialog = okWithCentre(6100.0);
    scene.step("DVB-S2 8PSK 3/4", addModcodCarrier(scene.document, user));
    user.pickedIndex = 2;
    user.carrierDialog = [](Carrier&) { return false; };
    scene.step("DVB-S, cancelled", addModcodCarrier(scene.document, user));
    for (const char* chosen : {"chooser cancelled", "missing file", "empty file"})
        scene.step(chosen, addModcodCarrier(scene.document, user));
    expectGolden(scene.transcript, "commands/modcod-carrier.txt");
}

} // namespace
} // namespace orvane::test
