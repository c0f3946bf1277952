#include "app/intermod_panel.h"
#include "app/main_window.h"
#include "app/plan_view.h"
#include "app/qt_user_interaction.h"
#include "commands/scripted_interaction.h"
#include "support/modal_dialog.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>
#include <QXmlStreamReader>

#include <cstdlib>
#include <memory>
#include <vector>

namespace orvane {
namespace {

// The ink of every text of an SVG drawing as Qt's generator writes it: each text at its
// baseline point, in its font, turned by the matrix of the group around it.
struct InkBox {
    QString text;
    QRectF box;
};
std::vector<InkBox> textInk(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader svg(&file);
    std::vector<QTransform> groups{QTransform()};
    std::vector<InkBox> inks;
    const QRegularExpression matrix(QStringLiteral("matrix\\(([^,]+),([^,]+),([^,]+),([^,]+),"
                                                   "([^,]+),([^)]+)\\)"));
    while (!svg.atEnd()) {
        svg.readNext();
        const auto attribute = [&svg](const char* name) {
            return svg.attributes().value(QLatin1String(name)).toString();
        };
        if (svg.isEndElement() && svg.name() == QLatin1String("g"))
            groups.pop_back();
        if (!svg.isStartElement())
            continue;
        if (svg.name() == QLatin1String("g")) {
            const QRegularExpressionMatch m = matrix.match(attribute("transform"));
            groups.push_back(m.hasMatch() ? QTransform(m.captured(1).toDouble(),
                                                       m.captured(2).toDouble(),
                                                       m.captured(3).toDouble(),
                                                       m.captured(4).toDouble(),
                                                       m.captured(5).toDouble(),
                                                       m.captured(6).toDouble())
                                          : QTransform());
        } else if (svg.name() == QLatin1String("text")) {
            QFont font(attribute("font-family"));
            font.setPixelSize(attribute("font-size").toInt());
            font.setWeight(static_cast<QFont::Weight>(attribute("font-weight").toInt()));
            const QPointF at(attribute("x").toDouble(), attribute("y").toDouble());
            const QString text = svg.readElementText();
            const QRectF ink = QFontMetricsF(font).tightBoundingRect(text).translated(at);
            inks.push_back({text, groups.back().mapRect(ink)});
        }
    }
    return inks;
}

// The main window with the example plan and the analysis panel shown, in settings of its own.
class PanelLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configFolder.isValid());
        setenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit().constData(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder.path());
        open();
    }
    void open()
    {
        window = std::make_unique<MainWindow>("/opt/orvane");
        window->initialise(false);
        window->setInteraction(&user);
        window->showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->openFileAtStart(ORVANE_SOURCE_DIR "/examples/c-band-36mhz.carriers.txt");
    }
    IntermodPanel& panel() { return window->intermodPanel(); }
    void settle()
    {
        QElapsedTimer waited;
        waited.start();
        do
            QTest::qWait(20);
        while (panel().analysing() && waited.elapsed() < 10000);
    }

    QTemporaryDir configFolder;
    QTemporaryDir folder;
    testing::ScriptedInteraction user;
    std::unique_ptr<MainWindow> window;
};

// Beside the plot or under it, in a large window or a small one, the saved picture's texts
// lie inside it and clear of each other: no title cut at the top, no label in the title, no
// frequency in "Frequency (MHz)".
TEST_F(PanelLayoutTest, TheSavedPictureWithThePanelHasNoCutOrCrowdedText)
{
    panel().toggleViewAction()->trigger();
    for (const bool under : {false, true}) {
        if (under)
            window->action(MenuCommand::analysisUnderPlan)->trigger();
        for (const QSize size : {QSize(1280, 800), QSize(800, 600)}) {
            window->resize(size);
            settle();
            const QString path = folder.filePath(QStringLiteral("plan.svg"));
            user.chosenPaths = {path.toStdString()};
            window->action(MenuCommand::saveImage)->trigger();
            const QSize picture = window->planView().size();
            const std::vector<InkBox> inks = textInk(path);
            ASSERT_EQ(inks.size(), 19u) << "title, axis title, 9 frequencies, 8 label lines";
            const QRectF inside(0.5, 0.5, picture.width() - 1.0, picture.height() - 1.0);
            for (std::size_t i = 0; i < inks.size(); ++i) {
                EXPECT_TRUE(inside.contains(inks[i].box))
                    << inks[i].text.toStdString() << " cut at " << size.width() << "x"
                    << size.height() << (under ? " under" : " beside");
                for (std::size_t j = i + 1; j < inks.size(); ++j)
                    EXPECT_FALSE(inks[i].box.intersects(inks[j].box))
                        << inks[i].text.toStdString() << " on " << inks[j].text.toStdString()
                        << " at " << size.width() << "x" << size.height()
                        << (under ? " under" : " beside");
            }
        }
    }
}

// Where the panel stood and whether it was shown come back at the next start; its file
// chooser and messages stand over the middle of the window, not of the panel.
TEST_F(PanelLayoutTest, ThePanelReopensWhereItWasAndItsDialogsStandOverTheWindow)
{
    panel().toggleViewAction()->trigger();
    window->action(MenuCommand::analysisUnderPlan)->trigger();
    window->resize(1000, 700);
    settle();
    QtUserInteraction qtUser(window.get());
    window->setInteraction(&qtUser);
    QPoint offCentre(9999, 9999);
    test::whenModal([&](QWidget* chooser) {
        offCentre = chooser->geometry().center() - window->geometry().center();
        static_cast<QDialog*>(chooser)->reject();
    });
    panel().findChild<QPushButton*>("saveCsvButton")->click();
    EXPECT_LE(offCentre.manhattanLength(), 40) << offCentre.x() << "," << offCentre.y();

    window->close();
    window.reset();
    open();
    EXPECT_TRUE(panel().toggleViewAction()->isChecked());
    EXPECT_EQ(window->dockWidgetArea(&panel()), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(window->action(MenuCommand::analysisUnderPlan)->isChecked());
}

} // namespace
} // namespace orvane
