#include "app/display_check.h"
#include "app/intermod_panel.h"
#include "app/main_window.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "app/settings_store.h"
#include "display/qt/plan_painting.h"
#include "scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>

namespace orvane {
namespace {

const QString examplePlan = QStringLiteral(ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt");

// The main window showing the example plan to a scripted user, in a settings folder of its
// own so that the user's settings stay out of reach.
class DesktopWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configFolder.isValid());
        setenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit().constData(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder.path());
        window = std::make_unique<MainWindow>("/opt/orvane");
        window->initialise(false);
        window->setInteraction(&user);
        window->showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        user.chosenPaths.push_back(examplePlan.toStdString());
        run(MenuCommand::loadCarriers);
    }
    void run(MenuCommand command) { window->action(command)->trigger(); }
    bool enabled(MenuCommand command) { return window->action(command)->isEnabled(); }
    PlanDocument& document() { return window->document(); }
    PlanView& view() { return window->planView(); }
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
    QImage shown() { return view().grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir configFolder;
    QTemporaryDir folder;
    testing::ScriptedInteraction user;
    std::unique_ptr<MainWindow> window;
};

TEST_F(DesktopWindowTest, MenuItemsFollowTheCarrierCount)
{
    const MenuCommand oneCarrier[] = {MenuCommand::saveCarriers, MenuCommand::modifyCarrier,
                                      MenuCommand::deleteCarrier, MenuCommand::shiftCarriers,
                                      MenuCommand::fitCarriers};
    const MenuCommand twoCarriers[] = {MenuCommand::scrunchCarriers, MenuCommand::saveReport};
    const auto expectEnabled = [&](int carriers) {
        ASSERT_EQ(document().carriers.count(), carriers);
        for (const MenuCommand command : oneCarrier)
            EXPECT_EQ(enabled(command), carriers >= 1) << static_cast<int>(command);
        for (const MenuCommand command : twoCarriers)
            EXPECT_EQ(enabled(command), carriers >= 2) << static_cast<int>(command);
        EXPECT_TRUE(enabled(MenuCommand::addFixed) && enabled(MenuCommand::saveImage));
    };
    expectEnabled(7);
    user.okCancelAnswer = true;
    run(MenuCommand::clearAll);
    expectEnabled(0);
    user.carrierDialog = [](Carrier&) { return true; };
    run(MenuCommand::addSpectral);
    expectEnabled(1);
    run(MenuCommand::addFixed);
    expectEnabled(2);
}

TEST_F(DesktopWindowTest, UndoAndRedoInTheEditMenuNameTheChange)
{
    user.pickedIndex = 0;
    run(MenuCommand::deleteCarrier);
    QAction* undo = window->action(MenuCommand::undo);
    EXPECT_EQ(undo->text(), "&Undo Delete Carrier");
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->trigger();
    EXPECT_EQ(document().carriers.count(), 7);
    EXPECT_EQ(window->action(MenuCommand::redo)->text(), "&Redo Delete Carrier");
    EXPECT_TRUE(window->action(MenuCommand::redo)->shortcuts().contains(Qt::CTRL | Qt::Key_Y));
}

TEST_F(DesktopWindowTest, ClosingAChangedPlanAsksAndCancelKeepsTheWindow)
{
    window->close();
    EXPECT_EQ(user.saveChangesQuestions, 0) << "a plan just loaded has nothing to lose";
    window->show();
    user.frequencyAnswer = 1.0;
    run(MenuCommand::shiftCarriers);
    run(MenuCommand::exit);
    EXPECT_EQ(user.saveChangesQuestions, 1);
    EXPECT_TRUE(window->isVisible());
    user.saveChangesAnswer = UnsavedChangesAnswer::discard;
    window->close();
    EXPECT_FALSE(window->isVisible());
}

// The caption shows the client size; fonts follow a change of its width only, or a reset.
TEST_F(DesktopWindowTest, CaptionAndFontsFollowTheClientSize)
{
    window->resize(700, 500);
    view().repaint();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Orvane (%1,%2) ").arg(view().width()).arg(view().height()));

    window->hide();
    PlanView alone(document());
    const auto titleHeightAt = [&](int width, int height) {
        alone.resize(width, height);
        alone.grab();
        return std::abs(document().displaySettings.titleFont.height);
    };
    EXPECT_EQ(titleHeightAt(801, 400), 24);
    EXPECT_EQ(titleHeightAt(801, 700), 24) << "a change of height keeps the fonts";
    EXPECT_EQ(titleHeightAt(1201, 700), 36);
    document().displaySettings.titleSize = 2.0;
    EXPECT_EQ(titleHeightAt(801, 700), 32);
    run(MenuCommand::defaultFonts);
    EXPECT_EQ(titleHeightAt(801, 700), 24);
}

TEST_F(DesktopWindowTest, AMarkedCarrierIsHighlightedButNeverInTheSavedPicture)
{
    const QImage plain = planImage(document(), view().size());
    EXPECT_EQ(shown(), plain);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(1));
    EXPECT_EQ(view().markedCarrier(), 1);
    EXPECT_NE(shown(), plain);
    EXPECT_EQ(planImage(document(), view().size()), plain);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(view().markedCarrier());
}

TEST_F(DesktopWindowTest, PointingShowsTheCarrierAndDoubleClickOpensItsDialog)
{
    const QPoint point = pointOn(2);
    QHelpEvent help(QEvent::ToolTip, point, view().mapToGlobal(point));
    QApplication::sendEvent(&view(), &help);
    EXPECT_TRUE(QToolTip::text().startsWith("IBS 512k")) << QToolTip::text().toStdString();

    user.carrierDialog = [](Carrier& carrier) { return carrier.label = "edited", true; };
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(document().carriers[2].label, "edited");
    EXPECT_TRUE(user.selections.empty()) << "no selection dialog on the way";
    EXPECT_EQ(view().markedCarrier(), 2);
}

TEST_F(DesktopWindowTest, DeleteKeyConfirmsTheMarkedCarrierInTheDeleteDialog)
{
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_TRUE(user.selections.empty()) << "nothing marked, nothing to delete";
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(5));
    user.cancelSelection = true;
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(document().carriers.count(), 7);
    EXPECT_EQ(view().markedCarrier(), 5);
    user.cancelSelection = false;
    QTest::keyClick(&view(), Qt::Key_Delete, Qt::KeypadModifier);
    ASSERT_EQ(user.selections.size(), 2u);
    EXPECT_EQ(user.selections[1].preselectedIndex, 5);
    EXPECT_EQ(document().carriers.count(), 6);
    EXPECT_EQ(document().carriers[5].label, "Reserved slot (level not yet agreed)");
    EXPECT_FALSE(view().markedCarrier());
}

TEST_F(DesktopWindowTest, SaveImageWritesTheChosenFormatAtTheClientSize)
{
    const QString path = folder.filePath(QStringLiteral("plan"));
    user.chosenPaths = {path.toStdString()};
    user.chosenFilter = 2;
    run(MenuCommand::saveImage);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    EXPECT_TRUE(drawing.contains(">Frequency (MHz)</text>"));
    EXPECT_TRUE(drawing.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                                     .arg(view().width())
                                     .arg(view().height())
                                     .toLatin1()));
}

// The folder and the recent plans are kept for the next start, which shows the splash first.
TEST_F(DesktopWindowTest, ADroppedFileIsLoadedAndTheFolderAndRecentPlansOutliveTheWindow)
{
    EXPECT_EQ(user.chooserFolders[0], "/opt/orvane") << "the first run starts in the program's";
    const QString other = QStringLiteral(ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.carriers.txt");
    QMimeData dropped;
    for (const QList<QUrl>& urls :
         {QList<QUrl>{QUrl(QStringLiteral("https://example.org/plan.txt"))},
          QList<QUrl>{QUrl::fromLocalFile(folder.filePath(QStringLiteral("gone.txt"))),
                      QUrl::fromLocalFile(other)},
          QList<QUrl>{QUrl::fromLocalFile(other)}}) {
        dropped.setUrls(urls);
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_EQ(enter.isAccepted(), urls.size() == 1 && urls[0].isLocalFile());
        QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
    }
    EXPECT_EQ(document().carrierFilePath, other.toStdString());
    EXPECT_TRUE(user.messages.empty()) << "only the one local file was opened";

    window.reset();
    MainWindow next("/opt/orvane");
    next.initialise(true);
    EXPECT_EQ(next.document().lastPath, ORVANE_SOURCE_DIR "/examples");
    const QList<QAction*> entries = next.recentPlansMenu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "&1 " + other);
    EXPECT_EQ(entries[1]->text(), "&2 " + examplePlan);
    writeLastPath("");
    EXPECT_EQ(readLastPath("/opt/orvane"), "") << "an empty folder is kept as it is";
}

// The program opens a plan named on its command line, and without a display says why.
TEST_F(DesktopWindowTest, TheProgramStartsWithAPlanOrEndsAtOnceWithoutADisplay)
{
    const auto only = [](const char* set) {
        return [set](const char* name) { return std::string(name) == set ? "x" : nullptr; };
    };
    EXPECT_TRUE(displayAvailable(only("WAYLAND_DISPLAY"), {}));
    EXPECT_TRUE(displayAvailable(only("QT_QPA_PLATFORM"), {}));
    EXPECT_TRUE(displayAvailable(only("HOME"), {"orvane", "-platform", "offscreen"}));
    EXPECT_FALSE(displayAvailable(only("HOME"), {"orvane", "plan.txt"}));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_EXIT_AFTER_START_MS"), QStringLiteral("100"));
    const QString other = QStringLiteral(ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.carriers.txt");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), {other});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    QSettings stored(configFolder.filePath(QStringLiteral("Velmora Software/orvane.conf")),
                     QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("RECENT/PLANS")).toStringList(), QStringList{other});

    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(), QByteArray(noDisplayText) + "\n");
}

// The worked example of the help page: three carriers of 1000 kSps, 20 dBW, 10 MHz apart.
class IntermodPanelTest : public DesktopWindowTest {
protected:
    void SetUp() override
    {
        DesktopWindowTest::SetUp();
        document().carriers.removeAll();
        for (const auto& [centreMhz, label] : std::initializer_list<std::pair<double, const char*>>{
                 {6010, "B"}, {6000, "A"}, {6020, "C"}}) {
            Carrier carrier;
            carrier.setFixedSymbolRate(centreMhz, 1000.0, 20.0, 1.35);
            carrier.label = label;
            document().carriers.append(carrier);
        }
        QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
        panel().toggleViewAction()->trigger();
        ASSERT_TRUE(shown.wait(10000));
    }
    IntermodPanel& panel() { return window->intermodPanel(); }
    // Types into a box as the user would, and waits for the table to follow.
    void enter(QLineEdit* box, const QString& text)
    {
        QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
        box->setText(text);
        Q_EMIT box->textEdited(text);
        if (panel().analysing()) {
            ASSERT_TRUE(shown.wait(10000));
        }
    }
    void applyPlanChange()
    {
        QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
        window->apply(CommandOutcome{true, true});
        ASSERT_TRUE(shown.wait(10000));
    }
    QString cell(int row, int column) const
    {
        return window->intermodPanel().table()->model()->index(row, column).data().toString();
    }
    bool marked(int row)
    {
        return panel().table()->model()->index(row, 6).data(Qt::BackgroundRole).isValid();
    }
    QImage picture() { return planImage(document(), QSize(640, 480)); }
};

TEST_F(IntermodPanelTest, TableShowsEachCarrierAndMarksTheWeakOnesAndTheIncomplete)
{
    enter(panel().ip3Box(), QStringLiteral("40"));
    enter(panel().warningBox(), QStringLiteral("40"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("F2"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("B"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("F1-F2+F3 at 6010.00000, -15.74 dBW"));
    EXPECT_EQ(cell(0, 6), QStringLiteral("41.76"));
    EXPECT_EQ(cell(1, 6), QStringLiteral("35.74"));
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(marked(1)); // below 40 dB

    // Without a level on C, the products with C in them make A and B incomplete.
    Carrier unrated = document().carriers[2];
    unrated.powerDbw = noPowerLevelDbw;
    document().carriers.replaceAt(*document().carriers.findIndex(2), unrated);
    applyPlanChange();
    EXPECT_TRUE(marked(0));
    EXPECT_EQ(cell(0, 6), QString());
    EXPECT_EQ(cell(2, 6), QString()); // C has no level of its own
    EXPECT_FALSE(marked(2));
}

TEST_F(IntermodPanelTest, BadEntriesAreNamedBesideTheirBoxAndTheLastResultStays)
{
    enter(panel().ip3Box(), QStringLiteral("40"));
    enter(panel().guardBox(), QStringLiteral("0"));
    const IntermodAnalysis* kept = panel().analysis();
    const auto problems = [this] {
        return std::make_pair(!panel().problemBeside(panel().ip3Box()).isEmpty(),
                              !panel().problemBeside(panel().guardBox()).isEmpty());
    };
    EXPECT_EQ(problems(), std::make_pair(false, false));
    enter(panel().guardBox(), QStringLiteral("-5"));
    EXPECT_EQ(problems(), std::make_pair(false, true));
    enter(panel().ip3Box(), QStringLiteral("forty"));
    enter(panel().guardBox(), QStringLiteral("1"));
    EXPECT_EQ(problems(), std::make_pair(true, false));
    EXPECT_EQ(panel().analysis(), kept);
    EXPECT_EQ(cell(1, 6), QStringLiteral("35.74"));
}

TEST_F(IntermodPanelTest, CtrlCCopiesTheSelectedRowsAsTabSeparatedText)
{
    QTableView* table = panel().table();
    for (const int row : {2, 0})
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("F1\tA\t6000.00000\t1\t0\t2*F2-F3 at 6000.00000\t\n"
                             "F3\tC\t6020.00000\t1\t0\t2*F2-F1 at 6020.00000\t\n"));
}

TEST_F(IntermodPanelTest, TheHiddenPanelLeavesThePictureAsItWasAndTheShownOneAddsItsLayer)
{
    enter(panel().ip3Box(), QStringLiteral("0")); // products as strong as the carriers
    const QImage withLayer = picture();
    panel().toggleViewAction()->trigger();
    const QImage plain =
        renderPlanImage(document().carriers, document().displaySettings, QSize(640, 480));
    EXPECT_EQ(picture(), plain);
    EXPECT_NE(withLayer, plain);
}

TEST_F(IntermodPanelTest, DoubleClickModifiesThatCarrierAndAnEmptyPlanGivesAnEmptyTable)
{
    QTableView* table = panel().table();
    Q_EMIT table->doubleClicked(table->model()->index(1, 1));
    ASSERT_EQ(user.editedCarriers.size(), 1u);
    EXPECT_EQ(user.editedCarriers[0].label, "B");

    document().carriers.removeAll();
    applyPlanChange();
    EXPECT_EQ(table->model()->rowCount(), 0);
}

} // namespace
} // namespace orvane
