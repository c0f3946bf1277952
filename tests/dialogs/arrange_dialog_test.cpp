#include "dialogs/arrange_dialog.h"

#include "dialog_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>

#include <memory>

namespace orvane::test {
namespace {

// The dialog over a plan of equal 1 kHz carriers, count of them 0.7 MHz apart from 6000 MHz,
// in a view that leaves 1.5 MHz on either side.
class ArrangeDialogTest : public ::testing::Test {
protected:
    void open(int count)
    {
        CarrierList plan;
        for (int i = 0; i < count; ++i) {
            Carrier carrier;
            carrier.setFixedBandwidth(6000.0 + 0.7 * i, 0.001, 20.0, 1.35);
            carrier.label = "C" + std::to_string(i);
            plan.append(carrier);
        }
        DisplaySettings display;
        display.viewStartMhz = 5998.5;
        display.viewStopMhz = 6001.5 + 0.7 * (count - 1);
        model = std::make_unique<ArrangeModel>(plan, display, "", "");
        dialog = std::make_unique<ArrangeDialog>(*model);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        carriers = control<QTableWidget>(dialog.get(), "tableCarriers");
    }
    QString focused() const { return QApplication::focusWidget()->objectName(); }
    void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    void waitForTheRun() { QTRY_VERIFY_WITH_TIMEOUT(!model->running(), 20000); }
    QString status() const { return control<QLabel>(dialog.get(), "arrangeStatus")->text(); }
    // A click on the Lock tick of a carrier's row.
    void clickLock(int row)
    {
        QStyleOptionViewItem option;
        option.initFrom(carriers);
        option.rect = carriers->visualItemRect(carriers->item(row, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect tick = carriers->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator,
                                                             &option, carriers);
        QTest::mouseClick(carriers->viewport(), Qt::LeftButton, {}, tick.center());
    }

    ShownToUser user;
    std::unique_ptr<ArrangeModel> model;
    std::unique_ptr<ArrangeDialog> dialog;
    QTableWidget* carriers = nullptr;
};

// Tab goes through the boxes, the lists and the buttons (Apply only once there is a
// proposal); Space and a click tick Lock; Enter in a box runs; Apply takes the proposal.
TEST_F(ArrangeDialogTest, TabSpaceEnterAndApplyByKeyboardAndMouse)
{
    open(3);
    QStringList visited{focused()};
    for (int i = 0; i < 12; ++i) {
        press(Qt::Key_Tab);
        visited << focused();
    }
    EXPECT_EQ(visited,
              (QStringList{"editBandLow", "editBandHigh", "editRaster", "editSpacing", "editIp3",
                           "editGuard", "editEffort", "tableForbidden", "buttonAddRange",
                           "buttonRemoveRange", "tableCarriers", "buttonRun", "buttonCancel"}));

    carriers->setFocus();
    carriers->setCurrentCell(1, 2);
    press(Qt::Key_Space);
    clickLock(0);
    clickLock(2);
    clickLock(2);
    EXPECT_TRUE(model->carriers()[0].locked && model->carriers()[1].locked);
    EXPECT_FALSE(model->carriers()[2].locked);

    // On a 100 kHz raster F3 finds a place where no product lands on a carrier.
    retype(dialog.get(), "editRaster", QStringLiteral("100"));
    press(Qt::Key_Return);
    EXPECT_TRUE(model->running());
    EXPECT_FALSE(control<QWidget>(dialog.get(), "editRaster")->isEnabled());
    waitForTheRun();
    EXPECT_EQ(status(), QStringLiteral("1 of 3 carriers moved."));
    EXPECT_EQ(focused(), QStringLiteral("editRaster"));
    EXPECT_EQ(control<QLabel>(dialog.get(), "figure2_2")->text(), QStringLiteral("0"));
    EXPECT_FALSE(carriers->item(2, 4)->text().isEmpty());
    clickButton(dialog.get(), "buttonApply");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(model->proposal());
}

// Escape stops a run under way and keeps the dialog; a second Escape closes it.
TEST_F(ArrangeDialogTest, EscapeStopsARunThenCancels)
{
    open(30);
    retype(dialog.get(), "editEffort", QStringLiteral("100"));
    press(Qt::Key_Enter);
    ASSERT_TRUE(model->running());
    EXPECT_TRUE(control<QProgressBar>(dialog.get(), "arrangeProgress")->isVisible());
    press(Qt::Key_Escape);
    waitForTheRun();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(status(), QStringLiteral("Stopped before the end: nothing to apply."));
    EXPECT_FALSE(control<QPushButton>(dialog.get(), "buttonApply")->isEnabled());
    press(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

// What is typed into a range counts at once; Enter closes its box, and a second Enter runs. A
// range or box that cannot be taken is named and gets the focus. F1 asks for the page.
TEST_F(ArrangeDialogTest, RangesAddedTypedAndRemovedAndBadEntriesGetTheFocus)
{
    open(3);
    clickButton(dialog.get(), "buttonAddRange");
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("6001.5"));
    EXPECT_EQ(model->forbiddenText(0, RangeEnd::low), "6001.5");
    press(Qt::Key_Return);
    EXPECT_TRUE(user.problems.isEmpty());
    QTest::qWait(0);
    press(Qt::Key_Return);
    EXPECT_EQ(user.problems, QStringList{"Please enter a number."});
    auto* ranges = control<QTableWidget>(dialog.get(), "tableForbidden");
    EXPECT_EQ(ranges->currentColumn(), 1);
    clickButton(dialog.get(), "buttonRemoveRange");
    EXPECT_EQ(model->forbiddenCount(), 0);

    retype(dialog.get(), "editGuard", QStringLiteral("-1"));
    press(Qt::Key_Return);
    EXPECT_EQ(user.problems.last(), QStringLiteral("The guard must be between 0 and 1000000 kHz."));
    EXPECT_EQ(focused(), QStringLiteral("editGuard"));
    press(Qt::Key_F1);
    EXPECT_EQ(user.helpKeys, std::vector<unsigned>{helpKey::arrangeCarriers});
}

} // namespace
} // namespace orvane::test
