#include "display/display_settings.h"
#include "display/plot_frame.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Each paint builds a new frame over the client area and keeps the fonts for it.
class FontUpkeep : public ::testing::Test {
protected:
    void paint(int clientWidth, int clientHeight)
    {
        RecordingSurface surface;
        surface.unavailableFace = unavailableFace;
        PlotFrame frame(surface, clientWidth, clientHeight);
        settings.keepFontsForClient(frame, PixelRect{0, 0, clientWidth, clientHeight});
    }

    DisplaySettings settings;
    std::string unavailableFace;
};

TEST_F(FontUpkeep, FirstPaintBuildsTheDefaultFonts)
{
    ASSERT_TRUE(settings.fontsResetPending);
    paint(801, 601);
    EXPECT_FALSE(settings.fontsResetPending);
    EXPECT_EQ(settings.lastClientRect.width(), 801);
    EXPECT_EQ(settings.lastClientRect.height(), 601);

    const struct {
        const FontDescription& font;
        double size;
        double expectedSize;
        int height;
        int weight;
    } defaults[] = {{settings.titleFont, settings.titleSize, 1.5, -24, 700},
                    {settings.labelFont, settings.labelSize, 0.7, -11, 700},
                    {settings.axisFont, settings.axisSize, 1.2, -19, 700},
                    {settings.frequencyFont, settings.frequencySize, 0.6, -9, 400}};
    for (const auto& expected : defaults) {
        EXPECT_EQ(expected.font.height, expected.height);
        EXPECT_EQ(expected.font.weight, expected.weight);
        EXPECT_DOUBLE_EQ(expected.size, expected.expectedSize);
    }
}

TEST_F(FontUpkeep, WideningRescalesEveryFont)
{
    paint(801, 601);
    paint(1201, 601);
    EXPECT_EQ(settings.titleFont.height, -36);
    EXPECT_EQ(settings.labelFont.height, -16);
    EXPECT_EQ(settings.axisFont.height, -28);
    EXPECT_EQ(settings.frequencyFont.height, -14);
    paint(801, 601);
    EXPECT_EQ(settings.titleFont.height, -24);
    EXPECT_EQ(settings.frequencyFont.height, -9);
}

TEST_F(FontUpkeep, HeightChangesDoNotRescale)
{
    paint(801, 601);
    settings.titleFont.height = -30; // proves whether a rescale happened
    paint(801, 900);
    EXPECT_EQ(settings.titleFont.height, -30);
    EXPECT_EQ(settings.lastClientRect.height(), 900);
    paint(1201, 900);
    EXPECT_EQ(settings.titleFont.height, -36);
}

TEST_F(FontUpkeep, PendingResetWinsOverRescaling)
{
    paint(801, 601);
    settings.titleFont.faceName = "Courier New";
    settings.titleSize = 3.0;
    settings.fontsResetPending = true;
    paint(1201, 601);
    EXPECT_EQ(settings.titleFont.faceName, "Arial");
    EXPECT_EQ(settings.titleFont.height, -36);
    EXPECT_DOUBLE_EQ(settings.titleSize, 1.5);
    EXPECT_FALSE(settings.fontsResetPending);
}

TEST_F(FontUpkeep, RescalingKeepsFaceAndAttributesAndNormalisesWeightAndAngle)
{
    paint(801, 601);
    settings.labelFont.faceName = "Courier New";
    settings.labelFont.italic = true;
    settings.labelFont.underline = true;
    settings.labelFont.weight = 600;
    settings.labelFont.escapement = 450;
    settings.frequencyFont.weight = 300;
    paint(1201, 601);
    EXPECT_EQ(settings.labelFont.faceName, "Courier New");
    EXPECT_TRUE(settings.labelFont.underline);
    EXPECT_EQ(settings.labelFont.weight, 700);
    EXPECT_EQ(settings.labelFont.escapement, 900);
    EXPECT_EQ(settings.labelFont.height, -16);
    EXPECT_EQ(settings.frequencyFont.weight, 400);
}

TEST_F(FontUpkeep, FontThatCannotBeMadeIsLeftAsItWas)
{
    paint(801, 601);
    settings.axisFont.faceName = "Missing Face";
    const FontDescription missing = settings.axisFont;
    unavailableFace = "Missing Face";
    paint(1201, 601);
    EXPECT_EQ(settings.axisFont, missing);
    EXPECT_EQ(settings.titleFont.height, -36);
    EXPECT_EQ(settings.labelFont.height, -16);
}

TEST_F(FontUpkeep, NarrowWindowKeepsTheRelativeSizes)
{
    paint(801, 601);
    paint(1, 601);
    EXPECT_DOUBLE_EQ(settings.titleSize, 1.5);
    paint(801, 601);
    EXPECT_EQ(settings.titleFont.height, -24);
    EXPECT_EQ(settings.frequencyFont.height, -9);
}

class ChosenFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecordingSurface surface;
        PlotFrame frame(surface, 801, 601);
        settings.keepFontsForClient(frame, PixelRect{0, 0, 801, 601});
    }
    DisplaySettings settings;
};

TEST_F(ChosenFonts, NewHeightScalesTheRelativeSize)
{
    FontDescription title = settings.titleFont;
    title.height = -32;
    title.faceName = "Times New Roman";
    settings.applyChosenFonts(title, settings.labelFont, settings.axisFont, settings.frequencyFont);
    EXPECT_DOUBLE_EQ(settings.titleSize, 2.0);
    EXPECT_EQ(settings.titleFont, title);
    // Untouched fonts keep their sizes: the ratio is 1.
    EXPECT_DOUBLE_EQ(settings.labelSize, 0.7);
}

TEST_F(ChosenFonts, ZeroHeightsKeepTheSize)
{
    settings.titleFont.height = 0;
    FontDescription title = settings.titleFont;
    title.height = -32;
    FontDescription label = settings.labelFont;
    label.height = 0;
    settings.applyChosenFonts(title, label, settings.axisFont, settings.frequencyFont);
    EXPECT_DOUBLE_EQ(settings.titleSize, 1.5);
    EXPECT_DOUBLE_EQ(settings.labelSize, 0.7);
    EXPECT_EQ(settings.titleFont.height, -32);
}

TEST_F(ChosenFonts, CellHeightChoiceGivesAPositiveSize)
{
    FontDescription axis = settings.axisFont;
    axis.height = 38; // a cell height against the stored character height -19
    settings.applyChosenFonts(settings.titleFont, settings.labelFont, axis, settings.frequencyFont);
    EXPECT_DOUBLE_EQ(settings.axisSize, 2.4);
}

} // namespace
} // namespace orvane
