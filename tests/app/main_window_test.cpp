#include "app/main_window.h"
#include "app/plan_view.h"
#include "app/settings_store.h"
#include "isolated_settings.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

namespace orvane {
namespace {

Carrier fixedCarrier(double centreMhz)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, 1.35, -999.0, 1.35);
    carrier.label = "C";
    return carrier;
}

using testing::IsolatedSettings;
using MainWindowTest = IsolatedSettings;

struct MenuCase {
    int carrierCount;
    bool oneCarrierItems;
    bool twoCarrierItems;
};

void PrintTo(const MenuCase& menu, std::ostream* out)
{
    *out << menu.carrierCount << " carriers";
}

class MenuStateTest : public IsolatedSettings, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuStateTest, ItemsFollowTheCarrierCount)
{
    MainWindow window("/opt/orvane");
    window.initialise(false);
    for (int index = 0; index < GetParam().carrierCount; ++index)
        window.document().carriers.append(fixedCarrier(6000.0 + 10.0 * index));
    window.updateMenuState();

    for (const MenuCommand command :
         {MenuCommand::saveCarriers, MenuCommand::modifyCarrier, MenuCommand::deleteCarrier,
          MenuCommand::shiftCarriers, MenuCommand::fitCarriers})
        EXPECT_EQ(window.action(command)->isEnabled(), GetParam().oneCarrierItems)
            << window.action(command)->text().toStdString();
    for (const MenuCommand command : {MenuCommand::scrunchCarriers, MenuCommand::saveReport})
        EXPECT_EQ(window.action(command)->isEnabled(), GetParam().twoCarrierItems)
            << window.action(command)->text().toStdString();
    for (const MenuCommand command : {MenuCommand::loadCarriers, MenuCommand::saveImage,
                                      MenuCommand::addFixed, MenuCommand::clearAll})
        EXPECT_TRUE(window.action(command)->isEnabled())
            << window.action(command)->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Counts, MenuStateTest,
                         ::testing::Values(MenuCase{0, false, false}, MenuCase{1, true, false},
                                           MenuCase{2, true, true}));

TEST_F(MainWindowTest, StartsWithThePlanDefaults)
{
    MainWindow window("/opt/orvane");
    window.document().displaySettings.titleText = "stale";
    window.initialise(false);
    EXPECT_EQ(window.document().displaySettings.titleText, "Transponder Frequency Plan");
    EXPECT_TRUE(window.isMaximized() || window.windowState().testFlag(Qt::WindowMaximized));
    // First run: the choosers open in the program's folder.
    EXPECT_EQ(window.document().lastPath, "/opt/orvane");
}

TEST_F(MainWindowTest, LastFolderIsWrittenWhenTheWindowGoesAndReadAtTheNextStart)
{
    {
        MainWindow window("/opt/orvane");
        window.initialise(false);
        window.document().lastPath = "/data/out";
    }
    MainWindow next("/opt/orvane");
    next.initialise(false);
    EXPECT_EQ(next.document().lastPath, "/data/out");

    writeLastPath("");
    EXPECT_EQ(readLastPath("/opt/orvane"), "");
}

TEST_F(MainWindowTest, CaptionShowsTheClientSize)
{
    EXPECT_EQ(planCaption("Orvane", 801, 601), "Orvane (801,601) ");

    MainWindow window("/opt/orvane");
    window.showNormal();
    window.resize(700, 500);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.planView().repaint();
    EXPECT_EQ(window.windowTitle().toStdString(),
              planCaption("Orvane", window.planView().width(), window.planView().height()));
}

TEST_F(MainWindowTest, DefaultFontsOnlyAsksForAReset)
{
    MainWindow window("/opt/orvane");
    window.initialise(false);
    window.document().displaySettings.fontsResetPending = false;
    window.action(MenuCommand::defaultFonts)->trigger();
    EXPECT_TRUE(window.document().displaySettings.fontsResetPending);
}

TEST(PlanViewFonts, RescaleOnAWidthChangeOnly)
{
    PlanDocument document;
    PlanView view(document);
    view.resize(801, 400);
    view.grab();
    const int titleHeight = std::abs(document.displaySettings.titleFont.height);
    EXPECT_FALSE(document.displaySettings.fontsResetPending);
    EXPECT_EQ(titleHeight, 24);

    view.resize(801, 700);
    view.grab();
    EXPECT_EQ(std::abs(document.displaySettings.titleFont.height), titleHeight);

    view.resize(1201, 700);
    view.grab();
    EXPECT_EQ(std::abs(document.displaySettings.titleFont.height), 36);
}

} // namespace
} // namespace orvane
