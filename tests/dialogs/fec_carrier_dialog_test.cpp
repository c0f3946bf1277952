#include "dialogs/fec_carrier_dialog.h"

#include "dialog_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace orvane::test {
namespace {

class FecCarrierDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<FecCarrierDialog>(carrier);
        dialog->show();
    }
    QString shown(const char* boxName) { return text(dialog.get(), boxName); }
    QComboBox* fecList() { return control<QComboBox>(dialog.get(), "comboFec"); }
    QComboBox* modulationList() { return control<QComboBox>(dialog.get(), "comboModulation"); }
    QCheckBox* reedSolomon() { return control<QCheckBox>(dialog.get(), "checkReedSolomon"); }

    // 2048 kbps, QPSK, 3/4 and RS(204,188), typed in the order a user would.
    void enterDvbSExample()
    {
        retype(dialog.get(), "editDataRate", "2048");
        fecList()->setCurrentIndex(6);
        QTest::mouseClick(reedSolomon(), Qt::LeftButton);
        retype(dialog.get(), "editRsN", "204");
        retype(dialog.get(), "editRsK", "188");
    }

    EntryProblems problems;
    Carrier carrier;
    std::unique_ptr<FecCarrierDialog> dialog;
};

TEST_F(FecCarrierDialogTest, NewCarrierShowsTheDefaultCarrier)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Carrier : FEC & Modulation Calculation");
    EXPECT_EQ(modulationList()->currentText(), "QPSK");
    EXPECT_EQ(fecList()->itemText(12), "Other");
    EXPECT_FALSE(control<QLineEdit>(dialog.get(), "editRsN")->isEnabled());
    EXPECT_EQ(shown("editRolloff"), "35");
    EXPECT_EQ(shown("editBandwidth"), "1.35");
    EXPECT_FALSE(control<QLineEdit>(dialog.get(), "editSymbolRate")->isEnabled());
}

TEST_F(FecCarrierDialogTest, DvbSExampleGivesRatioSymbolRateAndBandwidth)
{
    open();
    enterDvbSExample();
    EXPECT_EQ(shown("editRsN"), "204");
    EXPECT_EQ(shown("editRsK"), "188");
    EXPECT_EQ(shown("editRsRatio"), "1.085106");
    EXPECT_EQ(shown("editSymbolRate"), "1481.531");
    EXPECT_EQ(shown("editBandwidth"), "2.0001");
    EXPECT_TRUE(problems.messages().isEmpty());

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    Carrier expected;
    expected.setFecFromDataRate(6000.0, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    EXPECT_EQ(carrier.rsN, 204.0);
    EXPECT_EQ(carrier.symbolRateGiven, 0);
    EXPECT_DOUBLE_EQ(carrier.symbolRateKsps, expected.symbolRateKsps);
    EXPECT_NEAR(carrier.symbolRateKsps, 1481.5319, 1e-4) << "not the rounded display value";
}

TEST_F(FecCarrierDialogTest, SymbolRateDirectionBuildsFromTheCodeItself)
{
    open();
    enterDvbSExample();
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioSymbolRate"), Qt::LeftButton);
    retype(dialog.get(), "editSymbolRate", "1481.531");
    EXPECT_EQ(shown("editDataRate"), "2047.999");

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    Carrier expected;
    expected.setFecFromSymbolRate(6000.0, 1481.531, 0.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(carrier.dataRateKbps, expected.dataRateKbps);
    EXPECT_NEAR(carrier.dataRateKbps, 2047.9987, 1e-4);
}

TEST_F(FecCarrierDialogTest, OwnWritingDiesOutAfterOneRound)
{
    open();
    RewriteCounter rewrites(dialog.get());
    retype(dialog.get(), "editDataRate", "2");
    EXPECT_EQ(rewrites.count("editDataRate"), 1);
    EXPECT_EQ(rewrites.count("editSymbolRate"), 1);
    EXPECT_EQ(rewrites.count("editBandwidth"), 1);
    EXPECT_EQ(rewrites.total(), 3);
    EXPECT_EQ(shown("editSymbolRate"), "2");
    EXPECT_EQ(shown("editBandwidth"), "0.0027");
}

TEST_F(FecCarrierDialogTest, ChoosingTheInputRecalculatesNothing)
{
    open();
    RewriteCounter rewrites(dialog.get());
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioSymbolRate"), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioDataRate"), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioSymbolRate"), Qt::LeftButton);
    EXPECT_EQ(rewrites.total(), 0);
    EXPECT_FALSE(control<QLineEdit>(dialog.get(), "editDataRate")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(dialog.get(), "editSymbolRate")->isEnabled());
}

TEST_F(FecCarrierDialogTest, OtherOpensTheRateBoxAndANamedRateWritesItsValue)
{
    open();
    QLineEdit* valueBox = control<QLineEdit>(dialog.get(), "editFecValue");
    fecList()->setCurrentIndex(12);
    EXPECT_TRUE(valueBox->isEnabled());
    EXPECT_EQ(dialog->focusWidget(), valueBox);
    retype(valueBox, "0.95");
    EXPECT_EQ(shown("editSymbolRate"), "526.316");

    modulationList()->setCurrentIndex(2);
    fecList()->setCurrentIndex(1);
    EXPECT_FALSE(valueBox->isEnabled());
    EXPECT_EQ(valueBox->text(), "0.333333");
    EXPECT_EQ(shown("editSymbolRate"), "1000.001");
}

TEST_F(FecCarrierDialogTest, UncheckingKeepsTheCodeForCheckingAgain)
{
    open();
    enterDvbSExample();
    QTest::mouseClick(reedSolomon(), Qt::LeftButton);
    EXPECT_EQ(shown("editRsRatio"), "1");
    EXPECT_EQ(shown("editRsN"), "");
    EXPECT_EQ(shown("editRsK"), "");
    EXPECT_EQ(shown("editSymbolRate"), "1365.333");
    EXPECT_FALSE(control<QLineEdit>(dialog.get(), "editRsRatio")->isEnabled());

    QTest::mouseClick(reedSolomon(), Qt::LeftButton);
    EXPECT_EQ(shown("editRsN"), "204");
    EXPECT_EQ(shown("editRsK"), "188");
    EXPECT_EQ(shown("editRsRatio"), "1.085106");
    EXPECT_EQ(shown("editSymbolRate"), "1481.531");
}

TEST_F(FecCarrierDialogTest, TypingARatioForgetsNAndK)
{
    open();
    enterDvbSExample();
    retype(dialog.get(), "editRsRatio", "1.1");
    EXPECT_EQ(shown("editRsN"), "");
    EXPECT_EQ(shown("editRsK"), "");
    EXPECT_EQ(shown("editSymbolRate"), "1501.867");

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(carrier.rsN, 1.1);
    EXPECT_DOUBLE_EQ(carrier.rsK, 1.0);
}

TEST_F(FecCarrierDialogTest, CodeBoxesEmptyWhatIsNotAPositiveWholeNumber)
{
    open();
    enterDvbSExample();
    retype(dialog.get(), "editRsN", "x");
    EXPECT_EQ(shown("editRsN"), "");
    EXPECT_EQ(shown("editRsRatio"), "1");
    retype(dialog.get(), "editRsN", "204abc");
    EXPECT_EQ(shown("editRsN"), "204");
    EXPECT_EQ(shown("editRsRatio"), "1.085106");
    EXPECT_TRUE(problems.messages().isEmpty());
}

struct OpeningCase {
    const char* name;
    double fecRate;
    double rsN;
    double rsK;
    bool checked;
    const char* nText;
    const char* ratioText;
    const char* fecName;
    const char* fecValue;
};

class FecCarrierOpening : public FecCarrierDialogTest,
                          public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(FecCarrierOpening, ShowsTheCarriersCoding)
{
    const OpeningCase& c = GetParam();
    carrier.setFecFromDataRate(6000.0, 2048.0, 0.0, 4, c.fecRate, c.rsN, c.rsK, 20.0, 1.35);
    open();
    EXPECT_EQ(reedSolomon()->isChecked(), c.checked);
    EXPECT_EQ(shown("editRsN"), c.nText);
    EXPECT_EQ(shown("editRsRatio"), c.ratioText);
    EXPECT_EQ(fecList()->currentText(), c.fecName);
    EXPECT_EQ(shown("editFecValue"), c.fecValue);
    EXPECT_EQ(control<QLineEdit>(dialog.get(), "editFecValue")->isEnabled(),
              QString(c.fecName) == "Other");
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, FecCarrierOpening,
    ::testing::Values(
        OpeningCase{"KnownCode", 0.75, 204, 188, true, "204", "1.085106", "3/4", "0.75"},
        OpeningCase{"RatioOnly", 0.75, 1.085106, 1, true, "", "1.085106", "3/4", "0.75"},
        OpeningCase{"UnnamedRate", 0.95, 1, 1, false, "", "1", "Other", "0.95"},
        OpeningCase{"ThirdMatchesOneThird", 1.0 / 3.0, 1, 1, false, "", "1", "1/3",
                    "0.333333333333333"}),
    [](const ::testing::TestParamInfo<OpeningCase>& info) { return info.param.name; });

TEST_F(FecCarrierDialogTest, ZeroRateUnderOtherIsSkippedLiveAndRefusedAtOk)
{
    open();
    fecList()->setCurrentIndex(12);
    retype(dialog.get(), "editFecValue", "0");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    EXPECT_EQ(shown("editBandwidth"), "1.35");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(), QStringList{"The FEC rate must be greater than 0."});
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editFecValue"));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FecCarrierDialogTest, ModcodEntriesWithUnusableCodingOpenSafely)
{
    carrier.applyModcodFec(0.0, 128, 0.0, 1.0, 1.0, 1.25, 4.5, 1e-7, 0);
    open();
    EXPECT_EQ(modulationList()->currentIndex(), -1);
    EXPECT_EQ(fecList()->currentText(), "Other");
    EXPECT_EQ(shown("editSymbolRate"), "1000") << "nothing computed from unusable coding";
    retype(dialog.get(), "editDataRate", "500");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(), QStringList{"Please choose a modulation."});
    EXPECT_EQ(dialog->focusWidget(), modulationList());

    modulationList()->setCurrentIndex(1);
    retype(dialog.get(), "editFecValue", "0.5");
    EXPECT_EQ(shown("editSymbolRate"), "500");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.modulationOrder, 4);
    EXPECT_DOUBLE_EQ(carrier.rolloffFactor, 1.25);
}

TEST_F(FecCarrierDialogTest, ClearedBoxesKeepTheirDependentsUntilOk)
{
    open();
    clearByKeyboard(dialog.get(), "editDataRate");
    EXPECT_EQ(shown("editDataRate"), "");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    fecList()->setCurrentIndex(6);
    EXPECT_EQ(shown("editDataRate"), "") << "the dialog never refills a box being typed";
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    EXPECT_TRUE(problems.messages().isEmpty());

    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(), QStringList{"Please enter a number."});
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editDataRate"));
    QTest::keyClicks(control<QLineEdit>(dialog.get(), "editDataRate"), "1200");
    EXPECT_EQ(shown("editSymbolRate"), "800");
}

} // namespace
} // namespace orvane::test
