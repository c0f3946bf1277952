#include "display/display_settings.h"
#include "display/plot_frame.h"
#include "model/number_text.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

// A paint step's font upkeep: a new frame over the client area keeps the fonts for it.
void paint(DisplaySettings& settings, int clientWidth, int clientHeight = 601,
           const std::string& unavailableFace = "")
{
    RecordingSurface surface;
    surface.unavailableFace = unavailableFace;
    PlotFrame frame(surface, clientWidth, clientHeight);
    settings.keepFontsForClient(frame, PixelRect{0, 0, clientWidth, clientHeight});
}

// The heights of the title, label, axis and frequency fonts, then their relative sizes.
std::string fontSizes(const DisplaySettings& settings)
{
    std::string text;
    for (const FontDescription* font :
         {&settings.titleFont, &settings.labelFont, &settings.axisFont, &settings.frequencyFont})
        text += formatInteger(font->height) + " ";
    text += "|";
    for (const double size :
         {settings.titleSize, settings.labelSize, settings.axisSize, settings.frequencySize})
        text += " " + formatShortest(size);
    return text;
}

TEST(FontUpkeep, WidthChangesRescaleEveryFontKeepingItsLooksHeightChangesNoneAResetWins)
{
    DisplaySettings settings;
    paint(settings, 801);
    EXPECT_FALSE(settings.fontsResetPending);
    EXPECT_EQ(fontSizes(settings), "-24 -11 -19 -9 | 1.5 0.7 1.2 0.6");
    settings.titleFont.height = -30; // shows whether a rescale happened
    paint(settings, 801, 900);
    EXPECT_EQ(settings.titleFont.height, -30);
    EXPECT_EQ(settings.lastClientRect.height(), 900);
    paint(settings, 1201, 900);
    EXPECT_EQ(fontSizes(settings), "-36 -16 -28 -14 | 1.5 0.7 1.2 0.6");
    paint(settings, 1); // a window too narrow to draw in keeps the relative sizes
    paint(settings, 801);
    EXPECT_EQ(fontSizes(settings), "-24 -11 -19 -9 | 1.5 0.7 1.2 0.6");
    // Rescaling keeps face and attributes and normalises weight and angle.
    settings.labelFont.faceName = "Courier New";
    settings.labelFont.italic = true;
    settings.labelFont.underline = true;
    settings.labelFont.weight = 600;
    settings.labelFont.escapement = 450;
    settings.frequencyFont.weight = 300;
    settings.axisFont.faceName = "Missing Face";
    const FontDescription missing = settings.axisFont;
    paint(settings, 1201, 601, "Missing Face");
    EXPECT_EQ(describe(settings.labelFont),
              "Courier New -16x0 w700 900/900 italic underline c0 p4/32 q2 f32");
    EXPECT_EQ(settings.frequencyFont.weight, 400);
    EXPECT_EQ(settings.axisFont, missing) << "a font that cannot be made is left as it was";
    EXPECT_EQ(settings.titleFont.height, -36);
    // A pending reset wins over rescaling.
    settings.titleFont.faceName = "Courier New";
    settings.titleSize = 3.0;
    settings.fontsResetPending = true;
    paint(settings, 801);
    EXPECT_EQ(settings.titleFont.faceName, "Arial");
    EXPECT_EQ(fontSizes(settings), "-24 -11 -19 -9 | 1.5 0.7 1.2 0.6");
    EXPECT_FALSE(settings.fontsResetPending);
}

TEST(ChosenFonts, SizesFollowTheNewHeightsInProportion)
{
    DisplaySettings settings;
    paint(settings, 801);
    FontDescription title = settings.titleFont;
    title.height = -32;
    title.faceName = "Times New Roman";
    FontDescription label = settings.labelFont;
    label.height = 0; // no proportion: the size stays
    FontDescription axis = settings.axisFont;
    axis.height = 38; // a cell height against the character height -19
    settings.frequencyFont.height = 0;
    FontDescription frequency = settings.frequencyFont;
    frequency.height = -20;
    settings.applyChosenFonts(title, label, axis, frequency);
    EXPECT_EQ(fontSizes(settings), "-32 0 38 -20 | 2 0.7 2.4 0.6");
    EXPECT_EQ(settings.titleFont, title);
}

} // namespace
} // namespace orvane
