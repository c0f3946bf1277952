#include "app/chart_views.h"
#include "app/intermod_panel.h"
#include "app/intermod_runner.h"
#include "app/main_window.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "app/qt_user_interaction.h"
#include "app/settings_store.h"
#include "commands/display_check.h"
#include "commands/scripted_interaction.h"
#include "display/qt/plan_painting.h"
#include "model/number_text.h"
#include "support/modal_dialog.h"
#include "support/plans.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTransform>
#include <QUrl>
#include <QXmlStreamReader>

#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace orvane {
namespace {

using test::expectGolden;

const QString examplePlan = QStringLiteral(ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt");
const QString otherPlan = QStringLiteral(ORVANE_SOURCE_DIR "/examples/ku-band-dvb-s2.carriers.txt");

// The main window showing the example plan to a scripted user, in a settings folder of its
// own so that the user's settings stay out of reach.
class DesktopWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configFolder.isValid());
        setenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit().constData(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder.path());
        open();
    }
    // A new window, as at a start, that loads the example plan.
    void open()
    {
        window = std::make_unique<MainWindow>("/opt/orvane");
        window->initialise(false);
        window->setInteraction(&user);
        window->showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        user.chosenPaths.push_back(examplePlan.toStdString());
        run(MenuCommand::loadCarriers);
    }
    // Waits for the analysis panel to settle.
    void settle()
    {
        QElapsedTimer waited;
        waited.start();
        do
            QTest::qWait(20);
        while (window->intermodPanel().analysing() && waited.elapsed() < 10000);
    }
    void run(MenuCommand command) { window->action(command)->trigger(); }
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
    QString planStatus() { return window->findChild<QLabel*>("planStatus")->text(); }

    QTemporaryDir configFolder;
    QTemporaryDir folder;
    testing::ScriptedInteraction user;
    std::unique_ptr<MainWindow> window;
};

// Commands that need one carrier, or two, are enabled only then; the golden file lists the
// disabled ones by their place in MenuCommand.
TEST_F(DesktopWindowTest, MenuItemsFollowTheCarrierCount)
{
    const auto menus = [this] {
        std::string text = std::to_string(document().carriers.count()) + " carriers, disabled:";
        for (int command = 0; command <= static_cast<int>(MenuCommand::about); ++command)
            text += window->action(static_cast<MenuCommand>(command))->isEnabled()
                        ? ""
                        : " " + std::to_string(command);
        return text + "\n";
    };
    std::string seen = menus();
    user.okCancelAnswer = true;
    run(MenuCommand::clearAll);
    seen += menus();
    user.carrierDialog = [](Carrier&) { return true; };
    run(MenuCommand::addSpectral);
    seen += menus();
    run(MenuCommand::addFixed);
    expectGolden(seen + menus(), "app/menus.txt");
}

// Every item of a menu has an access key of its own; the analysis panel has a shortcut.
TEST_F(DesktopWindowTest, MenuItemsHaveAccessKeysOfTheirOwn)
{
    std::function<void(const QMenu*)> check = [&check](const QMenu* menu) {
        QSet<QChar> keys;
        for (const QAction* item : menu->actions()) {
            const QString text = QString(item->text()).remove(QStringLiteral("&&")) + ' ';
            const QChar key = text.at(text.indexOf(QLatin1Char('&')) + 1).toLower();
            EXPECT_TRUE(item->isSeparator() || (text.contains('&') && !keys.contains(key)))
                << item->text().toStdString();
            keys.insert(key);
            if (item->menu())
                check(item->menu());
        }
    };
    for (const QAction* menu : window->menuBar()->actions())
        check(menu->menu());
    EXPECT_EQ(window->intermodPanel().toggleViewAction()->shortcut(), Qt::CTRL | Qt::Key_I);
}

// Closing asks about unsaved changes only; the Edit menu names the change to undo or redo.
// The caption shows the client size; Default Fonts resets the sizes at the next paint (how
// fonts follow the client is the display tests' part).
TEST_F(DesktopWindowTest, ClosingAChangedPlanAsksAndTheEditMenuNamesTheChange)
{
    document().displaySettings.titleSize = 2.0;
    run(MenuCommand::defaultFonts);
    window->resize(700, 500);
    view().repaint();
    EXPECT_EQ(document().displaySettings.titleSize, 1.5);
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Orvane (%1,%2) ").arg(view().width()).arg(view().height()));
    window->close();
    EXPECT_EQ(user.log.find("save changes"), std::string::npos) << "a plan just loaded";
    EXPECT_EQ(planStatus(), "c-band-36mhz.carriers.txt");
    window->show();
    user.pickedIndex = 0;
    run(MenuCommand::deleteCarrier);
    run(MenuCommand::exit);
    EXPECT_NE(user.log.find("save changes"), std::string::npos);
    EXPECT_EQ(planStatus(), "New plan (modified)") << "the plan no longer matches its file";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->action(MenuCommand::undo)->text(), "&Undo Delete Carrier");
    run(MenuCommand::undo);
    EXPECT_EQ(document().carriers.count(), 7);
    EXPECT_EQ(planStatus(), "New plan") << "no change left to save";
    EXPECT_EQ(window->action(MenuCommand::redo)->text(), "&Redo Delete Carrier");
    EXPECT_TRUE(window->action(MenuCommand::redo)->shortcuts().contains(Qt::CTRL | Qt::Key_Y));
    user.saveChangesAnswer = UnsavedChangesAnswer::discard;
    window->close();
    EXPECT_FALSE(window->isVisible());
}

// A click marks the carrier under the pointer, highlighted on screen but never in a saved
// picture; pointing names it, a double click opens its dialog and the Delete key offers it.
TEST_F(DesktopWindowTest, TheCarrierUnderThePointerIsMarkedNamedOpenedAndDeleted)
{
    user.log.clear();
    const QImage plain = planImage(document(), view().size());
    EXPECT_EQ(shown(), plain);
    QTest::keyClick(&view(), Qt::Key_Delete);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(1));
    EXPECT_EQ(view().markedCarrier(), 1);
    EXPECT_NE(shown(), plain);
    EXPECT_EQ(planImage(document(), view().size()), plain);
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(view().markedCarrier());

    const QPoint point = pointOn(2);
    QHelpEvent help(QEvent::ToolTip, point, view().mapToGlobal(point));
    QApplication::sendEvent(&view(), &help);
    EXPECT_TRUE(QToolTip::text().startsWith("IBS 512k")) << QToolTip::text().toStdString();
    user.carrierDialog = [](Carrier& carrier) { return carrier.label = "edited", true; };
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(document().carriers[2].label, "edited");
    EXPECT_EQ(view().markedCarrier(), 2);

    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, pointOn(5));
    user.cancelSelection = true;
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(document().carriers.count(), 7);
    EXPECT_EQ(view().markedCarrier(), 5);
    user.cancelSelection = false;
    QTest::keyClick(&view(), Qt::Key_Delete, Qt::KeypadModifier);
    EXPECT_EQ(document().carriers.count(), 6);
    EXPECT_EQ(document().carriers[5].label, "Reserved slot (level not yet agreed)");
    EXPECT_FALSE(view().markedCarrier());
    expectGolden(user.log, "app/window-pointing.txt");
}

// The folder and the recent plans are kept for the next start, which shows the splash first.
TEST_F(DesktopWindowTest, ADroppedFileIsLoadedAndTheFolderAndRecentPlansOutliveTheWindow)
{
    EXPECT_EQ(user.log.find("choose open in '" + QDir::homePath().toStdString() + "'"), 0u)
        << "the first run starts in the home folder";
    QMimeData dropped;
    for (const QList<QUrl>& urls :
         {QList<QUrl>{QUrl(QStringLiteral("https://example.org/plan.txt"))},
          QList<QUrl>{QUrl::fromLocalFile(folder.filePath(QStringLiteral("gone.txt"))),
                      QUrl::fromLocalFile(otherPlan)},
          QList<QUrl>{QUrl::fromLocalFile(otherPlan)}}) {
        dropped.setUrls(urls);
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_EQ(enter.isAccepted(), urls.size() == 1 && urls[0].isLocalFile());
        QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
    }
    EXPECT_EQ(document().carrierFilePath, otherPlan.toStdString());
    EXPECT_EQ(user.log.find("message"), std::string::npos) << "only the one local file opened";

    window.reset();
    MainWindow next("/opt/orvane");
    next.initialise(true);
    EXPECT_EQ(next.document().lastPath, ORVANE_SOURCE_DIR "/examples");
    const QList<QAction*> entries = next.recentPlansMenu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "&1 " + otherPlan);
    EXPECT_EQ(entries[1]->text(), "&2 " + examplePlan);
    writeLastPath("");
    EXPECT_EQ(readLastPath("/opt/orvane"), "") << "an empty folder is kept as it is";
}

// The program opens a plan named on its command line, and without a display says why.
TEST_F(DesktopWindowTest, TheProgramStartsWithAPlanOrEndsAtOnceWithoutADisplay)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_EXIT_AFTER_START_MS"), QStringLiteral("100"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), {otherPlan});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    QSettings stored(configFolder.filePath(QStringLiteral("Velmora Software/orvane.conf")),
                     QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("RECENT/PLANS")).toStringList(), QStringList{otherPlan});

    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    const auto run = [&program](const QStringList& arguments) {
        program.start(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane"), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    };
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(program.readAllStandardError(), QByteArray(noDisplayText) + "\n");
    // The version and the help need no display; a display that is named but not there is
    // said in one line, without Qt's abort.
    EXPECT_EQ(run({QStringLiteral("--version")}), 0);
    EXPECT_EQ(program.readAllStandardOutput(), "Orvane Version " ORVANE_VERSION "\n");
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4321"));
    program.setProcessEnvironment(environment);
    EXPECT_EQ(run({examplePlan}), 1);
    const QByteArray said = program.readAllStandardError();
    EXPECT_TRUE(said.startsWith("orvane: the display could not be opened (DISPLAY=:4321)"));
    EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
}

// The ink of every text of an SVG drawing as Qt's generator writes it: each text at its
// baseline point, in its font, turned by the matrix of the group around it.
std::vector<std::pair<QString, QRectF>> textInk(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader svg(&file);
    std::vector<QTransform> groups{QTransform()};
    std::vector<std::pair<QString, QRectF>> inks;
    const QRegularExpression matrix(QStringLiteral("matrix\\((.+),(.+),(.+),(.+),(.+),(.+)\\)"));
    while (!svg.atEnd()) {
        svg.readNext();
        const auto value = [&svg](const char* name) {
            return svg.attributes().value(QLatin1String(name)).toString();
        };
        if (svg.isEndElement() && svg.name() == QLatin1String("g"))
            groups.pop_back();
        if (svg.isStartElement() && svg.name() == QLatin1String("g")) {
            const QRegularExpressionMatch m = matrix.match(value("transform"));
            const auto at = [&m](int i) { return m.captured(i).toDouble(); };
            groups.push_back(m.hasMatch() ? QTransform(at(1), at(2), at(3), at(4), at(5), at(6))
                                          : QTransform());
        } else if (svg.isStartElement() && svg.name() == QLatin1String("text")) {
            QFont font(value("font-family"));
            font.setPixelSize(value("font-size").toInt());
            font.setWeight(static_cast<QFont::Weight>(value("font-weight").toInt()));
            const QPointF at(value("x").toDouble(), value("y").toDouble());
            const QString text = svg.readElementText();
            const QRectF ink = QFontMetricsF(font).tightBoundingRect(text).translated(at);
            inks.emplace_back(text, groups.back().mapRect(ink));
        }
    }
    return inks;
}

// The picture is saved at the client size. Beside the plot or under it, in a large window or a
// small one, its texts lie inside it and clear of each other: no title cut at the top, no label
// in the title, no frequency in "Frequency (MHz)"; nor does the legend that names a simulated
// amplifier's output.
TEST_F(DesktopWindowTest, TheSavedPictureWithThePanelHasNoCutOrCrowdedText)
{
    window->intermodPanel().toggleViewAction()->trigger();
    const auto check = [this](bool under, std::size_t textCount) {
        for (const QSize size : {QSize(1280, 800), QSize(800, 600)}) {
            window->resize(size);
            settle();
            const QString path = folder.filePath(QStringLiteral("plan.svg"));
            user.chosenPaths = {path.toStdString()};
            run(MenuCommand::saveImage);
            const std::string viewBox = "viewBox=\"0 0 " + std::to_string(view().width()) + " " +
                                        std::to_string(view().height()) + "\"";
            EXPECT_NE(test::contentOf(path.toStdString()).find(viewBox), std::string::npos);
            const auto inks = textInk(path);
            ASSERT_EQ(inks.size(), textCount) << "title, axis title, 9 frequencies, 8 label lines";
            const QRectF inside(0.5, 0.5, view().width() - 1.0, view().height() - 1.0);
            for (std::size_t i = 0; i < inks.size(); ++i) {
                const std::string text = inks[i].first.toStdString() + (under ? " under" : "");
                EXPECT_TRUE(inside.contains(inks[i].second)) << text << " cut at " << size.width();
                for (std::size_t j = i + 1; j < inks.size(); ++j)
                    EXPECT_FALSE(inks[i].second.intersects(inks[j].second))
                        << text << " on " << inks[j].first.toStdString() << " at " << size.width();
            }
        }
    };
    check(false, 19);
    run(MenuCommand::analysisUnderPlan);
    check(true, 19);
    auto* choice = window->intermodPanel().findChild<QComboBox*>("amplifierChoice");
    choice->setCurrentIndex(static_cast<int>(PanelAmplifier::tube));
    Q_EMIT choice->activated(choice->currentIndex());
    check(true, 21); // the tube's output and the carriers hit
}

// Where the panel stood and whether it was shown come back at the next start; its file
// chooser and messages stand over the middle of the window, not of the panel.
TEST_F(DesktopWindowTest, ThePanelReopensWhereItWasAndItsDialogsStandOverTheWindow)
{
    window->intermodPanel().toggleViewAction()->trigger();
    run(MenuCommand::analysisUnderPlan);
    window->resize(1000, 700);
    settle();
    QtUserInteraction qtUser(window.get());
    window->setInteraction(&qtUser);
    QPoint offCentre(9999, 9999);
    test::whenModal([&](QWidget* chooser) {
        offCentre = chooser->geometry().center() - window->geometry().center();
        static_cast<QDialog*>(chooser)->reject();
    });
    window->intermodPanel().findChild<QPushButton*>("saveCsvButton")->click();
    EXPECT_LE(offCentre.manhattanLength(), 40) << offCentre.x() << "," << offCentre.y();

    window->close();
    open();
    EXPECT_TRUE(window->intermodPanel().toggleViewAction()->isChecked());
    EXPECT_EQ(window->dockWidgetArea(&window->intermodPanel()), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(window->action(MenuCommand::analysisUnderPlan)->isChecked());
}

// The worked example of the help page: three carriers of 1000 kSps, 20 dBW, 10 MHz apart.
class IntermodPanelTest : public DesktopWindowTest {
protected:
    void SetUp() override
    {
        DesktopWindowTest::SetUp();
        document().carriers.removeAll();
        for (const Carrier& carrier : threeCarrierExample())
            document().carriers.append(carrier);
        andWait([this] { panel().toggleViewAction()->trigger(); });
    }
    IntermodPanel& panel() { return window->intermodPanel(); }
    QLineEdit* box(const char* name) { return panel().findChild<QLineEdit*>(name); }
    QTableView* table() { return panel().findChild<QTableView*>("intermodTable"); }
    // Makes a change and waits for the table to follow, when the change starts an analysis.
    void andWait(const std::function<void()>& change)
    {
        change();
        settle();
        ASSERT_FALSE(panel().analysing());
    }
    // Types into a box as the user would.
    void enter(QLineEdit* box, const QString& text)
    {
        andWait([&] {
            box->setText(text);
            Q_EMIT box->textEdited(text);
        });
    }
    // The table as rows of tab-separated cells, "marked" after a row whose margin is marked.
    std::string tableText()
    {
        const QAbstractItemModel* table = this->table()->model();
        QString text;
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column)
                text += table->index(row, column).data().toString() + "\t";
            text += table->index(row, 3).data(Qt::BackgroundRole).isValid() ? "marked\n" : "\n";
        }
        return text.toStdString();
    }
};

// Margins below the warning level are marked, and so are those that a carrier without a level
// leaves incomplete; Ctrl+C copies the selected rows as tab-separated text; a double click
// modifies the row's carrier; an empty plan empties the table.
TEST_F(IntermodPanelTest, TableMarksTheWeakAndTheIncompleteCopiesAndFollowsThePlan)
{
    enter(box("ip3Box"), QStringLiteral("40"));
    enter(box("warningBox"), QStringLiteral("40"));
    QTableView* table = this->table();
    for (const int row : {2, 0})
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    std::string tables =
        tableText() + "copied:\n" + QApplication::clipboard()->text().toStdString();
    Carrier unrated = document().carriers[2];
    unrated.powerDbw = noPowerLevelDbw;
    document().carriers.replaceAt(*document().carriers.findIndex(2), unrated);
    andWait([this] { window->apply(CommandOutcome{true, true}); });
    expectGolden(tables + "\n" + tableText(), "app/intermod-table.txt");

    user.log.clear();
    Q_EMIT table->doubleClicked(table->model()->index(1, 1));
    EXPECT_EQ(user.log.find("edit 'B'"), 0u) << user.log;
    document().carriers.removeAll();
    andWait([this] { window->apply(CommandOutcome{true, true}); });
    EXPECT_EQ(table->model()->rowCount(), 0);
}

TEST_F(IntermodPanelTest, BadEntriesAreNamedBesideTheirBoxAndTheLastResultStaysAndIsDrawn)
{
    enter(box("ip3Box"), QStringLiteral("40"));
    enter(box("guardBox"), QStringLiteral("0"));
    const IntermodAnalysis* kept = panel().model().analysis();
    EXPECT_EQ(document().intermodOverlay->hitBandsMhz.size(), 3u) << "every carrier is hit";
    const auto problems = [this] {
        return std::make_pair(!panel().findChild<QLabel*>("ip3Problem")->text().isEmpty(),
                              !panel().findChild<QLabel*>("guardProblem")->text().isEmpty());
    };
    EXPECT_EQ(problems(), std::make_pair(false, false));
    enter(box("guardBox"), QStringLiteral("-5"));
    EXPECT_EQ(problems(), std::make_pair(false, true));
    enter(box("ip3Box"), QStringLiteral("forty"));
    enter(box("guardBox"), QStringLiteral("1"));
    EXPECT_EQ(problems(), std::make_pair(true, false));
    EXPECT_EQ(panel().model().analysis(), kept);
    EXPECT_NE(tableText().find("\t35.74\t"), std::string::npos);
    // The budget's boxes alike: at Psat 30 dBW and C/N0(sat) 90 dB-Hz each 20 dBW carrier of
    // 1000 kSps has Es/N0 90 - 10 - 60 = 20 dB, and keeps it while Psat is no number.
    enter(box("psatBox"), QStringLiteral("30"));
    enter(box("cn0SatBox"), QStringLiteral("90"));
    enter(box("psatBox"), QStringLiteral("thirty"));
    EXPECT_FALSE(panel().findChild<QLabel*>("psatProblem")->text().isEmpty());
    EXPECT_EQ(table()->model()->index(0, 11).data().toString(), QStringLiteral("20.00"));
    EXPECT_EQ(panel().findChild<QLabel*>("budgetSummary")->text(),
              QStringLiteral("power 100 % \u00b7 bandwidth 9 % \u00b7 power-limited"));
    EXPECT_EQ(panel().findChild<ShareChartView*>()->chart().bars.size(), 3u);

    // The shown panel adds its layer to the picture; the hidden one leaves it as it was.
    enter(box("ip3Box"), QStringLiteral("0")); // products as strong as the carriers
    const QImage withLayer = planImage(document(), QSize(640, 480));
    panel().toggleViewAction()->trigger();
    const QImage plain =
        renderPlanImage(document().carriers, document().displaySettings, QSize(640, 480));
    EXPECT_EQ(planImage(document(), QSize(640, 480)), plain);
    EXPECT_NE(withLayer, plain);
}

// Arrange Carriers starts from the panel's boxes; the Edit menu takes back what it applied.
TEST_F(IntermodPanelTest, ArrangeCarriersStartsFromThePanelsBoxesAndIsUndone)
{
    enter(box("ip3Box"), QStringLiteral("41.5"));
    enter(box("guardBox"), QStringLiteral("2"));
    user.arrangeDialog = [](ArrangeModel& model) {
        const ArrangeModel::Start start = model.startRun();
        model.finishRun(start.run->id, placeArrangement(*start.run, nullptr, {}));
        return true;
    };
    run(MenuCommand::arrangeCarriers);
    EXPECT_NE(user.log.find("IP3 '41.5', guard '2'"), std::string::npos) << user.log;
    EXPECT_EQ(window->action(MenuCommand::undo)->text(), QStringLiteral("&Undo Arrange Carriers"));
}

// Typing starts no analysis until it pauses, a new warning level none at all. Every result
// sizes the columns to their widest cell, also when later texts are longer. A result older than
// the plan is greyed and says "Updating..." until the newer one is in; its rows open nothing
// and the status bar says why.
TEST_F(IntermodPanelTest, TypingWaitsForAPauseColumnsFitAndAnOutOfDateResultIsGreyed)
{
    const auto fitted = [this] {
        bool fits = true;
        for (int column = 0; column < table()->model()->columnCount(); ++column)
            fits =
                fits && (table()->isColumnHidden(column) ||
                         table()->columnWidth(column) >=
                             static_cast<QAbstractItemView*>(table())->sizeHintForColumn(column));
        return fits;
    };
    EXPECT_TRUE(fitted());
    QTest::keyClicks(box("ip3Box"), QStringLiteral("40")); // the strongest gain their power
    EXPECT_FALSE(panel().findChild<IntermodRunner*>()->busy()) << "no analysis at a key";
    andWait([] {});
    EXPECT_TRUE(fitted());
    QTest::keyClicks(box("warningBox"), QStringLiteral("0"));
    EXPECT_FALSE(panel().analysing());

    const auto summary = [this] { return panel().findChild<QLabel*>("intermodSummary")->text(); };
    const auto grey = [this] { return table()->model()->index(0, 0).data(Qt::ForegroundRole); };
    document().carriers.removeAt(*document().carriers.findIndex(0));
    window->apply(CommandOutcome{true, true});
    EXPECT_TRUE(summary().startsWith("Updating...")) << summary().toStdString();
    EXPECT_TRUE(grey().isValid());
    user.log.clear();
    Q_EMIT table()->doubleClicked(table()->model()->index(0, 1));
    EXPECT_EQ(user.log, "");
    EXPECT_FALSE(window->statusBar()->currentMessage().isEmpty());
    andWait([] {});
    EXPECT_FALSE(summary().startsWith("Updating...")) << summary().toStdString();
    EXPECT_FALSE(grey().isValid());
}

// Choosing a tube simulates the plan through it off the window's thread: its columns show, the
// budget takes its C/IM, the sweep fills its chart with a best operating point and the picture
// gets the output spectrum; a newer operating point replaces the simulation under way. A
// measured curve comes from a file the user chooses; one that holds none says why.
TEST_F(IntermodPanelTest, AnAmplifierIsSimulatedAndSweptAndAMeasuredCurveIsChosen)
{
    // Stop ends what runs; the next change starts it again.
    auto* choice = panel().findChild<QComboBox*>("amplifierChoice");
    choice->setCurrentIndex(static_cast<int>(PanelAmplifier::tube));
    Q_EMIT choice->activated(choice->currentIndex());
    panel().findChild<QPushButton*>("stopButton")->click();
    EXPECT_FALSE(panel().analysing());
    const auto amplifierLine = [this] {
        return panel().findChild<QLabel*>("amplifierSummary")->text();
    };
    EXPECT_TRUE(amplifierLine().startsWith("Stopped")) << amplifierLine().toStdString();
    enter(box("psatBox"), QStringLiteral("30"));
    enter(box("cn0SatBox"), QStringLiteral("90"));
    const QAbstractItemModel* rows = table()->model();
    EXPECT_FALSE(table()->isColumnHidden(4));
    const AmplifierSimulation* simulation = panel().model().simulation();
    ASSERT_NE(simulation, nullptr);
    EXPECT_EQ(rows->index(1, 4).data().toString().toStdString(),
              formatFixed(*simulation->carriers[1].cimDb, 0, 2));
    const BackoffChart& chart = panel().findChild<BackoffChartView*>()->chart();
    EXPECT_EQ(chart.worstCimDb.size(), 21u);
    EXPECT_TRUE(chart.best);
    EXPECT_FALSE(document().intermodOverlay->amplifierOutput.binDbwPerKhz.empty());

    // Typed while the first runs: only the latest operating point is shown.
    QLineEdit* ibo = box("iboBox");
    ibo->setText(QStringLiteral("4"));
    Q_EMIT ibo->textEdited(ibo->text());
    QTest::qWait(200);
    enter(ibo, QStringLiteral("16"));
    EXPECT_EQ(panel().model().simulation()->inputBackoffDb, 16.0);
    EXPECT_FALSE(panel().model().simulationStale());

    QFile curve(folder.filePath(QStringLiteral("tube.csv")));
    ASSERT_TRUE(curve.open(QIODevice::WriteOnly));
    curve.write("input dB,output dB,phase degrees\n-20,-14.3,1.5\n-10,-5.1,7.9\n0,0,36\n");
    curve.close();
    auto* chooseButton = panel().findChild<QPushButton*>("amplifierTableButton");
    user.chosenPaths = {curve.fileName().toStdString()};
    andWait([chooseButton] { chooseButton->click(); });
    EXPECT_EQ(panel().model().amplifier(), PanelAmplifier::table);
    EXPECT_TRUE(amplifierLine().startsWith("Measured amplifier at"))
        << amplifierLine().toStdString();
    user.chosenPaths = {folder.filePath(QStringLiteral("none.csv")).toStdString()};
    user.log.clear();
    andWait([chooseButton] { chooseButton->click(); });
    EXPECT_NE(user.log.find("cannot be used"), std::string::npos) << user.log;
    EXPECT_FALSE(panel().findChild<QLabel*>("amplifierProblem")->text().isEmpty());
}

} // namespace
} // namespace orvane
