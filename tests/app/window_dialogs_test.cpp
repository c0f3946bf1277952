#include "app/application.h"
#include "app/help_window.h"
#include "dialogs/about_box.h"
#include "dialogs/font_conversion.h"
#include "dialogs/help_request.h"
#include "dialogs/view_options.h"
#include "support/modal_dialog.h"
#include "support/overlapping_controls.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace orvane {
namespace {

using test::whenModal;

DisplaySettings settingsWithFonts()
{
    DisplaySettings settings;
    settings.titleFont.height = -24;
    settings.titleFont.weight = 700;
    settings.labelFont.height = -11;
    settings.axisFont.height = -19;
    settings.frequencyFont.height = -9;
    return settings;
}

TEST(TitleLines, TabsAndLineBreaksConvertBothWays)
{
    EXPECT_EQ(titleForEditing("Plan\tBeam A"), "Plan\r\nBeam A");
    EXPECT_EQ(titleFromEditing("Plan\r\nBeam A"), "Plan\tBeam A");
    EXPECT_EQ(titleFromEditing("a\nb\r\n\r\nc"), "a\tb\t\tc");
    EXPECT_EQ(titleFromEditing(titleForEditing("x\t\ty")), "x\t\ty");
}

TEST(OptionsSheet, OkTakesEveryPage)
{
    DisplaySettings settings = settingsWithFonts();
    CNoApplySheet sheet(nullptr, 0);
    loadViewOptions(sheet, settings);
    EXPECT_EQ(sheet.windowTitle(), "Orvane View Options");
    EXPECT_EQ(sheet.freqPage()->startBox()->text(), "5850");
    EXPECT_EQ(sheet.freqPage()->titleBox()->toPlainText(), "Transponder Frequency Plan");

    sheet.freqPage()->titleBox()->setPlainText("First\nSecond");
    sheet.freqPage()->startBox()->setText("6500.25");
    sheet.freqPage()->stopBox()->setText("6000");
    sheet.freqPage()->labelEdgesBox()->setChecked(true);
    sheet.colourPage()->colourChooser = [](Colour, QWidget*) { return rgbColour(0, 0, 255); };
    sheet.colourPage()->chooseColour(CColourProp::carriers);
    sheet.tabs()->setCurrentIndex(2);
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    applyViewOptions(sheet, settings);

    EXPECT_EQ(settings.titleText, "First\tSecond");
    EXPECT_DOUBLE_EQ(settings.viewStartMhz, 6500.25);
    EXPECT_DOUBLE_EQ(settings.viewStopMhz, 6000.0); // start above stop is allowed
    EXPECT_TRUE(settings.labelEdges);
    EXPECT_EQ(settings.carrierColour, rgbColour(0, 0, 255));
    EXPECT_EQ(settings.lastOptionsPage, 2);
    // No font was chosen: the descriptions stay.
    EXPECT_EQ(settings.titleFont.height, -24);
}

TEST(OptionsSheet, ANewTitleFontKeepsItsProportionAndTheOthersTheirSize)
{
    DisplaySettings settings = settingsWithFonts();
    CNoApplySheet sheet(nullptr, 0);
    loadViewOptions(sheet, settings);
    sheet.fontPage()->fontChooser = [](const FontDescription& current, QWidget*) {
        FontDescription chosen = current;
        chosen.height = -32;
        chosen.faceName = "Liberation Serif";
        return std::optional<FontDescription>(chosen);
    };
    sheet.fontPage()->chooseFont(CFontProp::title);
    EXPECT_TRUE(sheet.fontPage()->fontsChanged());
    EXPECT_EQ(sheet.fontPage()->sample(CFontProp::title)->text(), " Title");
    sheet.accept();
    applyViewOptions(sheet, settings);

    EXPECT_DOUBLE_EQ(settings.titleSize, 2.0);
    EXPECT_EQ(settings.titleFont.faceName, "Liberation Serif");
    EXPECT_DOUBLE_EQ(settings.labelSize, 0.7);
}

struct RefusedStop {
    const char* text;
    const char* problem;
};

class OptionsSheetRefusal : public ::testing::TestWithParam<RefusedStop> {};

// A view range that a saved plan could not keep is refused like a text that is no number.
TEST_P(OptionsSheetRefusal, KeepsTheSheetOpenOnTheBox)
{
    CNoApplySheet sheet(nullptr, 1);
    DisplaySettings settings;
    loadViewOptions(sheet, settings);
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

INSTANTIATE_TEST_SUITE_P(Texts, OptionsSheetRefusal,
                         ::testing::Values(RefusedStop{"64 25", "Please enter a number."},
                                           RefusedStop{"inf", "Please enter a number."},
                                           RefusedStop{"nan", "Please enter a number."},
                                           RefusedStop{"1e999", "Please enter a number."},
                                           RefusedStop{"-2e12",
                                                       "The view stop frequency must lie between "
                                                       "-1000000000000 and 1000000000000 MHz."}));

TEST(OptionsSheet, NoControlCoversAnotherOnAnyPage)
{
    CNoApplySheet sheet(nullptr, 0);
    sheet.show();
    for (int page = 0; page < sheet.tabs()->count(); ++page) {
        sheet.tabs()->setCurrentIndex(page);
        QWidget* shown = sheet.tabs()->currentWidget();
        EXPECT_EQ(test::overlappingControls(shown), QStringList{}) << page;
        for (const QGroupBox* frame : shown->findChildren<QGroupBox*>())
            EXPECT_EQ(test::overlappingControls(frame), QStringList{}) << page;
    }
}

TEST(OptionsSheet, CancelChangesNothingAndKeepsThePage)
{
    DisplaySettings settings = settingsWithFonts();
    settings.lastOptionsPage = 1;
    const DisplaySettings before = settings;
    whenModal([](QWidget* modal) {
        auto* sheet = qobject_cast<CNoApplySheet*>(modal);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->tabs()->currentIndex(), 1);
        sheet->freqPage()->startBox()->setText("1000");
        sheet->tabs()->setCurrentIndex(2);
        sheet->reject();
    });
    EXPECT_FALSE(runViewOptions(nullptr, settings));
    EXPECT_DOUBLE_EQ(settings.viewStartMhz, before.viewStartMhz);
    EXPECT_EQ(settings.lastOptionsPage, 1);
    EXPECT_EQ(settings.titleText, before.titleText);
}

TEST(OptionsSheet, RunOkAppliesTheSheet)
{
    DisplaySettings settings;
    whenModal([](QWidget* modal) {
        auto* sheet = qobject_cast<CNoApplySheet*>(modal);
        ASSERT_NE(sheet, nullptr);
        sheet->freqPage()->startBox()->setText("3700");
        sheet->accept();
    });
    EXPECT_TRUE(runViewOptions(nullptr, settings));
    EXPECT_DOUBLE_EQ(settings.viewStartMhz, 3700.0);
}

TEST(FontConversion, ChosenPointSizeBecomesANegativePixelHeight)
{
    FontDescription previous;
    previous.escapement = 900;
    previous.orientation = 900;
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSize(24);
    chosen.setWeight(QFont::Bold);
    const FontDescription description = descriptionOfChosenFont(chosen, previous, 96.0);
    EXPECT_EQ(description.height, -32);
    EXPECT_EQ(description.weight, 700);
    EXPECT_EQ(description.escapement, 900);

    const QFont back = qtFontFor(description);
    EXPECT_EQ(back.pixelSize(), 32);
    EXPECT_TRUE(back.bold());
}

TEST(AboutBoxTest, SplashHasNoOkAndClosesItself)
{
    AboutBox splash(nullptr, true, true,
                    QPixmap(QStringLiteral(":/pictures/about_background.png")));
    EXPECT_TRUE(splash.okButton()->isHidden());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    splash.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.isVisible(); }, 10000));
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(Help, RequestsShowTheirPageFromTheBundle)
{
    Application application(ORVANE_PROGRAM_DIR);
    requestHelp(102);
    ASSERT_NE(application.helpWindow(), nullptr);
    EXPECT_EQ(application.helpWindow()->windowTitle(), "Orvane Help");
    EXPECT_EQ(application.helpWindow()->currentPage().fileName(), "Orvane-Window.htm");

    requestHelp(32795);
    EXPECT_EQ(application.helpWindow()->currentPage().fileName(), "index.htm");
    requestHelp(0x20000 + 138);
    EXPECT_EQ(application.helpWindow()->currentPage().fileName(), "Orvane-AddFixed.htm");
}

} // namespace
} // namespace orvane
