#include "app/file_commands.h"
#include "scripted_interaction.h"

#include "files/file_error.h"
#include "report/intermod_report.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane::test {
namespace {

using Paths = std::vector<std::string>;

const std::string examplePlan = ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt";

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest()
    {
        document.lastPath = "/start/here";
        document.applyPlanDefaults();
    }
    void addCarriers(int count)
    {
        for (int index = count - 1; index >= 0; --index) {
            Carrier carrier;
            carrier.setFixedBandwidth(6000.0 + 10.0 * index, 1.35, -999.0, 1.35);
            carrier.label = std::string(1, static_cast<char>('A' + index));
            document.carriers.append(carrier);
        }
    }
    DisplaySettings& view() { return document.displaySettings; }

    TempFolder folder;
    PlanDocument document;
    testing::ScriptedInteraction user;
};

TEST_F(FileCommandsTest, LoadTakesThePlanItsTitleAndViewAndAFailedOneKeepsOnlyTitleAndView)
{
    addCarriers(1);
    document.carrierFilePath = "/old/plan.txt";
    EXPECT_TRUE(loadCarriers(document, user).refreshMenu) << "Cancel";
    EXPECT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carrierFilePath, "/old/plan.txt");
    EXPECT_EQ(document.lastPath, "/start/here");

    user.chosenPaths = {examplePlan, folder.file("missing.txt")};
    EXPECT_TRUE(loadCarriers(document, user).repaint);
    EXPECT_EQ(user.chooserFolders[1], "/start/here");
    EXPECT_EQ(document.lastPath, ORVANE_SOURCE_DIR "/examples");
    EXPECT_EQ(document.carrierFilePath, examplePlan);
    EXPECT_EQ(document.carriers.count(), 7);
    EXPECT_EQ(view().titleText, "C-band transponder 3 (5965-6001 MHz uplink, 36 MHz)");
    EXPECT_EQ(view().viewStartMhz, 5960.0);
    EXPECT_EQ(view().viewStopMhz, 6006.0);
    EXPECT_FALSE(document.history.changed());

    view().titleText = "Mine";
    EXPECT_TRUE(loadCarriers(document, user).refreshMenu);
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(view().titleText, "Mine");
    EXPECT_EQ(view().viewStopMhz, 6006.0);
    EXPECT_EQ(document.carrierFilePath, "");
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text,
              fileErrorText(FileErrorCause::fileNotFound, folder.file("missing.txt")));
    EXPECT_EQ(user.busyCount, 2);
    EXPECT_EQ(user.busyDepth, 0);
}

TEST_F(FileCommandsTest, SaveWritesTitleAndViewAndTakesThePathEvenWhenItFails)
{
    user.chosenPaths = {folder.file("never.txt")};
    saveCarriers(document, user);
    EXPECT_TRUE(user.chooserFolders.empty()) << "an empty plan has nothing to save";

    addCarriers(2);
    document.carrierFilePath = "/plans/old.txt";
    user.chosenPaths = {"", folder.file("a.txt"), folder.file("no-folder/b.txt")};
    saveCarriers(document, user);
    EXPECT_EQ(document.carrierFilePath, "/plans/old.txt") << "Cancel";
    view().titleText = "Line one\tLine two";
    view().viewStartMhz = 5990.0;
    const CommandOutcome outcome = saveCarriers(document, user);
    EXPECT_FALSE(outcome.refreshMenu || outcome.repaint);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(document.carrierFilePath, folder.file("a.txt"));
    EXPECT_EQ(document.lastPath, folder.path());
    EXPECT_EQ(folder.names(), Paths{"a.txt"});

    PlanDocument reloaded;
    loadCarriersFrom(reloaded, user, folder.file("a.txt"));
    EXPECT_EQ(reloaded.carriers.count(), 2);
    EXPECT_EQ(reloaded.displaySettings.titleText, "Line one\tLine two");
    EXPECT_EQ(reloaded.displaySettings.viewStartMhz, 5990.0);
    EXPECT_EQ(reloaded.displaySettings.viewStopMhz, 6425.0);

    saveCarriers(document, user);
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(document.carrierFilePath, folder.file("no-folder/b.txt"))
        << "the next image suggests its name";
}

TEST_F(FileCommandsTest, SaveImageSuggestsTheCarrierFileNameAndWritesTheChosenFormat)
{
    EXPECT_EQ(suggestedImageName(""), "");
    document.carrierFilePath = "/plans/a.carriers.txt";
    user.chosenPaths = {folder.file("picture"), folder.file("picture")};
    user.chosenFilter = 1;
    std::vector<std::pair<std::string, ImageFormat>> written;
    const PlanImageWriter writer = [&](const std::string& path, ImageFormat format) {
        written.emplace_back(path, format);
        return written.size() == 1 ? std::string() : std::string("Disk full");
    };
    saveImage(document, user, writer);
    saveImage(document, user, writer);
    EXPECT_EQ(user.suggestedNames[0], "a.carriers.txt.bmp");
    EXPECT_EQ(written[0], std::make_pair(folder.file("picture"), ImageFormat::png));
    EXPECT_EQ(document.lastPath, folder.path());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Disk full");
    EXPECT_EQ(user.messages[0].caption, "Error");
    saveImage(document, user, writer);
    EXPECT_EQ(written.size(), 2u) << "Cancel";
    EXPECT_EQ(user.busyDepth, 0);
}

// The extension typed wins; else the file type chosen, in the chooser's order BMP, PNG, SVG.
TEST(ImageFormatChoice, FollowsTheExtensionElseTheChosenFileType)
{
    const std::pair<ChosenFile, ImageFormat> choices[] = {
        {{"/p/plan.bmp", 2}, ImageFormat::bmp}, {{"/p/plan.PNG", 0}, ImageFormat::png},
        {{"/p/plan.Svg", 1}, ImageFormat::svg}, {{"/p.svg/plan.v2", 1}, ImageFormat::png},
        {{"/p/plan", 2}, ImageFormat::svg},     {{"/p/plan.v2", 0}, ImageFormat::bmp},
        {{"/p/plan", 3}, ImageFormat::bmp},     {{"/p/plan", -1}, ImageFormat::bmp}};
    for (const auto& [chosen, format] : choices)
        EXPECT_EQ(imageFormatFor(chosen), format) << chosen.path << " " << chosen.filterIndex;
}

TEST_F(FileCommandsTest, ReportIsWrittenForThePlanSortedOpenedAndACancelLeavesTheEarlierOne)
{
    addCarriers(2);
    EXPECT_TRUE(saveReport(document, user).refreshMenu) << "Cancel";
    EXPECT_EQ(document.lastPath, "/start/here");

    const std::string report = folder.file("r.csv");
    put(report, "earlier report");
    user.chosenPaths = {report, report, report};
    user.cancelWork = true;
    saveReport(document, user);
    EXPECT_EQ(folder.names(), Paths{"r.csv"});
    EXPECT_EQ(contentOf(report), "earlier report");
    EXPECT_TRUE(user.openedPaths.empty());

    user.cancelWork = false;
    EXPECT_TRUE(saveReport(document, user).repaint);
    EXPECT_EQ(contentOf(report), expectedDocument("report/two-carriers.csv"));
    EXPECT_EQ(document.carriers[0].label, "A");
    EXPECT_EQ(user.openedPaths, Paths{report});
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(document.lastPath, folder.path());

    user.openResult = 31;
    saveReport(document, user);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, openErrorText(31, report));
    EXPECT_EQ(user.messages[0].icon, MessageIcon::none);
}

struct UnsavedCase {
    bool changed;
    bool emptied; // the change left no carrier, so there is nothing to save
    UnsavedChangesAnswer answer;
    const char* savePath; // answer to the save chooser: "" cancels it
    bool loadGoesOn;
};

class UnsavedChanges : public FileCommandsTest,
                       public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedChanges, AreOfferedForSavingBeforeALoadReplacesThePlan)
{
    const UnsavedCase& c = GetParam();
    addCarriers(2);
    document.history.restart(document.carriers, document.displaySettings);
    if (c.changed) {
        c.emptied ? document.carriers.removeAll() : document.carriers.shift(1.0);
        document.history.record(document.carriers, document.displaySettings, "Shift Carriers");
    }
    user.saveChangesAnswer = c.answer;
    const std::string savePath = *c.savePath ? folder.file(c.savePath) : "";
    if (c.answer == UnsavedChangesAnswer::save)
        user.chosenPaths.push_back(savePath);
    user.chosenPaths.push_back(examplePlan);

    loadCarriers(document, user);

    EXPECT_EQ(user.saveChangesQuestions, c.changed && !c.emptied ? 1 : 0);
    EXPECT_EQ(document.carrierFilePath == examplePlan, c.loadGoesOn);
    EXPECT_EQ(document.carriers.count(), c.loadGoesOn ? 7 : 2);
    EXPECT_EQ(document.history.changed(), !c.loadGoesOn);
    EXPECT_EQ(std::filesystem::exists(savePath),
              c.answer == UnsavedChangesAnswer::save && c.loadGoesOn);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedChanges,
    ::testing::Values(UnsavedCase{false, false, UnsavedChangesAnswer::cancel, "", true},
                      UnsavedCase{true, false, UnsavedChangesAnswer::save, "kept.txt", true},
                      UnsavedCase{true, false, UnsavedChangesAnswer::save, "", false},
                      UnsavedCase{true, false, UnsavedChangesAnswer::save, "none/kept.txt", false},
                      UnsavedCase{true, false, UnsavedChangesAnswer::discard, "", true},
                      UnsavedCase{true, false, UnsavedChangesAnswer::cancel, "", false},
                      UnsavedCase{true, true, UnsavedChangesAnswer::cancel, "", true}));

TEST_F(FileCommandsTest, RecentPlansAreTheLastEightLoadedOrSaved)
{
    addCarriers(1);
    user.chosenPaths = {folder.file("a.txt"), folder.file("no-folder/b.txt")};
    saveCarriers(document, user);
    saveCarriers(document, user);
    loadCarriersFrom(document, user, folder.file("missing.txt"));
    loadCarriersFrom(document, user, examplePlan);
    EXPECT_EQ(document.recentPlans.paths(), (Paths{examplePlan, folder.file("a.txt")}));

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
    openRecentPlan(document, user, gone);
    EXPECT_EQ(document.recentPlans.paths(), Paths{examplePlan});
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].text.find(gone), std::string::npos);
    EXPECT_EQ(document.carriers.count(), 1);

    const std::string notes = folder.file("notes.txt");
    put(notes, std::string("\xFF\xFEP\0l\0a\0n\0", 10));
    openCarrierFile(document, user, notes);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, fileErrorText(FileErrorCause::utf16Text, notes));
}

} // namespace
} // namespace orvane::test
