#include "dialogs/carrier_selection_dialog.h"
#include "dialogs/frequency_entry_dialog.h"

#include "dialog_test_support.h"
#include "support/overlapping_controls.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace orvane::test {
namespace {

Carrier carrierAt(double centreMhz, double powerDbw, const std::string& label)
{
    Carrier carrier;
    carrier.setCentreFrequency(centreMhz);
    carrier.powerDbw = powerDbw;
    carrier.label = label;
    return carrier;
}

class CarrierSelectionDialogTest : public ::testing::Test {
protected:
    void open(const char* caption = "Modify Carrier :", const char* okText = "MODIFY")
    {
        dialog = std::make_unique<CarrierSelectionDialog>(list, caption, okText);
        dialog->show();
        view = control<QTreeWidget>(dialog.get(), "listCarriers");
    }
    QStringList row(int index) const
    {
        QStringList texts;
        for (int column = 0; column < view->columnCount(); ++column)
            texts << view->topLevelItem(index)->text(column);
        return texts;
    }
    QPoint rowCentre(int index) const
    {
        return view->visualItemRect(view->topLevelItem(index)).center();
    }

    CarrierList list;
    std::unique_ptr<CarrierSelectionDialog> dialog;
    QTreeWidget* view = nullptr;
};

TEST_F(CarrierSelectionDialogTest, PlanRowsShowFrequencyPowerAndLabel)
{
    HelpRequests help;
    list.append(carrierAt(6000.0, 20.0, "TV1"));
    list.append(carrierAt(6012.345678, noPowerLevelDbw, "Line 1\tLine 2"));
    open();
    EXPECT_EQ(dialog->windowTitle(), "Modify Carrier :");
    EXPECT_EQ(control<QPushButton>(dialog.get(), "buttonOk")->text(), "MODIFY");
    EXPECT_EQ(view->headerItem()->text(2), "Carrier Label");
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(row(0), (QStringList{"6000.00000", "20.00", "TV1"}));
    EXPECT_EQ(row(1), (QStringList{"6012.34568", "-999.00", "Line 1 Line 2"}));
    EXPECT_EQ(overlappingControls(dialog.get()), QStringList{});
    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(help.keys(), std::vector<unsigned>{141});
}

TEST_F(CarrierSelectionDialogTest, ModcodListShowsOneColumnOfEntryNames)
{
    HelpRequests help;
    list.isModcodList = 1;
    list.append(carrierAt(6000.0, 20.0, "DVB-S2 QPSK 1/4"));
    list.append(carrierAt(6000.0, 20.0, "DVB-S2 QPSK 1/3"));
    open("MODCOD File : DVB-S2", "SELECT");
    ASSERT_EQ(view->columnCount(), 1);
    EXPECT_EQ(view->headerItem()->text(0), "Modcod Type");
    EXPECT_EQ(row(1), QStringList{"DVB-S2 QPSK 1/3"});
    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(help.keys(), std::vector<unsigned>{32784});
}

TEST_F(CarrierSelectionDialogTest, ThePickIsTheHighlightedRowByMouseOrKeyboard)
{
    list.append(carrierAt(6000.0, 20.0, "A"));
    list.append(carrierAt(6010.0, 20.0, "B"));
    list.append(carrierAt(6020.0, 20.0, "C"));
    open();
    view->setFocus();
    clickButton(dialog.get(), "buttonOk");
    EXPECT_FALSE(dialog->selectedEntry().has_value()) << "nothing highlighted, nothing picked";

    open();
    // A double click as the window system delivers it: press, release, double click, release.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(dialog->selectedEntry(), list.findIndex(2));
    EXPECT_TRUE(dialog->isVisible()) << "a double click does not close the dialog";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->selectedEntry(), list.findIndex(1));
}

class FrequencyEntryDialogTest : public ::testing::Test {
protected:
    void open(double initialMhz)
    {
        dialog = std::make_unique<FrequencyEntryDialog>("Enter Frequency Step for Carrier Shift : ",
                                                        initialMhz);
        dialog->show();
    }

    EntryProblems problems;
    std::unique_ptr<FrequencyEntryDialog> dialog;
};

TEST_F(FrequencyEntryDialogTest, ShowsTheInitialValueAndReturnsTheTypedOne)
{
    HelpRequests help;
    open(0.0);
    EXPECT_EQ(dialog->windowTitle(), "Enter Frequency Step for Carrier Shift : ");
    EXPECT_EQ(text(dialog.get(), "editFrequency"), "0");
    EXPECT_EQ(overlappingControls(dialog.get()), QStringList{});
    QTest::keyClick(control<QLineEdit>(dialog.get(), "editFrequency"), Qt::Key_F1);
    EXPECT_EQ(help.keys(), std::vector<unsigned>{140});
    retype(dialog.get(), "editFrequency", "-2.5");
    QTest::keyClick(control<QLineEdit>(dialog.get(), "editFrequency"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->frequencyMhz(), -2.5);
}

TEST_F(FrequencyEntryDialogTest, RefusesWhatIsNoNumberOrBeyondTheFileLimit)
{
    open(5850.0);
    retype(dialog.get(), "editFrequency", "");
    clickButton(dialog.get(), "buttonOk");
    retype(dialog.get(), "editFrequency", "-1.5e12");
    clickButton(dialog.get(), "buttonOk");
    EXPECT_EQ(problems.messages(),
              (QStringList{"Please enter a number.", "The frequency must lie between "
                                                     "-1000000000000 and 1000000000000 MHz."}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), control<QLineEdit>(dialog.get(), "editFrequency"));
    clickButton(dialog.get(), "buttonCancel");
    EXPECT_EQ(dialog->frequencyMhz(), 5850.0);
}

} // namespace
} // namespace orvane::test
