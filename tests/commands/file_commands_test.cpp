#include "commands/editing_commands.h"
#include "commands/file_commands.h"
#include "commands/scripted_interaction.h"

#include "support/temp_folder.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

namespace orvane::test {
namespace {

using Paths = std::vector<std::string>;

const std::string examplePlan = ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt";

// A scene in a temporary folder, written $TMP in the transcript, starting in /start/here.
struct FileScene : testing::CommandScene {
    FileScene()
    {
        document.lastPath = "/start/here";
        aliases.emplace_back(folder.path(), "$TMP");
    }
    // Carriers A, B, ... 10 MHz apart from 6000 MHz up, appended from the highest down.
    void addCarriers(int count)
    {
        for (int index = count - 1; index >= 0; --index)
            document.carriers.append(testing::fixedCarrier(
                6000.0 + 10.0 * index, 1.35, std::string(1, char('A' + index)), -999.0));
    }

    TempFolder folder;
};

class FileCommandsTest : public ::testing::Test, public FileScene {};

// A failed load empties the plan but keeps the title and the view of the one before.
TEST_F(FileCommandsTest, LoadTakesThePlanItsTitleAndView)
{
    addCarriers(1);
    document.carrierFilePath = "/old/plan.txt";
    step("Cancel", loadCarriers(document, user));
    user.chosenPaths = {examplePlan, folder.file("missing.txt")};
    step("Example", loadCarriers(document, user));
    document.displaySettings.titleText = "Mine";
    step("Missing", loadCarriers(document, user));
    expectGolden(transcript, "commands/load.txt");
}

// The path is taken even when the save fails, so that the next image suggests its name.
TEST_F(FileCommandsTest, SaveWritesTitleAndViewAndTakesThePathEvenWhenItFails)
{
    user.chosenPaths = {folder.file("never.txt")};
    step("Empty plan", saveCarriers(document, user));
    addCarriers(2);
    document.carrierFilePath = "/plans/old.txt";
    user.chosenPaths = {"", folder.file("a.txt"), folder.file("no-folder/b.txt")};
    step("Cancel", saveCarriers(document, user));
    document.displaySettings.titleText = "Line one\tLine two";
    document.displaySettings.viewStartMhz = 5990.0;
    step("a.txt", saveCarriers(document, user));
    EXPECT_EQ(folder.names(), Paths{"a.txt"});
    step("Into no folder", saveCarriers(document, user));
    document = PlanDocument();
    step("Reloaded", loadCarriersFrom(document, user, folder.file("a.txt")));
    expectGolden(transcript, "commands/save.txt");
}

TEST_F(FileCommandsTest, SaveImageSuggestsTheCarrierFileNameAndWritesTheChosenFormat)
{
    EXPECT_EQ(suggestedImageName(""), "");
    document.carrierFilePath = "/plans/a.carriers.txt";
    user.chosenPaths = {folder.file("picture"), folder.file("picture")};
    user.chosenFilter = 1;
    int writes = 0;
    const PlanImageWriter writer = [&](const std::string& path, ImageFormat format) {
        user.log += "write " + path + " as " + std::to_string(static_cast<int>(format)) + "\n";
        return ++writes == 1 ? std::string() : std::string("Disk full");
    };
    for (const char* name : {"Written", "Disk full", "Cancel"})
        step(name, saveImage(document, user, writer));
    expectGolden(transcript, "commands/save-image.txt");
}

// The extension typed wins, in any letter case; else the file type chosen, in the chooser's
// order BMP, PNG, SVG.
TEST(ImageFormatChoice, FollowsTheExtensionElseTheChosenFileType)
{
    const std::pair<ChosenFile, ImageFormat> choices[] = {
        {{"/p/plan.BMP", 2}, ImageFormat::bmp},  {{"/p/plan.v2.PNG", 0}, ImageFormat::png},
        {{"/p/plan.Svg", 1}, ImageFormat::svg},  {{"/p.svg/plan.v2", 1}, ImageFormat::png},
        {{"/p/plan", 2}, ImageFormat::svg},      {{"/p/plan.v2", 0}, ImageFormat::bmp},
        {{"/p/plan", 3}, ImageFormat::bmp},      {{"/p/plan", -1}, ImageFormat::bmp},
        {{".svg", 0}, ImageFormat::svg},         {{"svg", 1}, ImageFormat::png},
        {{"plan.bmp.txt", 2}, ImageFormat::svg}, {{"plan.bmp/", 1}, ImageFormat::png},
        {{"plan.gif", 2}, ImageFormat::svg}};
    for (const auto& [chosen, format] : choices)
        EXPECT_EQ(imageFormatFor(chosen), format) << chosen.path << " " << chosen.filterIndex;
}

// The report is written for the plan sorted, then opened; a cancel leaves the earlier one, a
// failed write opens nothing.
TEST_F(FileCommandsTest, ReportIsWrittenOpenedAndACancelLeavesTheEarlierOne)
{
    addCarriers(2);
    step("Cancel", saveReport(document, user));
    const std::string report = folder.file("r.csv");
    put(report, "earlier report");
    user.chosenPaths = {report, report, report, folder.file("missing/r.csv")};
    user.cancelWork = true;
    step("Work cancelled", saveReport(document, user));
    EXPECT_EQ(folder.names(), Paths{"r.csv"});
    EXPECT_EQ(contentOf(report), "earlier report");
    user.cancelWork = false;
    step("Written", saveReport(document, user));
    EXPECT_EQ(contentOf(report), expectedDocument("report/two-carriers.csv"));
    user.openResult = 31;
    step("Not opened", saveReport(document, user));
    step("Failed write", saveReport(document, user)); // the writer's message; nothing opened
    user.chosenPaths = {report};
    user.workFailure = std::make_exception_ptr(std::bad_alloc());
    step("Out of memory", saveReport(document, user));
    expectGolden(transcript, "commands/report.txt");
}

// The report numbers the carriers in frequency order and the plan keeps that order without it
// counting as a change: nothing to save at Exit, and a Fit that changes nothing records nothing.
TEST_F(FileCommandsTest, TheReportsSortIsNoChangeToSaveOrUndo)
{
    addCarriers(2);
    document.displaySettings.viewStartMhz = document.carriers.lowestEdgeMhz();
    document.displaySettings.viewStopMhz = document.carriers.highestEdgeMhz();
    document.history.restart(document.carriers, document.displaySettings);
    user.chosenPaths = {folder.file("r.csv")};
    saveReport(document, user);
    EXPECT_EQ(document.carriers[0].label, "A");
    fitCarriers(document);
    EXPECT_FALSE(document.history.changed());
    EXPECT_FALSE(document.history.undoName());
}

// The panel's table is saved as the user named it, with ".csv" added to a name without an
// extension; a failed write says why.
TEST_F(FileCommandsTest, TheAnalysisTableGetsCsvWhenNoExtensionIsTyped)
{
    IntermodPanelModel panel{PanelSettings()};
    step("No result", saveAnalysisTable(document, user, panel, "today"));
    addCarriers(2);
    panel.analysisStarted(document.carriers);
    panel.analysisFinished(std::make_shared<const IntermodAnalysis>(
        analyseIntermod(document.carriers, IntermodOptions())));
    user.chosenPaths = {folder.file("table"), folder.file("table.txt"), folder.file("no/t.csv")};
    for (int save = 0; save < 3; ++save)
        saveAnalysisTable(document, user, panel, "today");
    EXPECT_EQ(folder.names(), (Paths{"table.csv", "table.txt"}));
    EXPECT_EQ(contentOf(folder.file("table.txt")),
              panel.csv("Transponder Frequency Plan", "today"));
    EXPECT_NE(user.log.find("icon 2: " + folder.file("no/t.csv")), std::string::npos) << user.log;
}

// Unsaved changes are offered for saving before a load replaces the plan; a save that is
// cancelled or fails cancels the load.
TEST(UnsavedChanges, AreOfferedForSavingBeforeALoadReplacesThePlan)
{
    const struct {
        bool changed;
        bool emptied; // the change left no carrier, so there is nothing to save
        UnsavedChangesAnswer answer;
        const char* savePath; // answer to the save chooser: "" cancels it
    } cases[] = {{false, false, UnsavedChangesAnswer::cancel, ""},
                 {true, false, UnsavedChangesAnswer::save, "kept.txt"},
                 {true, false, UnsavedChangesAnswer::save, ""},
                 {true, false, UnsavedChangesAnswer::save, "none/kept.txt"},
                 {true, false, UnsavedChangesAnswer::discard, ""},
                 {true, false, UnsavedChangesAnswer::cancel, ""},
                 {true, true, UnsavedChangesAnswer::cancel, ""}};
    std::string transcript;
    for (const auto& c : cases) {
        FileScene scene;
        scene.addCarriers(2);
        PlanDocument& document = scene.document;
        document.history.restart(document.carriers, document.displaySettings);
        if (c.changed) {
            c.emptied ? document.carriers.removeAll() : document.carriers.shift(1.0);
            document.history.record(document.carriers, document.displaySettings, "Shift");
        }
        scene.user.saveChangesAnswer = c.answer;
        if (c.answer == UnsavedChangesAnswer::save)
            scene.user.chosenPaths.push_back(*c.savePath ? scene.folder.file(c.savePath) : "");
        scene.user.chosenPaths.push_back(examplePlan);
        const char* const answers[] = {"Save", "Discard", "Cancel"};
        scene.step(answers[static_cast<int>(c.answer)], loadCarriers(document, scene.user));
        transcript += scene.transcript;
        EXPECT_EQ(*c.savePath && std::filesystem::exists(scene.folder.file(c.savePath)),
                  c.savePath == std::string("kept.txt"));
    }
    expectGolden(transcript, "commands/unsaved-changes.txt");
}

// Plans loaded or saved join the recent plans (the transcripts show them).
TEST(RecentPlansList, KeepsTheLastEightWithoutRepeats)
{
    RecentPlans recent;
    recent.assign({"/x", "", "/x", "/p0"});
    for (int index = 1; index < 9; ++index)
        recent.add("/p" + std::to_string(index));
    recent.add("/p5");
    EXPECT_EQ(recent.paths(), (Paths{"/p5", "/p8", "/p7", "/p6", "/p4", "/p3", "/p2", "/p1"}));
}

TEST_F(FileCommandsTest, AGoneRecentPlanLeavesTheListAndADroppedFileThatIsNoPlanIsRefused)
{
    addCarriers(1);
    const std::string gone = folder.file("gone.txt");
    document.recentPlans.assign({gone, examplePlan});
    step("Gone", openRecentPlan(document, user, gone));
    const std::string notes = folder.file("notes.txt");
    put(notes, std::string("\xFF\xFEP\0l\0a\0n\0", 10));
    step("UTF-16", openCarrierFile(document, user, notes));
    expectGolden(transcript, "commands/gone-and-dropped.txt");
}

} // namespace
} // namespace orvane::test
