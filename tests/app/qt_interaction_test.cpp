#include "app/application.h"
#include "app/help_window.h"
#include "app/intermod_runner.h"
#include "app/qt_user_interaction.h"
#include "app/work_runner.h"
#include "commands/help_request.h"
#include "commands/work_failure.h"
#include "support/modal_dialog.h"
#include "support/plans.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <functional>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace orvane {
namespace {

using test::whenModal;

class QtChooserTest : public ::testing::Test {
protected:
    // Runs one chooser answered with name in the folder, or Cancel without one; tells what it
    // showed, what it answered and the folder afterwards, with the folder written $TMP.
    std::string choose(const std::function<std::optional<ChosenFile>()>& open,
                       const char* name = nullptr, int typeIndex = 0)
    {
        QString seen;
        whenModal([&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(chooser, nullptr);
            seen =
                QStringLiteral("%1 in %2 with %3: ")
                    .arg(chooser->acceptMode() == QFileDialog::AcceptSave ? "save" : "open",
                         chooser->directory().absolutePath(), chooser->selectedFiles().join(','));
            if (!name)
                return chooser->reject();
            // Picked as a user would, which tells the chooser the type changed.
            auto* types = chooser->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int step = 0; step < typeIndex; ++step)
                QTest::keyClick(types, Qt::Key_Down);
            chooser->selectFile(QDir(folder.path()).filePath(name));
            static_cast<QDialog*>(chooser)->accept();
        });
        const std::optional<ChosenFile> chosen = open();
        seen +=
            chosen ? QStringLiteral("%1 type %2").arg(chosen->path.c_str()).arg(chosen->filterIndex)
                   : QStringLiteral("Cancel");
        seen += ", then in " + QString::fromStdString(startFolder);
        return seen.replace(QDir(folder.path()).absolutePath(), "$TMP").toStdString();
    }

    QTemporaryDir folder;
    std::string startFolder = folder.path().toStdString();
    QtUserInteraction interaction{nullptr};
};

// The choosers open in the folder, which follows the chosen file; a name typed without an
// extension gets the one of the file type chosen; the image chooser suggests its name.
TEST_F(QtChooserTest, ChoosersStartInTheFolderAndAddTheChosenTypesExtension)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("out")));
    const auto report = [&] { return interaction.chooseReportFile(startFolder); };
    EXPECT_EQ(choose([&] { return interaction.chooseCarrierFileToOpen(startFolder); }),
              "open in $TMP with : Cancel, then in $TMP");
    EXPECT_EQ(choose(report), "save in $TMP with $TMP: Cancel, then in $TMP");
    EXPECT_EQ(choose(report, "out/Report"),
              "save in $TMP with $TMP: $TMP/out/Report.htm type 0, then in $TMP/out");
    EXPECT_EQ(choose(report, "Report", 1),
              "save in $TMP/out with $TMP/out: $TMP/Report.csv type 1, then in $TMP");
    EXPECT_EQ(choose([&] { return interaction.chooseImageFile(startFolder, "a.txt.bmp"); }),
              "save in $TMP with $TMP/a.txt.bmp: Cancel, then in $TMP");
    startFolder = folder.filePath(QStringLiteral("gone")).toStdString(); // gives way to home
    const std::string home = "open in " + QDir::homePath().toStdString() + " with";
    EXPECT_EQ(choose([&] { return interaction.chooseCarrierFileToOpen(startFolder); }).find(home),
              0u);
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

// Work that ends in an exception, on the worker thread or where no thread was had, hands it
// back instead of ending the program; so does an analysis of the panel's runner.
TEST(QtProgress, WorkThatFailsReturnsItsExceptionAndTheProgramGoesOn)
{
    QtUserInteraction interaction(nullptr, 50);
    const std::exception_ptr failure =
        interaction.runWithProgress("Working", [](WorkProgress&) { throw std::bad_alloc(); });
    EXPECT_EQ(workFailureText("The work", failure),
              "The work stopped: there was not enough memory for it.");

    IntermodRunner runner(nullptr,
                          [](const CarrierList&, const IntermodOptions&) -> IntermodAnalysis {
                              throw std::length_error("vector too long");
                          });
    QSignalSpy finished(&runner, &IntermodRunner::finished);
    runner.start(CarrierList(), IntermodOptions());
    ASSERT_TRUE(finished.wait(10000));
    const auto analysis = finished.at(0).at(0).value<std::shared_ptr<const IntermodAnalysis>>();
    EXPECT_EQ(analysis->refusal, "The intermodulation analysis stopped with an unexpected error: "
                                 "vector too long");
}

// Starting work cancels the work under way, whose deliveries never arrive, and so does stop();
// only the latest work's result comes, on the runner's thread.
TEST(WorkRunner, ANewerStartCancelsTheRunUnderWayAndOnlyItsResultArrives)
{
    WorkRunner runner;
    std::vector<int> delivered;
    const auto waitForCancel = [&delivered](int number) {
        return [&delivered, number](WorkContext& context) {
            while (!context.cancel.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            context.deliver([&delivered, number] { delivered.push_back(number); });
        };
    };
    QSignalSpy ended(&runner, &WorkRunner::ended);
    runner.start(waitForCancel(1));
    runner.start([&delivered](WorkContext& context) {
        context.progress(0.5);
        context.deliver([&delivered] { delivered.push_back(2); });
    });
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(delivered, std::vector<int>{2});
    EXPECT_FALSE(runner.busy());

    runner.start(waitForCancel(3));
    EXPECT_TRUE(runner.busy());
    runner.stop();
    EXPECT_FALSE(runner.busy());
    QTest::qWait(50);
    EXPECT_EQ(delivered, std::vector<int>{2});
    EXPECT_EQ(ended.count(), 1);
}

// The panel's runner refuses no plan for its work: one estimated beyond the warning level is
// announced and analysed all the same (the worked example's 9 products).
TEST(IntermodRunner, APlanBeyondTheWarningLevelIsAnnouncedAndAnalysedAllTheSame)
{
    IntermodRunner runner(nullptr, analyseIntermod, 1.0);
    QSignalSpy estimated(&runner, &IntermodRunner::estimated);
    QSignalSpy finished(&runner, &IntermodRunner::finished);
    runner.start(threeCarrierExample(), IntermodOptions());
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_EQ(estimated.count(), 1);
    EXPECT_GT(estimated.at(0).at(0).toDouble(), 1.0);
    const auto analysis = finished.at(0).at(0).value<std::shared_ptr<const IntermodAnalysis>>();
    EXPECT_FALSE(analysis->refusal);
    EXPECT_EQ(analysis->products, 9);
}

// Alt+D answers Discard in the unsaved-changes question, as its underlined letter says.
TEST(QtQuestions, AltDDiscardsTheUnsavedChanges)
{
    QtUserInteraction interaction(nullptr);
    whenModal([](QWidget* modal) {
        modal->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        QTest::keyClick(modal, Qt::Key_D, Qt::AltModifier);
        QTest::qWait(400); // a button pressed by its key clicks after a moment
        if (modal->isVisible())
            static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_EQ(interaction.askToSaveChanges("Save?"), UnsavedChangesAnswer::discard);
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

// The help window shows the page asked for, or the bundle's first page for a key without one,
// and when left open does not keep the program running.
TEST(HelpWindow, ShowsThePageAskedForFromTheBundleInTheProgramsFolder)
{
    Application application(ORVANE_PROGRAM_DIR);
    for (const auto& [key, page] : {std::pair{helpKey::mainWindow, "Orvane-Window.htm"},
                                    std::pair{helpKey::helpMenu, "index.htm"}}) {
        requestHelp(key);
        EXPECT_EQ(application.helpWindow()->currentPage().fileName(), page);
    }
    EXPECT_TRUE(application.helpWindow()->isVisible());
    EXPECT_FALSE(application.helpWindow()->testAttribute(Qt::WA_QuitOnClose));
}

} // namespace
} // namespace orvane
