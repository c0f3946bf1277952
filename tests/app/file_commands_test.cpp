#include "app/file_commands.h"
#include "scripted_interaction.h"

#include "files/file_error.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace orvane {
namespace {

const std::string examplePlan =
    std::string(ORVANE_SOURCE_DIR) + "/examples/c-band-36mhz.carriers.txt";

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Carrier fixedCarrier(double centreMhz, const std::string& label)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, 1.35, -999.0, 1.35);
    carrier.label = label;
    return carrier;
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QFile::exists(QString::fromStdString(examplePlan))) << examplePlan;
        document.programDirectory = "/opt/orvane";
        document.lastPath = "/start/here";
        document.applyPlanDefaults();
    }
    std::string inFolder(const std::string& name) const
    {
        return QDir(folder.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    void addCarriers(int count)
    {
        for (int index = 0; index < count; ++index)
            document.carriers.append(
                fixedCarrier(6010.0 - 10.0 * index, "C" + std::to_string(index)));
    }

    QTemporaryDir folder;
    PlanDocument document;
    testing::ScriptedInteraction interaction;
};

TEST_F(FileCommandsTest, LoadTakesPlanTitleAndViewFromTheFile)
{
    interaction.chosenPaths = {examplePlan};
    const CommandOutcome outcome = loadCarriers(document, interaction);

    EXPECT_TRUE(outcome.repaint);
    EXPECT_EQ(interaction.chooserFolders.front(), "/start/here");
    EXPECT_EQ(document.lastPath, std::string(ORVANE_SOURCE_DIR) + "/examples");
    EXPECT_EQ(document.carrierFilePath, examplePlan);
    EXPECT_GT(document.carriers.count(), 2);
    EXPECT_EQ(document.displaySettings.titleText, document.carriers.title);
    EXPECT_DOUBLE_EQ(document.displaySettings.viewStartMhz, 5960.0);
    EXPECT_DOUBLE_EQ(document.displaySettings.viewStopMhz, 6006.0);
    EXPECT_EQ(interaction.busyCount, 1);
    EXPECT_EQ(interaction.busyDepth, 0);
}

TEST_F(FileCommandsTest, FailedLoadEmptiesThePlanButKeepsTitleAndView)
{
    addCarriers(2);
    document.carrierFilePath = "/old/plan.txt";
    document.displaySettings.titleText = "Mine";
    document.displaySettings.viewStartMhz = 3700.0;
    document.displaySettings.viewStopMhz = 4200.0;
    interaction.chosenPaths = {inFolder("missing.carriers.txt")};

    const CommandOutcome outcome = loadCarriers(document, interaction);

    EXPECT_TRUE(outcome.refreshMenu);
    EXPECT_TRUE(document.carriers.empty());
    EXPECT_EQ(document.displaySettings.titleText, "Mine");
    EXPECT_DOUBLE_EQ(document.displaySettings.viewStartMhz, 3700.0);
    EXPECT_DOUBLE_EQ(document.displaySettings.viewStopMhz, 4200.0);
    EXPECT_TRUE(document.carrierFilePath.empty());
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text,
              fileErrorText(FileErrorCause::fileNotFound, inFolder("missing.carriers.txt")));
    EXPECT_EQ(interaction.busyDepth, 0);
}

TEST_F(FileCommandsTest, CancelledLoadChangesNothingButStillRefreshes)
{
    addCarriers(1);
    document.carrierFilePath = "/old/plan.txt";
    const CommandOutcome outcome = loadCarriers(document, interaction);
    EXPECT_TRUE(outcome.refreshMenu);
    EXPECT_TRUE(outcome.repaint);
    EXPECT_EQ(document.carriers.count(), 1);
    EXPECT_EQ(document.carrierFilePath, "/old/plan.txt");
    EXPECT_EQ(document.lastPath, "/start/here");
}

TEST_F(FileCommandsTest, SaveWritesTitleAndViewAndKeepsThePath)
{
    addCarriers(2);
    document.displaySettings.titleText = "Line one\tLine two";
    document.displaySettings.viewStartMhz = 5990.0;
    interaction.chosenPaths = {inFolder("a.carriers.txt")};

    const CommandOutcome outcome = saveCarriers(document, interaction);

    EXPECT_FALSE(outcome.refreshMenu);
    EXPECT_FALSE(outcome.repaint);
    EXPECT_TRUE(interaction.messages.empty());
    EXPECT_EQ(document.carrierFilePath, inFolder("a.carriers.txt"));
    EXPECT_EQ(document.lastPath, folder.path().toStdString());
    const std::string written = readWhole(inFolder("a.carriers.txt"));
    EXPECT_EQ(written.rfind("Line one\tLine two\r\n", 0), 0u) << written;
    EXPECT_NE(written.find("F 5990.00000 6425.00000"), std::string::npos) << written;

    // What was saved loads back into a fresh window state.
    PlanDocument reloaded;
    interaction.chosenPaths = {inFolder("a.carriers.txt")};
    loadCarriers(reloaded, interaction);
    EXPECT_EQ(reloaded.carriers.count(), 2);
    EXPECT_EQ(reloaded.displaySettings.titleText, "Line one\tLine two");
    EXPECT_DOUBLE_EQ(reloaded.displaySettings.viewStartMhz, 5990.0);
}

TEST_F(FileCommandsTest, SaveOfAnEmptyPlanAsksNothing)
{
    interaction.chosenPaths = {inFolder("never.txt")};
    saveCarriers(document, interaction);
    EXPECT_TRUE(interaction.chooserFolders.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inFolder("never.txt"))));
}

TEST_F(FileCommandsTest, CancelledSaveKeepsTheCarrierFile)
{
    addCarriers(1);
    document.carrierFilePath = "/plans/old.txt";
    saveCarriers(document, interaction);
    EXPECT_EQ(document.carrierFilePath, "/plans/old.txt");
}

TEST_F(FileCommandsTest, FailedSaveStillTakesThePath)
{
    addCarriers(1);
    const std::string path = inFolder("no-such-folder/plan.txt");
    interaction.chosenPaths = {path};
    saveCarriers(document, interaction);
    EXPECT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(document.carrierFilePath, path);
}

TEST(SuggestedImageName, IsTheCarrierFileNameWithBmp)
{
    EXPECT_EQ(suggestedImageName("/plans/a.carriers.txt"), "a.carriers.txt.bmp");
    EXPECT_EQ(suggestedImageName("plan.txt"), "plan.txt.bmp");
    EXPECT_EQ(suggestedImageName(""), "");
}

TEST_F(FileCommandsTest, ImageCommandSuggestsANameAndWritesThroughTheWriter)
{
    document.carrierFilePath = "/plans/a.carriers.txt";
    interaction.chosenPaths = {inFolder("picture.bmp")};
    std::string writtenTo;
    saveImage(document, interaction, [&](const std::string& path, ImageFormat) {
        writtenTo = path;
        return std::string();
    });
    ASSERT_EQ(interaction.suggestedNames.size(), 1u);
    EXPECT_EQ(interaction.suggestedNames[0], "a.carriers.txt.bmp");
    EXPECT_EQ(writtenTo, inFolder("picture.bmp"));
    EXPECT_EQ(document.lastPath, folder.path().toStdString());
    EXPECT_TRUE(interaction.messages.empty());
}

TEST(ImageFormatChoice, TheTypedExtensionWinsElseTheChosenFileType)
{
    EXPECT_EQ(imageFormatFor({"/p/plan.bmp", 2}), ImageFormat::bmp);
    EXPECT_EQ(imageFormatFor({"/p/plan.PNG", 0}), ImageFormat::png);
    EXPECT_EQ(imageFormatFor({"/p/plan.Svg", 1}), ImageFormat::svg);
    EXPECT_EQ(imageFormatFor({"/p.svg/plan.v2", 1}), ImageFormat::png);
    EXPECT_EQ(imageFormatFor({"/p/plan", 2}), ImageFormat::svg);
    EXPECT_EQ(imageFormatFor({"/p/plan.v2", 0}), ImageFormat::bmp);
}

TEST_F(FileCommandsTest, ImageWriterFailureIsShownUnderError)
{
    interaction.chosenPaths = {inFolder("picture.bmp")};
    saveImage(document, interaction,
              [](const std::string&, ImageFormat) { return std::string("Disk full"); });
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text, "Disk full");
    EXPECT_EQ(interaction.messages[0].caption, "Error");
}

TEST_F(FileCommandsTest, ReportIsWrittenSortedAndOpened)
{
    document.carriers.append(fixedCarrier(6010.0, "B"));
    document.carriers.append(fixedCarrier(6000.0, "A"));
    const std::string path = inFolder("r.csv");
    interaction.chosenPaths = {path};

    const CommandOutcome outcome = saveReport(document, interaction);

    EXPECT_TRUE(outcome.repaint);
    EXPECT_EQ(interaction.openedPaths, std::vector<std::string>{path});
    EXPECT_TRUE(interaction.messages.empty());
    EXPECT_EQ(document.lastPath, folder.path().toStdString());
    EXPECT_EQ(document.carriers[0].label, "A");
    const std::string written = readWhole(path);
    EXPECT_NE(written.find("\"F1\",6000.00000,\"A\""), std::string::npos) << written;
    EXPECT_EQ(interaction.busyDepth, 0);
}

TEST_F(FileCommandsTest, ReportThatCannotBeOpenedSaysWhy)
{
    addCarriers(2);
    const std::string path = inFolder("r.htm");
    interaction.chosenPaths = {path};
    interaction.openResult = 31;
    saveReport(document, interaction);
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text, openErrorText(31, path));
    EXPECT_EQ(interaction.messages[0].icon, MessageIcon::none);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(FileCommandsTest, ReportCancelledWhileWrittenLeavesTheEarlierOne)
{
    addCarriers(2);
    const std::string path = inFolder("r.htm");
    std::ofstream(path) << "earlier report";
    interaction.chosenPaths = {path};
    interaction.cancelWork = true;
    saveReport(document, interaction);
    EXPECT_EQ(readWhole(path), "earlier report");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_TRUE(interaction.messages.empty());
    EXPECT_TRUE(interaction.openedPaths.empty());
}

TEST_F(FileCommandsTest, CancelledReportKeepsTheFolder)
{
    addCarriers(2);
    const CommandOutcome outcome = saveReport(document, interaction);
    EXPECT_TRUE(outcome.refreshMenu);
    EXPECT_EQ(document.lastPath, "/start/here");
    EXPECT_TRUE(interaction.openedPaths.empty());
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
    const UnsavedCase& unsaved = GetParam();
    addCarriers(2);
    document.history.restart(document.carriers, document.displaySettings);
    if (unsaved.changed) {
        unsaved.emptied ? document.carriers.removeAll() : document.carriers.shift(1.0);
        document.history.record(document.carriers, document.displaySettings, "Shift Carriers");
    }
    interaction.saveChangesAnswer = unsaved.answer;
    const std::string savePath = *unsaved.savePath ? inFolder(unsaved.savePath) : "";
    if (unsaved.answer == UnsavedChangesAnswer::save)
        interaction.chosenPaths.push_back(savePath);
    interaction.chosenPaths.push_back(examplePlan);

    loadCarriers(document, interaction);

    EXPECT_EQ(interaction.saveChangesQuestions.size(), unsaved.changed && !unsaved.emptied);
    EXPECT_EQ(document.carrierFilePath == examplePlan, unsaved.loadGoesOn);
    if (!unsaved.loadGoesOn) {
        EXPECT_EQ(document.carriers.count(), 2);
    }
    EXPECT_EQ(document.history.changed(), !unsaved.loadGoesOn);
    EXPECT_EQ(QFile::exists(QString::fromStdString(savePath)),
              unsaved.answer == UnsavedChangesAnswer::save && unsaved.loadGoesOn);
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
    interaction.chosenPaths = {inFolder("a.txt"), inFolder("no-folder/b.txt")};
    saveCarriers(document, interaction);
    saveCarriers(document, interaction);
    loadCarriersFrom(document, interaction, inFolder("missing.txt"));
    loadCarriersFrom(document, interaction, examplePlan);
    EXPECT_EQ(document.recentPlans.paths(),
              (std::vector<std::string>{examplePlan, inFolder("a.txt")}));

    RecentPlans recent;
    recent.assign({"/x", "", "/x", "/p0"});
    for (int index = 1; index < 9; ++index)
        recent.add("/p" + std::to_string(index));
    recent.add("/p5");
    EXPECT_EQ(recent.paths(),
              (std::vector<std::string>{"/p5", "/p8", "/p7", "/p6", "/p4", "/p3", "/p2", "/p1"}));
}

TEST_F(FileCommandsTest, ARecentPlanThatIsGoneLeavesTheListWithAMessage)
{
    addCarriers(1);
    const std::string gone = inFolder("gone.txt");
    document.recentPlans.assign({gone, examplePlan});
    openRecentPlan(document, interaction, gone);
    EXPECT_EQ(document.recentPlans.paths(), std::vector<std::string>{examplePlan});
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_NE(interaction.messages[0].text.find(gone), std::string::npos);
    EXPECT_EQ(document.carriers.count(), 1);
}

TEST_F(FileCommandsTest, ADroppedFileThatIsNoPlanGivesTheLoadMessage)
{
    const std::string path = inFolder("notes.txt");
    std::ofstream(path, std::ios::binary) << std::string("\xFF\xFEP\0l\0a\0n\0", 10);
    openCarrierFile(document, interaction, path);
    ASSERT_EQ(interaction.messages.size(), 1u);
    EXPECT_EQ(interaction.messages[0].text, fileErrorText(FileErrorCause::utf16Text, path));
}

} // namespace
} // namespace orvane
