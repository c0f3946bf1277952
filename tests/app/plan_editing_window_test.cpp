#include "app/display_check.h"
#include "app/main_window.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "isolated_settings.h"
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

namespace orvane {
namespace {

const QString examplePlan = QStringLiteral(ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt");

// A window showing the example plan to a scripted user, the user's own settings out of reach.
class PlanWindowTest : public testing::IsolatedSettings {
protected:
    void SetUp() override
    {
        IsolatedSettings::SetUp();
        window.initialise(false);
        window.setInteraction(&user);
        window.showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        user.chosenPaths.push_back(examplePlan.toStdString());
        window.action(MenuCommand::loadCarriers)->trigger();
    }
    PlanView& view() { return window.planView(); }
    // A point on the carrier at index, just above the axis (at 80 % of the height).
    QPoint pointOn(int index)
    {
        const int y = view().height() * 4 / 5 - 3;
        for (int x = 0; x < view().width(); ++x)
            if (view().carrierAt(QPoint(x, y)) == index)
                return QPoint(x, y);
        ADD_FAILURE() << "carrier " << index << " cannot be pointed at";
        return {};
    }

    QTemporaryDir folder;
    MainWindow window{"/opt/orvane"};
    testing::ScriptedInteraction user;
};

TEST_F(PlanWindowTest, UndoAndRedoInTheEditMenuNameTheChange)
{
    user.pickedIndex = 0;
    window.action(MenuCommand::deleteCarrier)->trigger();
    QAction* undo = window.action(MenuCommand::undo);
    EXPECT_EQ(undo->text(), "&Undo Delete Carrier");
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->trigger();
    EXPECT_EQ(window.document().carriers.count(), 7);
    EXPECT_EQ(window.action(MenuCommand::redo)->text(), "&Redo Delete Carrier");
    EXPECT_TRUE(window.action(MenuCommand::redo)->shortcuts().contains(Qt::CTRL | Qt::Key_Y));
}

TEST_F(PlanWindowTest, ClosingAChangedPlanAsksAndCancelKeepsTheWindow)
{
    window.close();
    EXPECT_TRUE(user.saveChangesQuestions.empty()) << "a plan just loaded has nothing to lose";
    window.show();
    user.frequencyAnswer = 1.0;
    window.action(MenuCommand::shiftCarriers)->trigger();
    window.action(MenuCommand::exit)->trigger();
    EXPECT_EQ(user.saveChangesQuestions.size(), 1u);
    EXPECT_TRUE(window.isVisible());
    user.saveChangesAnswer = UnsavedChangesAnswer::discard;
    window.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlanWindowTest, AMarkedCarrierIsHighlightedButNeverInTheSavedPicture)
{
    const QImage plain = planImage(window.document(), view().size());
    EXPECT_EQ(view().grab().toImage().convertToFormat(QImage::Format_RGB32), plain);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(1));
    EXPECT_EQ(view().markedCarrier(), 1);
    EXPECT_NE(view().grab().toImage().convertToFormat(QImage::Format_RGB32), plain);
    EXPECT_EQ(planImage(window.document(), view().size()), plain);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(view().markedCarrier());
}

TEST_F(PlanWindowTest, PointingShowsTheCarrierAndDoubleClickOpensItsDialog)
{
    const QPoint point = pointOn(2);
    QHelpEvent help(QEvent::ToolTip, point, view().mapToGlobal(point));
    QApplication::sendEvent(&view(), &help);
    EXPECT_TRUE(QToolTip::text().startsWith("IBS 512k")) << QToolTip::text().toStdString();

    user.carrierDialog = [](Carrier& carrier) { return carrier.label = "edited", true; };
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(window.document().carriers[2].label, "edited");
    EXPECT_TRUE(user.selections.empty()) << "no selection dialog on the way";
}

TEST_F(PlanWindowTest, DeleteKeyConfirmsTheMarkedCarrierInTheDeleteDialog)
{
    const int count = window.document().carriers.count();
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_TRUE(user.selections.empty()) << "nothing marked, nothing to delete";
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(5));
    user.cancelSelection = true;
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(window.document().carriers.count(), count);
    user.cancelSelection = false;
    QTest::keyClick(&view(), Qt::Key_Delete);
    ASSERT_EQ(user.selections.size(), 2u);
    EXPECT_EQ(user.selections[1].caption, "Delete Carrier :");
    EXPECT_EQ(user.selections[1].preselectedIndex, 5);
    EXPECT_EQ(window.document().carriers.count(), count - 1);
    EXPECT_EQ(window.document().carriers[5].label, "Reserved slot (level not yet agreed)");
}

TEST_F(PlanWindowTest, ADroppedFileIsLoadedAndRecentPlansOutliveTheWindow)
{
    const QString other = QStringLiteral(ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.carriers.txt");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.document().carrierFilePath, other.toStdString());

    MainWindow next("/opt/orvane");
    next.initialise(false);
    const QList<QAction*> entries = next.recentPlansMenu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "&1 " + other);
    EXPECT_EQ(entries[1]->text(), "&2 " + examplePlan);
}

TEST_F(PlanWindowTest, SaveImageWritesTheChosenFormatAtTheClientSize)
{
    const QString path = folder.filePath(QStringLiteral("plan"));
    user.chosenPaths = {path.toStdString()};
    user.chosenFilter = 2;
    window.action(MenuCommand::saveImage)->trigger();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    EXPECT_TRUE(drawing.contains(">Frequency (MHz)</text>"));
    EXPECT_TRUE(drawing.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                                     .arg(view().width())
                                     .arg(view().height())
                                     .toLatin1()));
}

TEST(NoDisplay, TheProgramSaysSoInOneLineAndEnds)
{
    const auto only = [](const char* set) {
        return [set](const char* name) { return std::string(name) == set ? "x" : nullptr; };
    };
    EXPECT_TRUE(displayAvailable(only("WAYLAND_DISPLAY"), {}));
    EXPECT_TRUE(displayAvailable(only("QT_QPA_PLATFORM"), {}));
    EXPECT_TRUE(displayAvailable(only("HOME"), {"orvane", "-platform", "offscreen"}));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(), QByteArray(noDisplayText) + "\n");
}

} // namespace
} // namespace orvane
