#include "app/application.h"
#include "app/chooser_filters.h"
#include "app/help_paths.h"
#include "app/help_window.h"
#include "app/qt_user_interaction.h"
#include "dialogs/help_request.h"
#include "support/modal_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <functional>
#include <thread>

namespace orvane {
namespace {

using test::whenModal;

struct SeenChooser {
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString directory;
    QStringList selectedFiles;
};

class QtChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QDir(folder.path()).mkdir(QStringLiteral("out"));
    }
    // Runs one chooser answered with fileName; what it showed is in seen.
    std::optional<ChosenFile> choose(const std::function<std::optional<ChosenFile>()>& open,
                                     const QString& fileName, int typeIndex = 0)
    {
        whenModal([this, fileName, typeIndex](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(chooser, nullptr);
            seen = {chooser->acceptMode(), chooser->directory().absolutePath(),
                    chooser->selectedFiles()};
            if (fileName.isEmpty())
                return chooser->reject();
            // Picked as a user would, which tells the chooser the type changed.
            auto* types = chooser->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int step = 0; step < typeIndex; ++step)
                QTest::keyClick(types, Qt::Key_Down);
            chooser->selectFile(fileName);
            static_cast<QDialog*>(chooser)->accept();
        });
        return open();
    }
    QString inFolder(const char* name) const { return QDir(folder.path()).filePath(name); }

    QTemporaryDir folder;
    std::string startFolder = folder.path().toStdString();
    SeenChooser seen;
    QtUserInteraction interaction{nullptr};
};

TEST_F(QtChooserTest, OpenAndSaveChoosersStartInTheFolderAndCancelKeepsIt)
{
    EXPECT_FALSE(choose([&] { return interaction.chooseCarrierFileToOpen(startFolder); }, {}));
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.directory, QDir(folder.path()).absolutePath());
    EXPECT_FALSE(choose([&] { return interaction.chooseReportFile(startFolder); }, {}));
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(startFolder, folder.path().toStdString());
}

// A name typed without an extension gets the one of the file type chosen.
TEST_F(QtChooserTest, ANameWithoutExtensionGetsTheChosenTypesAndTheFolderFollows)
{
    const auto report = [&] { return interaction.chooseReportFile(startFolder); };
    std::optional<ChosenFile> chosen = choose(report, inFolder("out/Report"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, inFolder("out/Report.htm").toStdString());
    EXPECT_EQ(chosen->filterIndex, 0);
    EXPECT_EQ(startFolder, inFolder("out").toStdString());

    chosen = choose(report, inFolder("Report"), 1);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, inFolder("Report.csv").toStdString());
    EXPECT_EQ(chosen->filterIndex, 1);

    choose([&] { return interaction.chooseImageFile(startFolder, "a.carriers.txt.bmp"); }, {});
    ASSERT_EQ(seen.selectedFiles.size(), 1);
    EXPECT_TRUE(seen.selectedFiles.front().endsWith(QStringLiteral("/a.carriers.txt.bmp")));
}

// Work that outlasts the delay gets a progress dialog whose Cancel button reaches the work.
TEST(QtProgress, CancelOnTheDialogStopsLongWork)
{
    QtUserInteraction interaction(nullptr, 50);
    whenModal([](QWidget* modal) {
        ASSERT_NE(qobject_cast<QProgressDialog*>(modal), nullptr);
        modal->findChild<QPushButton*>()->click();
    });
    bool stopped = false;
    interaction.runWithProgress("Working", [&stopped](WorkProgress& progress) {
        for (int wait = 0; wait < 2000 && !progress.cancelRequested(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stopped = progress.cancelRequested();
    });
    EXPECT_TRUE(stopped); // only the dialog's Cancel asks the work to stop
}

TEST(QtQuestions, AYesNoQuestionOffersItsHelpPageOnF1)
{
    std::vector<unsigned> asked;
    setHelpHandler([&asked](unsigned key) { asked.push_back(key); });
    QtUserInteraction interaction(nullptr);
    for (const auto& [helpKey, button] :
         {std::make_pair(143u, QMessageBox::Yes), std::make_pair(0u, QMessageBox::No)}) {
        whenModal([button = button](QWidget* modal) {
            modal->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
            QTest::keyClick(modal, Qt::Key_F1);
            static_cast<QMessageBox*>(modal)->button(button)->click();
        });
        EXPECT_EQ(interaction.askYesNo("Adjust?", helpKey), button == QMessageBox::Yes);
    }
    setHelpHandler({});
    EXPECT_EQ(asked, std::vector<unsigned>{143});
}

// A folder name may hold "::" or '>' without being taken for a page or a window.
TEST(HelpLocation, KeepsFolderBundlePageAndWindowApart)
{
    const std::pair<std::uint32_t, const char*> pages[] = {
        {102, "Orvane-Window.htm"}, {32795, ""}, {0x20000 + 138, "Orvane-AddFixed.htm"}, {0, ""}};
    for (const auto& [context, page] : pages) {
        const HelpLocation location = helpLocationFor("/opt/or::vane>x", context);
        EXPECT_EQ(location.bundlePath, "/opt/or::vane>x/Orvane.chm");
        EXPECT_EQ(location.page, page);
        EXPECT_EQ(helpWindowTitle(location.windowType), "Orvane Help");
    }
}

TEST(HelpWindow, ShowsThePageAskedForFromTheBundle)
{
    Application application(ORVANE_PROGRAM_DIR);
    requestHelp(102);
    HelpWindow* help = application.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentPage().fileName(), "Orvane-Window.htm");
    requestHelp(32795);
    EXPECT_EQ(help->currentPage().fileName(), "index.htm");
    requestHelp(0x20000 + 138);
    EXPECT_EQ(help->currentPage().fileName(), "Orvane-AddFixed.htm");
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->testAttribute(Qt::WA_QuitOnClose)) << "a help window left open does not "
                                                             "keep the program running";
}

TEST(ChooserFilters, KeepEntriesAndOrderAndGiveTheFirstPatternsExtension)
{
    EXPECT_EQ(chooserFilterList("Text Files (*.txt)|*.txt|Carrier Files (*.carriers.txt)|"
                                "*.carriers.txt|All Files (*.*)|*.*||"),
              (std::vector<std::string>{"Text Files (*.txt)", "Carrier Files (*.carriers.txt)",
                                        "All Files (*)"}));
    EXPECT_EQ(chooserFilterList("Pictures |*.bmp;*.png|Broken"),
              (std::vector<std::string>{"Pictures (*.bmp *.png)"}));
    EXPECT_TRUE(chooserFilterList("").empty());
    EXPECT_EQ(defaultSuffixOf("Carrier Files (*.carriers.txt)"), "carriers.txt");
    EXPECT_EQ(defaultSuffixOf("Pictures (*.bmp *.png)"), "bmp");
    EXPECT_EQ(defaultSuffixOf("All Files (*)"), "");
    EXPECT_EQ(defaultSuffixOf("Odd (*.x"), "x");
}

} // namespace
} // namespace orvane
