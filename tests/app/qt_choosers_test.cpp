#include "app/qt_user_interaction.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <functional>
#include <thread>

namespace orvane {
namespace {

struct ChooserCase {
    const char* name;
    std::function<std::optional<ChosenFile>(UserInteraction&, std::string&)> open;
    const char* title;
    QStringList filters;
    const char* defaultSuffix;
    QFileDialog::AcceptMode mode;
};

void PrintTo(const ChooserCase& chooser, std::ostream* out)
{
    *out << chooser.name;
}

struct SeenChooser {
    QString title;
    QStringList filters;
    QString selectedFilter;
    QString defaultSuffix;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString directory;
    QStringList selectedFiles;
};

// Looks at the chooser once it is up, then answers it with fileName (Cancel when empty).
void answerChooser(SeenChooser& seen, const QString& fileName)
{
    QTimer::singleShot(0, [&seen, fileName] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser) {
            answerChooser(seen, fileName);
            return;
        }
        seen.title = chooser->windowTitle();
        seen.filters = chooser->nameFilters();
        seen.selectedFilter = chooser->selectedNameFilter();
        seen.defaultSuffix = chooser->defaultSuffix();
        seen.mode = chooser->acceptMode();
        seen.directory = chooser->directory().absolutePath();
        seen.selectedFiles = chooser->selectedFiles();
        if (fileName.isEmpty()) {
            chooser->reject();
        } else {
            chooser->selectFile(fileName);
            static_cast<QDialog*>(chooser)->accept();
        }
    });
}

class QtChooserTest : public ::testing::TestWithParam<ChooserCase> {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QTemporaryDir folder;
    QtUserInteraction interaction{nullptr};
};

TEST_P(QtChooserTest, ShowsItsTitleFiltersAndFolder)
{
    std::string startFolder = folder.path().toStdString();
    SeenChooser seen;
    answerChooser(seen, {});
    EXPECT_FALSE(GetParam().open(interaction, startFolder));

    EXPECT_EQ(seen.title, GetParam().title);
    EXPECT_EQ(seen.filters, GetParam().filters);
    EXPECT_EQ(seen.selectedFilter, GetParam().filters.front());
    EXPECT_EQ(seen.defaultSuffix, GetParam().defaultSuffix);
    EXPECT_EQ(seen.mode, GetParam().mode);
    EXPECT_EQ(seen.directory, QDir(folder.path()).absolutePath());
    EXPECT_EQ(startFolder, folder.path().toStdString()) << "Cancel keeps the folder";
}

INSTANTIATE_TEST_SUITE_P(
    Choosers, QtChooserTest,
    ::testing::Values(ChooserCase{"CarrierOpen",
                                  [](UserInteraction& ui, std::string& folder) {
                                      return ui.chooseCarrierFileToOpen(folder);
                                  },
                                  "Carrier Input File...",
                                  {"Text Files (*.txt)", "Carrier Files (*.carriers.txt)",
                                   "All Files (*)"},
                                  "txt",
                                  QFileDialog::AcceptOpen},
                      ChooserCase{"Report",
                                  [](UserInteraction& ui, std::string& folder) {
                                      return ui.chooseReportFile(folder);
                                  },
                                  "Output File Name...",
                                  {"HTML Format (*.htm)", "Comma Separated (*.csv)"},
                                  "htm",
                                  QFileDialog::AcceptSave}),
    [](const ::testing::TestParamInfo<ChooserCase>& info) { return std::string(info.param.name); });

TEST(QtChooser, ReportNameWithoutExtensionGetsHtmAndTheFolderFollows)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("out"));
    QtUserInteraction interaction(nullptr);
    std::string startFolder = folder.path().toStdString();
    SeenChooser seen;
    answerChooser(seen, QDir(folder.path()).filePath(QStringLiteral("out/Report")));
    const auto chosen = interaction.chooseReportFile(startFolder);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path,
              QDir(folder.path()).filePath(QStringLiteral("out/Report.htm")).toStdString());
    EXPECT_EQ(chosen->filterIndex, 0);
    EXPECT_EQ(startFolder, QDir(folder.path()).filePath(QStringLiteral("out")).toStdString());
}

TEST(QtChooser, ImageChooserStartsWithTheSuggestedName)
{
    QTemporaryDir folder;
    QtUserInteraction interaction(nullptr);
    std::string startFolder = folder.path().toStdString();
    SeenChooser seen;
    answerChooser(seen, {});
    interaction.chooseImageFile(startFolder, "a.carriers.txt.bmp");
    ASSERT_EQ(seen.selectedFiles.size(), 1);
    EXPECT_TRUE(seen.selectedFiles.front().endsWith(QStringLiteral("/a.carriers.txt.bmp")));
}

// Work that outlasts the delay gets a progress dialog whose Cancel button reaches the work.
TEST(QtProgress, CancelOnTheDialogStopsLongWork)
{
    QtUserInteraction interaction(nullptr, 50);
    std::function<void()> cancelWhenShown = [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, cancelWhenShown);
            return;
        }
        dialog->findChild<QPushButton*>()->click();
    };
    QTimer::singleShot(0, cancelWhenShown);
    bool stopped = false;
    interaction.runWithProgress("Working", [&stopped](WorkProgress& progress) {
        for (int wait = 0; wait < 2000 && !progress.cancelRequested(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stopped = progress.cancelRequested();
    });
    EXPECT_TRUE(stopped); // only the dialog's Cancel asks the work to stop
}

} // namespace
} // namespace orvane
