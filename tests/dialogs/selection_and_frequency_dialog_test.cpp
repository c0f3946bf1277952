#include "dialogs/carrier_selection_dialog.h"
#include "dialogs/dialog_runners.h"
#include "dialogs/frequency_entry_dialog.h"

#include "dialog_test_support.h"
#include "support/modal_dialog.h"
#include "support/overlapping_controls.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
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
    void open(std::optional<int> preselected = std::nullopt)
    {
        dialog = std::make_unique<CarrierSelectionDialog>(
            list, "Modify Carrier :", "MODIFY", nullptr,
            preselected ? list.findIndex(*preselected) : std::nullopt);
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

    ShownToUser user;
    CarrierList list;
    std::unique_ptr<CarrierSelectionDialog> dialog;
    QTreeWidget* view = nullptr;
};

TEST_F(CarrierSelectionDialogTest, PlanRowsShowFrequencyPowerAndLabelAndModcodRowsTheName)
{
    list.append(carrierAt(6000.0, 20.0, "TV1"));
    list.append(carrierAt(6012.345678, noPowerLevelDbw, "Line 1\tLine 2"));
    open();
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(row(0), (QStringList{"6000.00000", "20.00", "TV1"}));
    EXPECT_EQ(row(1), (QStringList{"6012.34568", "-999.00", "Line 1 Line 2"}));
    EXPECT_EQ(overlappingControls(dialog.get()), QStringList{});
    QTest::keyClick(view, Qt::Key_F1);

    list.isModcodList = 1;
    open();
    EXPECT_EQ(row(1), QStringList{"Line 1 Line 2"});
    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(user.helpKeys,
              (std::vector<unsigned>{helpKey::carrierSelection, helpKey::modcodSelection}));
}

// A click picks a row; moving the highlight with the keys moves the pick with it; the runner
// answers the pick on OK only.
TEST_F(CarrierSelectionDialogTest, ThePickIsTheHighlightedRowByMouseOrKeyboard)
{
    for (const char* label : {"A", "B", "C"})
        list.append(carrierAt(6000.0 + list.count(), 20.0, label));
    open();
    view->setFocus();
    clickButton(dialog.get(), "buttonOk");
    EXPECT_FALSE(dialog->selectedEntry().has_value()) << "nothing highlighted, nothing picked";

    for (const bool ok : {false, true}) {
        whenModal([this, ok](QWidget* modal) {
            auto* shown = static_cast<CarrierSelectionDialog*>(modal);
            view = control<QTreeWidget>(modal, "listCarriers");
            EXPECT_EQ(view->currentItem(), view->topLevelItem(1));
            EXPECT_EQ(shown->selectedEntry(), list.findIndex(1));
            // A double click as the window system delivers it: press, release, double click,
            // release.
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
            EXPECT_EQ(shown->selectedEntry(), list.findIndex(2));
            EXPECT_TRUE(shown->isVisible()) << "a double click does not close the dialog";
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(0));
            QTest::keyClick(view, Qt::Key_Down);
            ok ? QTest::keyClick(view, Qt::Key_Return) : clickButton(modal, "buttonCancel");
        });
        EXPECT_EQ(
            runCarrierSelection(nullptr, list, "Delete Carrier :", "DELETE", list.findIndex(1)),
            ok ? list.findIndex(1) : std::nullopt);
    }
}

// The offered value shows; only a number that a file keeps is taken, and only on OK.
TEST(FrequencyEntry, ShowsTheOfferedValueAndTakesOnlyANumberThatAFileKeeps)
{
    ShownToUser user;
    for (const bool ok : {false, true}) {
        whenModal([ok](QWidget* dialog) {
            QLineEdit* box = control<QLineEdit>(dialog, "editFrequency");
            EXPECT_EQ(box->text(), "5850");
            EXPECT_EQ(control<QLabel>(dialog, "unitFrequency")->text(), "MHz");
            // Room for the caption in a bold title font beside the title bar's buttons.
            QFont bold = dialog->font();
            bold.setBold(true);
            EXPECT_GE(dialog->width(),
                      QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 130);
            EXPECT_EQ(overlappingControls(dialog), QStringList{});
            QTest::keyClick(box, Qt::Key_F1);
            for (const char* refused : {"", "-1.5e12"}) {
                retype(dialog, "editFrequency", refused);
                clickButton(dialog, "buttonOk");
            }
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->focusWidget(), box);
            EXPECT_EQ(static_cast<FrequencyEntryDialog*>(dialog)->frequencyMhz(), 5850.0);
            retype(dialog, "editFrequency", "-1e12");
            ok ? QTest::keyClick(box, Qt::Key_Return) : clickButton(dialog, "buttonCancel");
        });
        EXPECT_EQ(runFrequencyEntry(nullptr, "Enter Frequency Step for Carrier Shift : ", 5850.0),
                  ok ? std::optional<double>(-1e12) : std::nullopt);
    }
    EXPECT_EQ(user.helpKeys, std::vector<unsigned>(2, helpKey::frequencyEntry));
    const QString refusals[] = {"Please enter a number.", "The frequency must lie between "
                                                          "-1000000000000 and 1000000000000 MHz."};
    EXPECT_EQ(user.problems, (QStringList{refusals[0], refusals[1], refusals[0], refusals[1]}));
}

} // namespace
} // namespace orvane::test
