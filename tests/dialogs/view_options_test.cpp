#include "dialogs/font_conversion.h"
#include "dialogs/view_options.h"

#include "dialog_test_support.h"
#include "support/modal_dialog.h"
#include "support/overlapping_controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace orvane::test {
namespace {

struct RefusedStop {
    const char* text;
    const char* problem;
};

class ViewOptionsRefusal : public ::testing::TestWithParam<RefusedStop> {};

// A view range that a saved plan could not keep is refused like a text that is no number.
TEST_P(ViewOptionsRefusal, KeepsTheSheetOpenOnTheBox)
{
    CNoApplySheet sheet(nullptr, 1);
    loadViewOptions(sheet, DisplaySettings());
    QString problem;
    sheet.freqPage()->showProblem = [&](const QString& text) { problem = text; };
    sheet.freqPage()->stopBox()->setText(GetParam().text);
    EXPECT_EQ(sheet.tabs()->currentIndex(), 1);
    sheet.accept();
    EXPECT_EQ(problem, GetParam().problem);
    EXPECT_NE(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.tabs()->currentIndex(), 0);
    EXPECT_EQ(sheet.focusWidget(), sheet.freqPage()->stopBox());
}

INSTANTIATE_TEST_SUITE_P(Texts, ViewOptionsRefusal,
                         ::testing::Values(RefusedStop{"64 25", "Please enter a number."},
                                           RefusedStop{"inf", "Please enter a number."},
                                           RefusedStop{"nan", "Please enter a number."},
                                           RefusedStop{"1e999", "Please enter a number."},
                                           RefusedStop{"-2e12",
                                                       "The view stop frequency must lie between "
                                                       "-1000000000000 and 1000000000000 MHz."}));

// The sheet opens on the page last shown, where no control covers another; OK takes every
// page and the page shown, and a new font keeps its proportion; Cancel changes nothing.
TEST(ViewOptions, RunOpensOnTheLastPageAndOnlyOkTakesEveryPage)
{
    DisplaySettings settings;
    settings.titleText = "Plan\tBeam A";
    settings.titleFont.height = -24;
    settings.labelFont.height = -11;
    settings.lastOptionsPage = 1;
    for (const bool ok : {false, true}) {
        whenModal([ok](QWidget* modal) {
            auto* sheet = qobject_cast<CNoApplySheet*>(modal);
            ASSERT_NE(sheet, nullptr);
            EXPECT_EQ(sheet->tabs()->currentIndex(), 1);
            for (int page = 0; page < sheet->tabs()->count() && !ok; ++page) {
                sheet->tabs()->setCurrentIndex(page);
                QStringList covered = overlappingControls(sheet->tabs()->currentWidget());
                for (QWidget* frame : sheet->tabs()->currentWidget()->findChildren<QGroupBox*>())
                    covered += overlappingControls(frame);
                EXPECT_EQ(covered, QStringList{}) << page;
            }
            CFreqProp& frequencies = *sheet->freqPage();
            EXPECT_EQ(frequencies.titleBox()->toPlainText(), "Plan\nBeam A");
            EXPECT_EQ(frequencies.startBox()->text(), "5850");
            frequencies.titleBox()->setPlainText("a\nb\n\nc");
            frequencies.startBox()->setText("6500.25");
            frequencies.stopBox()->setText("6000");
            frequencies.labelEdgesBox()->setChecked(true);
            sheet->colourPage()->colourChooser = [](Colour, QWidget*) {
                return rgbColour(0, 0, 255);
            };
            sheet->colourPage()->chooseColour(CColourProp::carriers);
            sheet->fontPage()->fontChooser = [](const FontDescription& current, QWidget*) {
                FontDescription chosen = current;
                chosen.height = -32;
                chosen.faceName = "Liberation Serif";
                return std::optional<FontDescription>(chosen);
            };
            sheet->fontPage()->chooseFont(CFontProp::title);
            sheet->tabs()->setCurrentIndex(2);
            ok ? sheet->accept() : sheet->reject();
        });
        EXPECT_EQ(runViewOptions(nullptr, settings), ok);
        EXPECT_EQ(settings.viewStartMhz, ok ? 6500.25 : 5850.0);
        EXPECT_EQ(settings.lastOptionsPage, ok ? 2 : 1);
    }
    EXPECT_EQ(settings.titleText, "a\tb\t\tc");
    EXPECT_EQ(settings.viewStopMhz, 6000.0) << "start above stop is allowed";
    EXPECT_TRUE(settings.labelEdges);
    EXPECT_EQ(settings.carrierColour, rgbColour(0, 0, 255));
    EXPECT_EQ(settings.titleFont.faceName, "Liberation Serif");
    EXPECT_DOUBLE_EQ(settings.titleSize, 2.0);
    EXPECT_DOUBLE_EQ(settings.labelSize, 0.7);
}

TEST(FontConversion, AChosenPointSizeBecomesANegativePixelHeightAndBack)
{
    FontDescription previous;
    previous.escapement = 900;
    previous.width = 7; // a chosen font takes its natural width
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSize(24);
    chosen.setWeight(QFont::Bold);
    const FontDescription description = descriptionOfChosenFont(chosen, previous, 96.0);
    EXPECT_EQ(description.height, -32);
    EXPECT_EQ(description.weight, 700);
    EXPECT_EQ(description.escapement, 900);
    EXPECT_EQ(description.width, 0);
    chosen.setPixelSize(20);
    EXPECT_EQ(descriptionOfChosenFont(chosen, previous, 96.0).height, -20);

    const QFont back = qtFontFor(description);
    EXPECT_EQ(back.pixelSize(), 32);
    EXPECT_TRUE(back.bold());
}

} // namespace
} // namespace orvane::test
