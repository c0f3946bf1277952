#include "dialogs/fixed_carrier_dialog.h"

#include "dialog_test_support.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace orvane::test {
namespace {

class FixedCarrierDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<FixedCarrierDialog>(carrier);
        dialog->show();
    }
    QString shown(const char* boxName) { return text(dialog.get(), boxName); }

    EntryProblems problems;
    Carrier carrier;
    std::unique_ptr<FixedCarrierDialog> dialog;
};

TEST_F(FixedCarrierDialogTest, TypingABandwidthRewritesOnlyTheSymbolRateOnce)
{
    open();
    RewriteCounter rewrites(dialog.get());
    retype(dialog.get(), "editBandwidth", "1");
    EXPECT_EQ(shown("editSymbolRate"), "740.741");
    EXPECT_EQ(rewrites.count("editSymbolRate"), 1);
    EXPECT_EQ(rewrites.count("editBandwidth"), 1);
    EXPECT_EQ(rewrites.total(), 2);
    EXPECT_TRUE(problems.messages().isEmpty());
}

TEST_F(FixedCarrierDialogTest, SymbolRateInputGivesTheUnroundedBandwidth)
{
    open();
    RewriteCounter rewrites(dialog.get());
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioSymbolRate"), Qt::LeftButton);
    EXPECT_EQ(rewrites.total(), 0) << "choosing the input recalculates nothing";
    EXPECT_TRUE(control<QLineEdit>(dialog.get(), "editSymbolRate")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(dialog.get(), "editBandwidth")->isEnabled());

    retype(dialog.get(), "editSymbolRate", "2048");
    EXPECT_EQ(shown("editBandwidth"), "2.7648");

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    Carrier expected;
    expected.setFixedSymbolRate(6000.0, 2048.0, 20.0, 1.35);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(carrier.occupiedBandwidthMhz, expected.occupiedBandwidthMhz);
}

TEST_F(FixedCarrierDialogTest, RolloffChangesOnlyTheSymbolRateWhenBandwidthIsInput)
{
    open();
    RewriteCounter rewrites(dialog.get());
    retype(dialog.get(), "editRolloff", "20");
    EXPECT_EQ(shown("editBandwidth"), "1.35");
    EXPECT_EQ(shown("editSymbolRate"), "1125");
    EXPECT_EQ(rewrites.count("editBandwidth"), 0);
}

TEST_F(FixedCarrierDialogTest, RolloffBoxTakesDigitsOnly)
{
    open();
    retype(dialog.get(), "editRolloff", "2a-0.");
    EXPECT_EQ(shown("editRolloff"), "20");
}

TEST_F(FixedCarrierDialogTest, OkRebuildsTheCarrierFromTheBandwidthAndLabel)
{
    carrier.label = "old";
    open();
    auto* label = control<QPlainTextEdit>(dialog.get(), "editLabel");
    label->selectAll();
    QTest::keyClicks(label, "A");
    QTest::keyClick(label, Qt::Key_Return);
    QTest::keyClicks(label, "B");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the label starts a new line";
    retype(dialog.get(), "editCentreFrequency", "6100.5");
    retype(dialog.get(), "editBandwidth", "1");
    retype(dialog.get(), "editPower", "-3");

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    Carrier expected;
    expected.setFixedBandwidth(6100.5, 1.0, -3.0, 1.35);
    EXPECT_EQ(carrier.label, "A\tB");
    EXPECT_EQ(carrier.symbolRateGiven, 0);
    EXPECT_DOUBLE_EQ(carrier.symbolRateMsps, expected.symbolRateMsps);
    EXPECT_DOUBLE_EQ(carrier.centreFrequencyMhz, 6100.5);
    EXPECT_DOUBLE_EQ(carrier.powerDbw, -3.0);
}

TEST_F(FixedCarrierDialogTest, CarrierBuiltFromSymbolRateShowsItThroughItsBandwidth)
{
    carrier.setFixedSymbolRate(6000.0, 2048.0, 20.0, 1.2);
    carrier.label = "A\tB";
    open();
    EXPECT_EQ(control<QPlainTextEdit>(dialog.get(), "editLabel")->toPlainText(), "A\nB");
    EXPECT_TRUE(control<QRadioButton>(dialog.get(), "radioSymbolRate")->isChecked());
    EXPECT_EQ(shown("editSymbolRate"), "2048");
    EXPECT_EQ(shown("editBandwidth"), "2.4576");
    EXPECT_EQ(shown("editRolloff"), "20");
}

TEST_F(FixedCarrierDialogTest, TextThatIsNotYetANumberIsLeftAloneWhileTyping)
{
    open();
    clearByKeyboard(dialog.get(), "editBandwidth");
    EXPECT_EQ(shown("editBandwidth"), "");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    QTest::keyClicks(control<QLineEdit>(dialog.get(), "editBandwidth"), "-");
    EXPECT_EQ(shown("editBandwidth"), "-");
    QTest::keyClicks(control<QLineEdit>(dialog.get(), "editBandwidth"), "1.");
    EXPECT_EQ(shown("editBandwidth"), "-1.") << "a number being typed is never rewritten";
    EXPECT_EQ(shown("editSymbolRate"), "-740.741");
    EXPECT_TRUE(problems.messages().isEmpty());
}

TEST_F(FixedCarrierDialogTest, OkRefusesBoxesThatAreNotNumbers)
{
    const Carrier before = carrier;
    open();
    clearByKeyboard(dialog.get(), "editPower");
    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(problems.messages(), QStringList{"Please enter a number."});
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editPower"));
    EXPECT_EQ(carrier.powerDbw, before.powerDbw);

    retype(dialog.get(), "editPower", "5");
    clearByKeyboard(dialog.get(), "editRolloff");
    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(problems.messages().size(), 2);
    EXPECT_EQ(problems.messages().back(), "Please enter an integer.");
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editRolloff"));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FixedCarrierDialogTest, RolloffOfMinusHundredPercentNeverDividesByZero)
{
    carrier.calcMode = calcModeFixed;
    carrier.rolloffFactor = 0.0;
    carrier.occupiedBandwidthMhz = 1.0;
    open();
    EXPECT_EQ(shown("editRolloff"), "-100");
    EXPECT_EQ(shown("editSymbolRate"), "1000") << "the carrier's own symbol rate stays";
    retype(dialog.get(), "editBandwidth", "2");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(),
              QStringList{"The IF filter roll-off must be greater than -100 %."});
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editRolloff"));
    EXPECT_DOUBLE_EQ(carrier.occupiedBandwidthMhz, 1.0);
}

} // namespace
} // namespace orvane::test
