#include "dialogs/dialog_runners.h"

#include "dialog_test_support.h"
#include "support/modal_dialog.h"

#include <QTest>
#include <QTreeWidget>

namespace orvane::test {
namespace {

struct ModeCase {
    int calcMode;
    const char* caption;
    unsigned helpKey;
};

class CarrierDialogByMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(CarrierDialogByMode, OpensTheDialogOfTheCarriersModeAndCancelChangesNothing)
{
    HelpRequests help;
    Carrier carrier;
    carrier.setFecFromDataRate(6010.0, 2048.0, 16.0, 8, 0.75, 204.0, 188.0, 12.0, 1.25);
    carrier.calcMode = GetParam().calcMode;
    const Carrier before = carrier;
    QString caption;
    whenModal([&caption](QWidget* dialog) {
        caption = dialog->windowTitle();
        QTest::keyClick(control<QLineEdit>(dialog, "editPower"), Qt::Key_F1);
        retype(dialog, "editCentreFrequency", "1");
        retype(dialog, "editRolloff", "5");
        clickButton(dialog, "buttonCancel");
    });
    EXPECT_FALSE(runCarrierDialog(nullptr, carrier));
    EXPECT_EQ(caption, GetParam().caption);
    EXPECT_EQ(help.keys(), std::vector<unsigned>{GetParam().helpKey});
    EXPECT_EQ(carrier.centreFrequencyMhz, before.centreFrequencyMhz);
    EXPECT_EQ(carrier.rolloffFactor, before.rolloffFactor);
    EXPECT_EQ(carrier.calcMode, before.calcMode);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CarrierDialogByMode,
    ::testing::Values(ModeCase{0, "Carrier : Fixed Bandwidth or SymbolRate", 138},
                      ModeCase{1, "Carrier : FEC & Modulation Calculation", 139},
                      ModeCase{2, "Carrier : Spectral Efficiency Calculation", 142},
                      ModeCase{7, "Carrier : FEC & Modulation Calculation", 139}));

TEST(CarrierDialogRunner, OkReportsTheRebuiltCarrier)
{
    Carrier carrier;
    carrier.calcMode = calcModeFixed;
    whenModal([](QWidget* dialog) {
        retype(dialog, "editBandwidth", "2.7");
        clickButton(dialog, "buttonOk");
    });
    EXPECT_TRUE(runCarrierDialog(nullptr, carrier));
    EXPECT_EQ(carrier.occupiedBandwidthMhz, 2.7);
    EXPECT_EQ(carrier.calcMode, calcModeFixed);
}

TEST(SelectionRunner, AnswersThePickedPlaceOnlyOnOk)
{
    CarrierList list;
    list.append(Carrier{});
    list.append(Carrier{});
    const auto pickSecondThen = [](const char* button) {
        whenModal([button](QWidget* dialog) {
            auto* view = control<QTreeWidget>(dialog, "listCarriers");
            const QPoint centre = view->visualItemRect(view->topLevelItem(1)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
            clickButton(dialog, button);
        });
    };
    pickSecondThen("buttonOk");
    EXPECT_EQ(runCarrierSelection(nullptr, list, "Delete Carrier :", "DELETE"), list.findIndex(1));
    pickSecondThen("buttonCancel");
    EXPECT_EQ(runCarrierSelection(nullptr, list, "Delete Carrier :", "DELETE"), std::nullopt);
}

TEST(FrequencyRunner, AnswersTheValueOnOkAndNothingOnCancel)
{
    whenModal([](QWidget* dialog) {
        retype(dialog, "editFrequency", "5900.25");
        clickButton(dialog, "buttonOk");
    });
    EXPECT_EQ(runFrequencyEntry(nullptr, "Enter Start Frequency for Scrunch : ", 5850.0), 5900.25);
    whenModal([](QWidget* dialog) { clickButton(dialog, "buttonCancel"); });
    EXPECT_EQ(runFrequencyEntry(nullptr, "Enter Start Frequency for Scrunch : ", 5850.0),
              std::nullopt);
}

} // namespace
} // namespace orvane::test
