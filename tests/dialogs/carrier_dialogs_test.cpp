#include "dialogs/dialog_runners.h"
#include "dialogs/fec_carrier_dialog.h"
#include "dialogs/fixed_carrier_dialog.h"
#include "dialogs/spectral_carrier_dialog.h"

#include "dialog_test_support.h"
#include "support/modal_dialog.h"
#include "support/overlapping_controls.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>

namespace orvane::test {
namespace {

// The dialogs are views of the carrier form model (whose arithmetic the core tests prove):
// these tests check what the widgets add: layout, forwarding, enabling, focus, OK.
template <typename Dialog> class CarrierDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<Dialog>(carrier);
        dialog->show();
    }
    QString shown(const char* name) { return box(name)->text(); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(dialog.get(), name); }
    QComboBox* combo(const char* name) { return control<QComboBox>(dialog.get(), name); }
    void type(const char* name, const QString& text) { retype(dialog.get(), name, text); }
    void click(const char* name) { clickButton(dialog.get(), name); }

    ShownToUser user;
    Carrier carrier;
    std::unique_ptr<Dialog> dialog;
};

using FixedDialogTest = CarrierDialogTest<FixedCarrierDialog>;
using FecDialogTest = CarrierDialogTest<FecCarrierDialog>;
using SpectralDialogTest = CarrierDialogTest<SpectralCarrierDialog>;

TEST_F(FixedDialogTest, TypingRewritesTheOtherRateAndOkTakesTheLabelLines)
{
    carrier.setFixedBandwidth(6000.0, 1.35, 20.0, 1.35);
    carrier.label = "old\tlabel";
    open();
    EXPECT_FALSE(box("editSymbolRate")->isEnabled());
    QSignalSpy symbolRate(box("editSymbolRate"), &QLineEdit::textChanged);
    type("editBandwidth", "1");
    EXPECT_EQ(shown("editSymbolRate"), "740.741");
    click("radioSymbolRate");
    EXPECT_EQ(symbolRate.count(), 1) << "choosing the input recalculates nothing";
    EXPECT_FALSE(box("editBandwidth")->isEnabled());
    click("radioBandwidth");
    type("editRolloff", "2a-0.");
    EXPECT_EQ(shown("editRolloff"), "20") << "the roll-off box takes digits only";

    auto* label = control<QPlainTextEdit>(dialog.get(), "editLabel");
    EXPECT_EQ(label->toPlainText(), "old\nlabel");
    label->selectAll();
    QTest::keyClicks(label, "A");
    QTest::keyClick(label, Qt::Key_Return);
    QTest::keyClicks(label, "B");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the label starts a new line";
    type("editCentreFrequency", "6100.5");
    QTest::keyClick(box("editCentreFrequency"), Qt::Key_Return);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.label, "A\tB");
    EXPECT_EQ(carrier.centreFrequencyMhz, 6100.5);
    EXPECT_EQ(carrier.occupiedBandwidthMhz, 1.0);
    EXPECT_DOUBLE_EQ(carrier.rolloffFactor, 1.2);
}

// 2048 kbps, QPSK 3/4, RS(204,188) at 35 %: 1481.531 kSps in 2.0001 MHz.
TEST_F(FecDialogTest, TheDvbSExampleTypedIntoTheBoxes)
{
    open();
    EXPECT_FALSE(box("editRsN")->isEnabled());
    EXPECT_FALSE(box("editFecValue")->isEnabled());
    QSignalSpy symbolRate(box("editSymbolRate"), &QLineEdit::textChanged);
    type("editDataRate", "2048");
    EXPECT_EQ(symbolRate.count(), 4) << "once a keystroke";
    combo("comboFec")->setCurrentIndex(6);
    click("checkReedSolomon");
    type("editRsN", "204");
    type("editRsK", "188");
    EXPECT_EQ(shown("editBandwidth"), "2.0001");

    click("radioSymbolRate");
    EXPECT_FALSE(box("editDataRate")->isEnabled());
    click("buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.rsK, 188.0);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
}

TEST_F(FecDialogTest, OtherOpensTheRateBoxAndARefusalKeepsTheDialogOnTheField)
{
    carrier.applyModcodFec(0.0, 128, 0.5, 1.0, 1.0, 1.25, 4.5, 1e-7, 0);
    open();
    auto* fec = combo("comboFec");
    EXPECT_EQ(fec->currentIndex(), 3);
    fec->setCurrentIndex(12);
    EXPECT_TRUE(box("editFecValue")->isEnabled());
    EXPECT_EQ(dialog->focusWidget(), box("editFecValue"));
    fec->setCurrentIndex(1);
    EXPECT_FALSE(box("editFecValue")->isEnabled());
    EXPECT_EQ(shown("editFecValue"), "0.333333");

    EXPECT_EQ(combo("comboModulation")->currentIndex(), -1);
    click("buttonOk");
    EXPECT_EQ(dialog->focusWidget(), combo("comboModulation"));
    combo("comboModulation")->setCurrentIndex(1);
    type("editPower", "");
    click("buttonOk");
    EXPECT_EQ(user.problems,
              (QStringList{"Please choose a modulation.", "Please enter a number."}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), box("editPower"));
    EXPECT_EQ(box("editPower")->selectedText(), box("editPower")->text());
    EXPECT_EQ(carrier.powerDbw, 20.0);
}

TEST_F(SpectralDialogTest, ModulationAndFecRewriteOnlyTheOverheads)
{
    carrier.setSpectralFromDataRate(6000.0, 2048.0, 1.5, 4, 0.5, 20.0, 1.35);
    open();
    EXPECT_TRUE(box("editOverheads")->isReadOnly());
    EXPECT_TRUE(box("editBandwidth")->isReadOnly());
    QSignalSpy symbolRate(box("editSymbolRate"), &QLineEdit::textChanged);
    combo("comboModulation")->setCurrentIndex(2);
    combo("comboFec")->setCurrentIndex(6);
    EXPECT_EQ(shown("editOverheads"), "1024");
    EXPECT_EQ(symbolRate.count(), 0);
}

struct ModeCase {
    int calcMode;
    unsigned helpKey;
    bool ok; // else Cancel
};

class CarrierDialogByMode : public ::testing::TestWithParam<ModeCase> {};

// The dialog of the carrier's mode opens on the carrier's input, with no control covering
// another; OK rebuilds the carrier, Cancel changes nothing.
TEST_P(CarrierDialogByMode, OpensTheDialogOfTheModeWhereOnlyOkChangesTheCarrier)
{
    ShownToUser user;
    Carrier carrier;
    carrier.setFecFromDataRate(6010.0, 2048.0, 16.0, 8, 0.75, 204.0, 188.0, 12.0, 1.25);
    carrier.calcMode = GetParam().calcMode;
    carrier.symbolRateGiven = 1;
    whenModal([](QWidget* dialog) {
        EXPECT_TRUE(control<QRadioButton>(dialog, "radioSymbolRate")->isChecked());
        EXPECT_TRUE(control<QLineEdit>(dialog, "editSymbolRate")->isEnabled());
        EXPECT_EQ(overlappingControls(dialog), QStringList{});
        QTest::keyClick(control<QLineEdit>(dialog, "editPower"), Qt::Key_F1);
        retype(dialog, "editCentreFrequency", "6100");
        clickButton(dialog, GetParam().ok ? "buttonOk" : "buttonCancel");
        if (dialog->isVisible())
            clickButton(dialog, "buttonCancel");
    });
    EXPECT_EQ(runCarrierDialog(nullptr, carrier), GetParam().ok);
    EXPECT_EQ(user.helpKeys, std::vector<unsigned>{GetParam().helpKey});
    EXPECT_EQ(carrier.centreFrequencyMhz, GetParam().ok ? 6100.0 : 6010.0);
    EXPECT_EQ(carrier.calcMode, GetParam().calcMode);
}

INSTANTIATE_TEST_SUITE_P(Modes, CarrierDialogByMode,
                         ::testing::Values(ModeCase{0, helpKey::fixedCarrier, true},
                                           ModeCase{1, helpKey::fecCarrier, false},
                                           ModeCase{2, helpKey::spectralCarrier, false},
                                           ModeCase{7, helpKey::fecCarrier, false}));

} // namespace
} // namespace orvane::test
