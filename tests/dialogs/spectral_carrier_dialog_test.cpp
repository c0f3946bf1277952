#include "dialogs/spectral_carrier_dialog.h"

#include "dialog_test_support.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace orvane::test {
namespace {

class SpectralCarrierDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<SpectralCarrierDialog>(carrier);
        dialog->show();
    }
    QString shown(const char* boxName) { return text(dialog.get(), boxName); }
    QComboBox* fecList() { return control<QComboBox>(dialog.get(), "comboFec"); }
    QComboBox* modulationList() { return control<QComboBox>(dialog.get(), "comboModulation"); }

    EntryProblems problems;
    Carrier carrier;
    std::unique_ptr<SpectralCarrierDialog> dialog;
};

TEST_F(SpectralCarrierDialogTest, NewCarrierShowsDefaults)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Carrier : Spectral Efficiency Calculation");
    EXPECT_EQ(shown("editOverheads"), "0");
    EXPECT_TRUE(control<QLineEdit>(dialog.get(), "editOverheads")->isReadOnly());
    EXPECT_TRUE(control<QLineEdit>(dialog.get(), "editBandwidth")->isReadOnly());
}

TEST_F(SpectralCarrierDialogTest, OverheadsShowWhatTheEfficiencyLeavesOfTheCodedRate)
{
    open();
    retype(dialog.get(), "editDataRate", "2048");
    retype(dialog.get(), "editSpectralEfficiency", "1.5");
    EXPECT_EQ(shown("editSymbolRate"), "1365.33333333333");
    EXPECT_EQ(shown("editBandwidth"), "1.8432");

    RewriteCounter rewrites(dialog.get());
    modulationList()->setCurrentIndex(2);
    fecList()->setCurrentIndex(6);
    EXPECT_EQ(shown("editOverheads"), "1024");
    EXPECT_EQ(rewrites.count("editOverheads"), 2);
    EXPECT_EQ(rewrites.total() - rewrites.count("editOverheads") - rewrites.count("editFecValue"),
              0)
        << "modulation and FEC change only the overheads";
}

TEST_F(SpectralCarrierDialogTest, EfficiencyBeyondTheCodingShowsNegativeOverheads)
{
    open();
    retype(dialog.get(), "editSpectralEfficiency", "1.5");
    EXPECT_EQ(shown("editOverheads"), "-333.333333333333");
}

TEST_F(SpectralCarrierDialogTest, WithSymbolRateChosenTheEfficiencyChangesTheDataRate)
{
    open();
    QTest::mouseClick(control<QRadioButton>(dialog.get(), "radioSymbolRate"), Qt::LeftButton);
    retype(dialog.get(), "editSpectralEfficiency", "2.25");
    EXPECT_EQ(shown("editDataRate"), "2250");
    EXPECT_EQ(shown("editSymbolRate"), "1000");

    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(carrier.calcMode, calcModeSpectral);
    EXPECT_EQ(carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(carrier.dataRateKbps, 2250.0);
}

TEST_F(SpectralCarrierDialogTest, OkStoresNoOverheadsAndNoReedSolomonCode)
{
    carrier.setFecFromDataRate(6000.0, 2048.0, 64.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    carrier.calcMode = calcModeSpectral;
    open();
    retype(dialog.get(), "editSpectralEfficiency", "1.5");
    modulationList()->setCurrentIndex(2);
    clickButton(dialog.get(), "buttonOk");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    Carrier expected;
    expected.setSpectralFromDataRate(6000.0, 2048.0, 1.5, 8, 0.75, 20.0, 1.35);
    EXPECT_EQ(carrier.overheadKbps, 0.0);
    EXPECT_EQ(carrier.rsN, 1.0);
    EXPECT_DOUBLE_EQ(carrier.symbolRateKsps, expected.symbolRateKsps);
    EXPECT_DOUBLE_EQ(carrier.occupiedBandwidthMhz, expected.occupiedBandwidthMhz);
}

TEST_F(SpectralCarrierDialogTest, ZeroEfficiencyIsSkippedLiveAndRefusedAtOk)
{
    carrier.applyModcodSpectral(0.0, 8, 0.75, 1.2, 5.5, 1e-7, 0);
    open();
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    retype(dialog.get(), "editDataRate", "3000");
    EXPECT_EQ(shown("editSymbolRate"), "1000");
    EXPECT_TRUE(problems.messages().isEmpty());
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(), QStringList{"The spectral efficiency must be greater than 0."});
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editSpectralEfficiency"));

    retype(dialog.get(), "editSpectralEfficiency", "2");
    EXPECT_EQ(shown("editSymbolRate"), "1500");
    EXPECT_EQ(shown("editBandwidth"), "1.8");
}

TEST_F(SpectralCarrierDialogTest, ModcodEntryShowsItsCodingAndRolloff)
{
    carrier.applyModcodSpectral(2.228124, 8, 0.75, 1.2, 7.91, 1e-7, 0);
    carrier.label = "DVB-S2 8PSK 3/4";
    open();
    EXPECT_EQ(modulationList()->currentText(), "8PSK,8QAM");
    EXPECT_EQ(fecList()->currentText(), "3/4");
    EXPECT_EQ(shown("editRolloff"), "20");
    EXPECT_EQ(shown("editSpectralEfficiency"), "2.228124");
    EXPECT_EQ(shown("editSymbolRate"), "448.808055566028");
}

} // namespace
} // namespace orvane::test
