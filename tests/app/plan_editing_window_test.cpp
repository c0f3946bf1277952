#include "app/display_check.h"
#include "app/main_window.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include <cstdlib>
#include <map>

namespace orvane {
namespace {

const QString examplePlan = QStringLiteral(ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt");

// A window on a plan of the example file, answered by a scripted user, with the user's own
// settings out of reach.
class PlanWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        window.initialise(false);
        window.setInteraction(&user);
        window.showNormal();
        window.resize(801, 650);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void load()
    {
        user.chosenPaths.push_back(examplePlan.toStdString());
        window.action(MenuCommand::loadCarriers)->trigger();
    }
    PlanView& view() { return window.planView(); }
    // A point of the view inside the carrier at index, found by scanning down its centre.
    QPoint pointOn(int index)
    {
        const int centre = centreColumn(window.document().carriers[index]);
        for (int y = 0; y < view().height(); ++y)
            for (int x = centre - 2; x <= centre + 2; ++x)
                if (view().carrierAt(QPoint(x, y)) == index)
                    return QPoint(x, y + 5);
        ADD_FAILURE() << "carrier " << index << " cannot be pointed at";
        return {};
    }
    int centreColumn(const Carrier& carrier)
    {
        const DisplaySettings& settings = window.document().displaySettings;
        const double share = (carrier.centreFrequencyMhz - settings.viewStartMhz) /
                             (settings.viewStopMhz - settings.viewStartMhz);
        const double left = (view().width() - 1) * 0.075;
        const double right = (view().width() - 1) * 0.9525;
        return static_cast<int>(left + share * (right - left));
    }

    QTemporaryDir folder;
    MainWindow window{"/opt/orvane"};
    testing::ScriptedInteraction user;
};

TEST_F(PlanWindowTest, UndoAndRedoNameTheChangeAndFollowTheEditMenu)
{
    load();
    EXPECT_EQ(window.action(MenuCommand::undo)->text(), "&Undo Load Carriers");
    user.pickedIndex = 0;
    window.action(MenuCommand::deleteCarrier)->trigger();
    const int left = window.document().carriers.count();
    QAction* undo = window.action(MenuCommand::undo);
    EXPECT_EQ(undo->text(), "&Undo Delete Carrier");
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->trigger();
    EXPECT_EQ(window.document().carriers.count(), left + 1);
    QAction* redo = window.action(MenuCommand::redo);
    EXPECT_EQ(redo->text(), "&Redo Delete Carrier");
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    redo->trigger();
    EXPECT_EQ(window.document().carriers.count(), left);
    EXPECT_FALSE(window.action(MenuCommand::redo)->isEnabled());
}

TEST_F(PlanWindowTest, ClosingAChangedPlanAsksAndCancelKeepsTheWindow)
{
    load();
    window.close();
    EXPECT_TRUE(user.saveChangesQuestions.empty()) << "a plan just loaded has nothing to lose";
    window.show();

    user.frequencyAnswer = 1.0;
    window.action(MenuCommand::shiftCarriers)->trigger();
    user.saveChangesAnswer = UnsavedChangesAnswer::cancel;
    window.action(MenuCommand::exit)->trigger();
    EXPECT_EQ(user.saveChangesQuestions.size(), 1u);
    EXPECT_TRUE(window.isVisible());

    user.saveChangesAnswer = UnsavedChangesAnswer::discard;
    window.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlanWindowTest, NothingMarkedLeavesThePictureAsSavedAndAMarkedCarrierIsHighlighted)
{
    load();
    const QImage plain = planImage(window.document(), view().size());
    EXPECT_EQ(view().grab().toImage().convertToFormat(QImage::Format_RGB32), plain);

    const QPoint point = pointOn(1);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(view().markedCarrier(), 1);
    EXPECT_NE(view().grab().toImage().convertToFormat(QImage::Format_RGB32), plain);
    EXPECT_EQ(planImage(window.document(), view().size()), plain) << "the saved image stays";

    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(view().markedCarrier());
}

TEST_F(PlanWindowTest, PointingShowsTheCarrierAndDoubleClickOpensItsDialog)
{
    load();
    const QPoint point = pointOn(2);
    QHelpEvent help(QEvent::ToolTip, point, view().mapToGlobal(point));
    QApplication::sendEvent(&view(), &help);
    EXPECT_TRUE(
        QToolTip::text().startsWith(QString::fromStdString(window.document().carriers[2].label)))
        << QToolTip::text().toStdString();

    user.carrierDialog = [](Carrier& carrier) { return carrier.label = "edited", true; };
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::NoModifier, point);
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    EXPECT_EQ(window.document().carriers[2].label, "edited");
    EXPECT_TRUE(user.selections.empty()) << "no selection dialog on the way";
}

TEST_F(PlanWindowTest, DeleteKeyConfirmsTheMarkedCarrierInTheDeleteDialog)
{
    load();
    const std::string label = window.document().carriers[1].label;
    const int count = window.document().carriers.count();
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_TRUE(user.selections.empty()) << "nothing marked, nothing to delete";

    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(1));
    user.cancelSelection = true;
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(window.document().carriers.count(), count);
    user.cancelSelection = false;
    QTest::keyClick(&view(), Qt::Key_Delete);

    ASSERT_EQ(user.selections.size(), 2u);
    EXPECT_EQ(user.selections[1].caption, "Delete Carrier :");
    ASSERT_TRUE(user.selections[1].preselectedIndex);
    EXPECT_EQ(user.selections[1].listed[*user.selections[1].preselectedIndex].label, label);
    EXPECT_EQ(window.document().carriers.count(), count - 1);
    for (const Carrier& carrier : window.document().carriers)
        EXPECT_NE(carrier.label, label);
}

TEST_F(PlanWindowTest, RecentPlansAreKeptBetweenRunsAndADroppedFileIsLoaded)
{
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(examplePlan)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.document().carrierFilePath, examplePlan.toStdString());

    MainWindow next("/opt/orvane");
    next.initialise(false);
    const QList<QAction*> entries = next.recentPlansMenu()->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries.front()->text().endsWith(examplePlan));
}

TEST_F(PlanWindowTest, SaveImageWritesTheChosenFormatWithTextsAsText)
{
    load();
    const QString path = folder.filePath(QStringLiteral("plan"));
    user.chosenPaths = {path.toStdString()};
    user.chosenFilter = 2;
    window.action(MenuCommand::saveImage)->trigger();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    EXPECT_TRUE(drawing.contains("<svg"));
    EXPECT_TRUE(drawing.contains(">Frequency (MHz)</text>"));
}

TEST(NoDisplay, TheProgramSaysSoInOneLineAndEnds)
{
    const std::map<std::string, const char*> none;
    const auto from = [](const std::map<std::string, const char*>& values) {
        return [values](const char* name) {
            const auto found = values.find(name);
            return found == values.end() ? nullptr : found->second;
        };
    };
    EXPECT_FALSE(displayAvailable(from({{"DISPLAY", ""}}), {"orvane"}));
    EXPECT_TRUE(displayAvailable(from({{"WAYLAND_DISPLAY", "wayland-0"}}), {}));
    EXPECT_TRUE(displayAvailable(from({{"QT_QPA_PLATFORM", "vnc:port=5900"}}), {}));
    EXPECT_TRUE(displayAvailable(from(none), {"orvane", "-platform", "offscreen"}));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(), QByteArray(noDisplayText) + "\n");
}

} // namespace
} // namespace orvane
