#include "dialogs/fec_carrier_dialog.h"
#include "dialogs/fixed_carrier_dialog.h"
#include "dialogs/spectral_carrier_dialog.h"

#include "dialog_test_support.h"
#include "support/overlapping_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace orvane::test {
namespace {

// The dialogs are views of the carrier form model (whose arithmetic the core tests prove):
// these tests check what the widgets add: forwarding, rewriting, enabling, focus, OK.
template <typename Dialog> class CarrierDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<Dialog>(carrier);
        dialog->show();
    }
    QString shown(const char* boxName) { return text(dialog.get(), boxName); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(dialog.get(), name); }
    template <typename Control> Control* find(const char* name)
    {
        return control<Control>(dialog.get(), name);
    }
    void click(const char* name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }

    EntryProblems problems;
    Carrier carrier;
    std::unique_ptr<Dialog> dialog;
};

using CarrierDialogs =
    ::testing::Types<FixedCarrierDialog, FecCarrierDialog, SpectralCarrierDialog>;
TYPED_TEST_SUITE(CarrierDialogTest, CarrierDialogs);

TYPED_TEST(CarrierDialogTest, OpensOnTheCarriersInputWithNoControlCoveringAnother)
{
    this->carrier.symbolRateGiven = 1;
    this->open();
    EXPECT_TRUE(this->template find<QRadioButton>("radioSymbolRate")->isChecked());
    EXPECT_TRUE(this->box("editSymbolRate")->isEnabled());
    EXPECT_EQ(overlappingControls(this->dialog.get()), QStringList{});
}

using FixedDialogTest = CarrierDialogTest<FixedCarrierDialog>;
using FecDialogTest = CarrierDialogTest<FecCarrierDialog>;
using SpectralDialogTest = CarrierDialogTest<SpectralCarrierDialog>;

TEST_F(FixedDialogTest, TypingRewritesTheOtherRateOnceAndTheRadiosOnlyEnable)
{
    open();
    EXPECT_FALSE(box("editSymbolRate")->isEnabled());
    RewriteCounter rewrites(dialog.get());
    retype(dialog.get(), "editBandwidth", "1");
    EXPECT_EQ(shown("editSymbolRate"), "740.741");
    EXPECT_EQ(rewrites.count("editSymbolRate"), 1);
    EXPECT_EQ(rewrites.total(), 2) << "the typed box and the symbol rate";

    click("radioSymbolRate");
    EXPECT_EQ(rewrites.total(), 2) << "choosing the input recalculates nothing";
    EXPECT_TRUE(box("editSymbolRate")->isEnabled());
    EXPECT_FALSE(box("editBandwidth")->isEnabled());
    click("radioBandwidth");
    EXPECT_TRUE(box("editBandwidth")->isEnabled());

    retype(dialog.get(), "editRolloff", "2a-0.");
    EXPECT_EQ(shown("editRolloff"), "20") << "the roll-off box takes digits only";
}

TEST_F(FixedDialogTest, OkTakesTheLabelLinesAndTheTypedValues)
{
    carrier.setFixedBandwidth(6000.0, 1.35, 20.0, 1.35);
    carrier.label = "old\tlabel";
    open();
    auto* label = find<QPlainTextEdit>("editLabel");
    EXPECT_EQ(label->toPlainText(), "old\nlabel");
    label->selectAll();
    QTest::keyClicks(label, "A");
    QTest::keyClick(label, Qt::Key_Return);
    QTest::keyClicks(label, "B");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the label starts a new line";
    retype(dialog.get(), "editCentreFrequency", "6100.5");
    retype(dialog.get(), "editBandwidth", "1");
    QTest::keyClick(box("editBandwidth"), Qt::Key_Return);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.label, "A\tB");
    EXPECT_EQ(carrier.centreFrequencyMhz, 6100.5);
    EXPECT_EQ(carrier.occupiedBandwidthMhz, 1.0);
}

TEST_F(FecDialogTest, DvbSExampleTypedIntoTheBoxes)
{
    open();
    EXPECT_FALSE(box("editRsN")->isEnabled());
    EXPECT_FALSE(box("editFecValue")->isEnabled());
    RewriteCounter rewrites(dialog.get());
    retype(dialog.get(), "editDataRate", "2048");
    EXPECT_EQ(rewrites.count("editSymbolRate"), 4) << "once a keystroke";
    find<QComboBox>("comboFec")->setCurrentIndex(6);
    click("checkReedSolomon");
    EXPECT_TRUE(box("editRsRatio")->isEnabled());
    retype(dialog.get(), "editRsN", "204");
    retype(dialog.get(), "editRsK", "188");
    EXPECT_EQ(shown("editRsRatio"), "1.085106");
    EXPECT_EQ(shown("editSymbolRate"), "1481.531");
    EXPECT_EQ(shown("editBandwidth"), "2.0001");

    click("radioSymbolRate");
    EXPECT_FALSE(box("editDataRate")->isEnabled());
    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.rsK, 188.0);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
}

TEST_F(FecDialogTest, OtherMovesTheFocusIntoTheRateBox)
{
    open();
    auto* fec = find<QComboBox>("comboFec");
    fec->setCurrentIndex(12);
    EXPECT_TRUE(box("editFecValue")->isEnabled());
    EXPECT_EQ(dialog->focusWidget(), box("editFecValue"));
    fec->setCurrentIndex(3);
    EXPECT_FALSE(box("editFecValue")->isEnabled());
    EXPECT_EQ(shown("editFecValue"), "0.5");
}

TEST_F(FecDialogTest, OkRefusalKeepsTheDialogOpenWithTheFocusOnTheField)
{
    carrier.applyModcodFec(0.0, 128, 0.5, 1.0, 1.0, 1.25, 4.5, 1e-7, 0);
    open();
    EXPECT_EQ(find<QComboBox>("comboModulation")->currentIndex(), -1);
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(dialog->focusWidget(), find<QComboBox>("comboModulation"));
    find<QComboBox>("comboModulation")->setCurrentIndex(1);
    retype(dialog.get(), "editPower", "");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(),
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
    RewriteCounter rewrites(dialog.get());
    find<QComboBox>("comboModulation")->setCurrentIndex(2);
    find<QComboBox>("comboFec")->setCurrentIndex(6);
    EXPECT_EQ(shown("editOverheads"), "1024");
    EXPECT_EQ(rewrites.count("editOverheads"), 2);
    EXPECT_EQ(rewrites.total(), 3) << "and the FEC value";
}

} // namespace
} // namespace orvane::test
