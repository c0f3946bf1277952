#include "display/display_settings.h"
#include "display/plot_frame.h"
#include "model/number_text.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace orvane {
namespace {

// Halves round upward; however far off a world value maps, pixels stay where adding the
// origin or stepping one pixel aside cannot overflow.
TEST(PlotFrame, PixelsRoundHalvesUpAndStayInsideTheirRange)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(0, 800, 600, 0);
    EXPECT_EQ((std::vector<int>{frame.toPixelX(2.5), frame.toPixelX(-2.5), frame.toPixelY(-0.5)}),
              (std::vector<int>{3, -2, 0}));
    frame.setWorld(0, 1e-300, 600, 0); // y downward
    frame.moveTo(0, 4);
    surface.clearLog();
    frame.lineTo(1e300, 0);
    EXPECT_EQ(surface.log(), "line 0,4 268435456,0 1px #000000\n"
                             "line 268435456,0 268435455,0 1px #000000\n");
}

TEST(PlotFrame, NumbersAreDrawnWithoutTheLocale)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    for (const double value : {70.5, -3.25, 12345.5})
        frame.drawNumber(value, 9, 4);
    frame.drawNumber(1.5, 1000, -3); // at most 100 wide, no fewer than 0 decimals
    for (const std::string& number : {std::string("  70.5000"), std::string("  -3.2500"),
                                      std::string("12345.5000"), std::string(99, ' ') + "2"})
        EXPECT_NE(surface.log().find("'" + number + "'"), std::string::npos) << number;
}

// The character height is two percent of the width per unit of size, within its limit; a size
// computed back from a height (|h| * 50 / width) must not lose a pixel to rounding.
TEST(PlotFrame, TextSizeAndCharacterHeightConvertWithoutLosingAPixel)
{
    const std::tuple<int, double, int> sizes[] = {
        {801, 1.5, 24},   {800, 1.5, 23},       {801, 0.7, 11},        {801, 0.6, 9},
        {801, -1.0, -16}, {801, 1e300, 100000}, {801, std::nan(""), 0}};
    for (const auto& [clientWidth, relativeSize, height] : sizes) {
        RecordingSurface surface;
        PlotFrame frame(surface, clientWidth, 601);
        frame.setTextSize(relativeSize);
        EXPECT_EQ(frame.currentFont().height, -height) << relativeSize;
        EXPECT_TRUE(std::isnan(relativeSize) || frame.textSize() == relativeSize);
    }
    for (int clientWidth : {640, 799, 801, 1023, 1367, 1921}) {
        RecordingSurface surface;
        PlotFrame frame(surface, clientWidth, 601);
        for (int height = 1; height < 2000; height += 1 + height / 16) {
            FontDescription description = PlotFrame::defaultFont();
            description.height = -height;
            ASSERT_TRUE(frame.useFont(description));
            frame.setTextAngle(900);
            EXPECT_EQ(frame.currentFont().height, -height) << clientWidth;
        }
    }
}

// The surface keeps the fonts it made by their descriptions: any attribute tells them apart.
TEST(FontDescription, DiffersInAnyAttribute)
{
    const FontDescription plain;
    std::vector<FontDescription> changed(14, plain);
    int FontDescription::*numbers[] = {
        &FontDescription::height,       &FontDescription::width,
        &FontDescription::escapement,   &FontDescription::orientation,
        &FontDescription::weight,       &FontDescription::charSet,
        &FontDescription::outPrecision, &FontDescription::clipPrecision,
        &FontDescription::quality,      &FontDescription::pitchAndFamily};
    for (std::size_t i = 0; i < 10; ++i)
        ++(changed[i].*numbers[i]);
    changed[10].italic = true;
    changed[11].underline = true;
    changed[12].strikeOut = true;
    changed[13].faceName = "Arial Black";
    for (std::size_t i = 0; i < changed.size(); ++i)
        EXPECT_NE(changed[i], plain) << i;
}

// A picture under two pixels either way, or a world without a scale (no width or height, or
// a value that is not finite), draws nothing and divides nothing by zero.
TEST(PlotFrame, NothingIsDrawnWithoutAPictureOrAScale)
{
    const std::vector<std::vector<double>> worlds = {
        {0, 100, 0, 100}, {6000, 6000, 0, 100}, {0, 100, 5, 5}, {0, std::nan(""), 0, 100}};
    for (const int clientSize : {-5, 0, 1, 801}) {
        RecordingSurface surface;
        PlotFrame frame(surface, clientSize, clientSize);
        FontDescription description = PlotFrame::defaultFont();
        description.height = -24;
        EXPECT_TRUE(frame.useFont(description));
        EXPECT_TRUE(std::isfinite(frame.textSize()));
        for (std::size_t world = clientSize == 801 ? 1 : 0; world < worlds.size(); ++world) {
            frame.setWorld(worlds[world][0], worlds[world][1], worlds[world][2], worlds[world][3]);
            EXPECT_EQ(frame.worldUsable(), world == 0);
            surface.clearLog();
            frame.moveTo(0, 0);
            frame.lineTo(100, 100);
            frame.drawBox();
            if (clientSize < 801)
                frame.drawText("x");
            EXPECT_EQ(surface.log(), "") << clientSize << " " << world;
        }
    }
    // Without a scale every point maps to the frame's bottom left corner.
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setPlotArea(10, 90, 20, 80);
    frame.setWorld(6000, 6000, 0, 100);
    EXPECT_EQ(frame.toPixelX(6000), 0);
    EXPECT_EQ(frame.toPixelY(50), frame.frameBottom() - frame.frameTop());
}

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

TEST(FontUpkeep, WidthChangesRescaleFontsKeepingTheirLooksAResetWinsChosenFontsSetSizes)
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
    // Chosen fonts take sizes that follow their new heights in proportion.
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
