#include "app/file_commands.h"
#include "scripted_interaction.h"

#include "files/file_error.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <optional>
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

struct ImageFormatCase {
    const char* path;
    int chosenFilter;
    ImageFormat format;
};

class ImageFormatChoice : public FileCommandsTest,
                          public ::testing::WithParamInterface<ImageFormatCase> {};

TEST_P(ImageFormatChoice, TheTypedExtensionWinsElseTheChosenFileType)
{
    interaction.chosenPaths = {inFolder(GetParam().path)};
    interaction.chosenFilter = GetParam().chosenFilter;
    std::optional<ImageFormat> written;
    saveImage(document, interaction, [&](const std::string&, ImageFormat format) {
        written = format;
        return std::string();
    });
    EXPECT_EQ(written, GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageFormatChoice,
                         ::testing::Values(ImageFormatCase{"plan.bmp", 2, ImageFormat::bmp},
                                           ImageFormatCase{"plan.PNG", 0, ImageFormat::png},
                                           ImageFormatCase{"plan.Svg", 1, ImageFormat::svg},
                                           ImageFormatCase{"plan.v2", 1, ImageFormat::png},
                                           ImageFormatCase{"plan", 2, ImageFormat::svg},
                                           ImageFormatCase{"plan.v2", 0, ImageFormat::bmp}));

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

TEST_F(FileCommandsTest, CancelledReportKeepsTheFolder)
{
    addCarriers(2);
    const CommandOutcome outcome = saveReport(document, interaction);
    EXPECT_TRUE(outcome.refreshMenu);
    EXPECT_EQ(document.lastPath, "/start/here");
    EXPECT_TRUE(interaction.openedPaths.empty());
}

struct UnsavedCase {
    const char* name;
    bool changed;
    UnsavedChangesAnswer answer;
    const char* savePath; // answer to the save chooser: "" cancels it
    bool asked;
    bool loadGoesOn;
};

void PrintTo(const UnsavedCase& unsaved, std::ostream* out)
{
    *out << unsaved.name;
}

class UnsavedChanges : public FileCommandsTest,
                       public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedChanges, AreOfferedForSavingBeforeALoadReplacesThePlan)
{
    addCarriers(2);
    document.history.restart(document.carriers, document.displaySettings);
    if (GetParam().changed) {
        document.carriers.shift(1.0);
        document.history.record(document.carriers, document.displaySettings, "Shift Carriers");
    }
    interaction.saveChangesAnswer = GetParam().answer;
    const std::string savePath = *GetParam().savePath ? inFolder(GetParam().savePath) : "";
    if (GetParam().answer == UnsavedChangesAnswer::save)
        interaction.chosenPaths.push_back(savePath);
    interaction.chosenPaths.push_back(examplePlan);

    loadCarriers(document, interaction);

    EXPECT_EQ(interaction.saveChangesQuestions.size(), GetParam().asked ? 1u : 0u);
    EXPECT_EQ(document.carrierFilePath == examplePlan, GetParam().loadGoesOn);
    if (!GetParam().loadGoesOn) {
        EXPECT_EQ(document.carriers.count(), 2);
        EXPECT_TRUE(document.history.changed());
    }
    const bool saved = GetParam().answer == UnsavedChangesAnswer::save && GetParam().loadGoesOn;
    EXPECT_EQ(QFile::exists(QString::fromStdString(savePath)), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedChanges,
    ::testing::Values(
        UnsavedCase{"Unchanged", false, UnsavedChangesAnswer::cancel, "", false, true},
        UnsavedCase{"Save", true, UnsavedChangesAnswer::save, "kept.txt", true, true},
        UnsavedCase{"SaveChooserCancelled", true, UnsavedChangesAnswer::save, "", true, false},
        UnsavedCase{"SaveFails", true, UnsavedChangesAnswer::save, "no-folder/kept.txt", true,
                    false},
        UnsavedCase{"Discard", true, UnsavedChangesAnswer::discard, "", true, true},
        UnsavedCase{"Cancel", true, UnsavedChangesAnswer::cancel, "", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileCommandsTest, AnEmptyPlanIsNeverAskedAbout)
{
    addCarriers(1);
    document.history.restart(document.carriers, document.displaySettings);
    document.carriers.removeAll();
    document.history.record(document.carriers, document.displaySettings, "Delete Carrier");
    EXPECT_TRUE(settleUnsavedChanges(document, interaction));
    EXPECT_TRUE(interaction.saveChangesQuestions.empty());
}

TEST_F(FileCommandsTest, RecentPlansFollowLoadsAndSavesThatWorked)
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
    for (int index = 0; index < 10; ++index)
        recent.add("/p" + std::to_string(index));
    recent.add("/p5");
    EXPECT_EQ(recent.paths(),
              (std::vector<std::string>{"/p5", "/p9", "/p8", "/p7", "/p6", "/p4", "/p3", "/p2"}));
    recent.assign({"/x", "", "/y", "/x"});
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/x", "/y"}));
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

    openRecentPlan(document, interaction, examplePlan);
    EXPECT_EQ(document.carrierFilePath, examplePlan);
}

TEST_F(FileCommandsTest, AFileThatIsNoPlanGivesTheLoadMessages)
{
    const std::string path = inFolder("notes.txt");
    std::ofstream(path, std::ios::binary) << std::string("\xFF\xFEP\0l\0a\0n\0", 10);
    openCarrierFile(document, interaction, path);
    PlanDocument loaded;
    testing::ScriptedInteraction loadUser;
    loadCarriersFrom(loaded, loadUser, path);
    ASSERT_FALSE(interaction.messages.empty());
    EXPECT_EQ(interaction.messages.size(), loadUser.messages.size());
    EXPECT_EQ(interaction.messages[0].text, loadUser.messages[0].text);
}

} // namespace
} // namespace orvane
