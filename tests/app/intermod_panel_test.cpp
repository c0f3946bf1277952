#include "app/intermod_panel.h"
#include "app/main_window.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "display/qt/plan_painting.h"
#include "isolated_settings.h"
#include "scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace orvane {
namespace {

// The worked example of the help page: three carriers of 1000 kSps, 20 dBW, 10 MHz apart.
Carrier carrierAt(double centreMhz, const char* label, double powerDbw = 20.0)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, 1000.0, powerDbw, 1.35);
    carrier.label = label;
    return carrier;
}

class IntermodPanelTest : public testing::IsolatedSettings {
protected:
    void SetUp() override
    {
        IsolatedSettings::SetUp();
        window = std::make_unique<MainWindow>("/opt/orvane");
        window->setInteraction(&interaction);
        window->resize(900, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        for (const Carrier& carrier :
             {carrierAt(6010, "B"), carrierAt(6000, "A"), carrierAt(6020, "C")})
            window->document().carriers.append(carrier);
    }

    IntermodPanel& panel() { return window->intermodPanel(); }

    // Types into a box as the user would, and waits for the table to follow.
    void enter(QLineEdit* box, const QString& text)
    {
        QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
        box->setText(text);
        Q_EMIT box->textEdited(text);
        if (panel().analysing()) {
            ASSERT_TRUE(shown.wait(10000));
        }
    }

    void showPanel()
    {
        QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
        panel().toggleViewAction()->trigger();
        ASSERT_TRUE(shown.wait(10000));
    }

    QString cellText(int row, int column) const
    {
        return window->intermodPanel().table()->model()->index(row, column).data().toString();
    }

    QImage picture() { return planImage(window->document(), QSize(640, 480)); }

    testing::ScriptedInteraction interaction;
    std::unique_ptr<MainWindow> window;
};

TEST_F(IntermodPanelTest, TableShowsEachCarrierAndMarksTheWeakOnesAndTheIncomplete)
{
    showPanel();
    enter(panel().ip3Box(), QStringLiteral("40"));
    enter(panel().warningBox(), QStringLiteral("40"));
    EXPECT_EQ(cellText(1, 0), QStringLiteral("F2"));
    EXPECT_EQ(cellText(1, 1), QStringLiteral("B"));
    EXPECT_EQ(cellText(1, 5), QStringLiteral("F1-F2+F3 at 6010.00000, -15.74 dBW"));
    EXPECT_EQ(cellText(0, 6), QStringLiteral("41.76"));
    EXPECT_EQ(cellText(1, 6), QStringLiteral("35.74"));
    const auto marked = [this](int row) {
        return panel().table()->model()->index(row, 6).data(Qt::BackgroundRole).isValid();
    };
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(marked(1)); // below 40 dB

    // Without a level on C, the products with C in them make A and B incomplete.
    Carrier unrated = carrierAt(6020, "C", -999.0);
    window->document().carriers.replaceAt(*window->document().carriers.findIndex(2), unrated);
    QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
    window->apply(CommandOutcome{true, true});
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_TRUE(marked(0));
    EXPECT_EQ(cellText(0, 6), QString());
    EXPECT_EQ(cellText(2, 6), QString()); // C has no level of its own
    EXPECT_FALSE(marked(2));
}

TEST_F(IntermodPanelTest, BadEntriesAreNamedBesideTheBoxAndTheLastResultStays)
{
    showPanel();
    enter(panel().ip3Box(), QStringLiteral("40"));
    const IntermodAnalysis* kept = panel().analysis();
    enter(panel().ip3Box(), QStringLiteral("forty"));
    enter(panel().guardBox(), QStringLiteral("-5"));
    EXPECT_FALSE(panel().problemBeside(panel().ip3Box()).isEmpty());
    EXPECT_FALSE(panel().problemBeside(panel().guardBox()).isEmpty());
    EXPECT_EQ(panel().analysis(), kept);
    EXPECT_EQ(cellText(1, 6), QStringLiteral("35.74"));
}

TEST_F(IntermodPanelTest, CtrlCCopiesTheSelectedRowsAsTabSeparatedText)
{
    showPanel();
    QTableView* table = panel().table();
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->selectionModel()->select(table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("F1\tA\t6000.00000\t1\t0\t2*F2-F3 at 6000.00000\t\n"
                             "F3\tC\t6020.00000\t1\t0\t2*F2-F1 at 6020.00000\t\n"));
}

TEST_F(IntermodPanelTest, HiddenPanelLeavesThePictureAsItWasAndTheShownOneAddsItsLayer)
{
    const QImage plain = renderPlanImage(window->document().carriers,
                                         window->document().displaySettings, QSize(640, 480));
    EXPECT_EQ(picture(), plain);
    showPanel();
    enter(panel().ip3Box(), QStringLiteral("0")); // products as strong as the carriers
    EXPECT_NE(picture(), plain);
    panel().toggleViewAction()->trigger();
    EXPECT_EQ(picture(), plain);
}

TEST_F(IntermodPanelTest, DoubleClickModifiesThatCarrierAndAnEmptyPlanGivesAnEmptyTable)
{
    showPanel();
    QTableView* table = panel().table();
    Q_EMIT table->doubleClicked(table->model()->index(1, 1));
    ASSERT_EQ(interaction.editedCarriers.size(), 1u);
    EXPECT_EQ(interaction.editedCarriers[0].label, "B");

    window->document().carriers.removeAll();
    QSignalSpy shown(&panel(), &IntermodPanel::analysisShown);
    window->apply(CommandOutcome{true, true});
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(table->model()->rowCount(), 0);
}

} // namespace
} // namespace orvane
