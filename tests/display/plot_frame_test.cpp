#include "display/plot_frame.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvane {
namespace {

std::vector<SurfaceCall> linesOf(const RecordingSurface& surface)
{
    return surface.callsOf(SurfaceCallKind::line);
}

TEST(PlotFrameLayout, PlotAreaOfAn801By601ClientArea)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    EXPECT_EQ(frame.pictureWidth(), 800);
    EXPECT_EQ(frame.pictureHeight(), 600);

    surface.clearCalls();
    frame.setPlotArea(10, 127, 20, 80);
    EXPECT_EQ(frame.frameLeft(), 60);
    EXPECT_EQ(frame.frameRight(), 762);
    EXPECT_EQ(frame.frameTop(), 120);
    EXPECT_EQ(frame.frameBottom(), 480);

    const std::vector<SurfaceCall> origins = surface.callsOf(SurfaceCallKind::origin);
    ASSERT_FALSE(origins.empty());
    EXPECT_EQ(origins.back().x1, 60);
    EXPECT_EQ(origins.back().y1, 120);
    const std::vector<SurfaceCall> clips = surface.callsOf(SurfaceCallKind::clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].x1, 60);
    EXPECT_EQ(clips[0].y1, 120);
    EXPECT_EQ(clips[0].x2, 762);
    EXPECT_EQ(clips[0].y2, 480);

    // The world corners land on the frame's corners, relative to the origin.
    EXPECT_EQ(frame.toPixelX(10), 0);
    EXPECT_EQ(frame.toPixelX(127), 702);
    EXPECT_EQ(frame.toPixelY(20), 360);
    EXPECT_EQ(frame.toPixelY(80), 0);
}

struct RoundingCase {
    double world;
    int pixel;
};

class PlotFrameRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(PlotFrameRounding, HalvesRoundUpward)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(0, 800, 0, 600); // one world unit per pixel
    EXPECT_EQ(frame.toPixelX(GetParam().world), GetParam().pixel);
    EXPECT_EQ(frame.toPixelY(600 - GetParam().world), GetParam().pixel);
}

INSTANTIATE_TEST_SUITE_P(Halves, PlotFrameRounding,
                         ::testing::Values(RoundingCase{2.5, 3}, RoundingCase{-2.5, -2},
                                           RoundingCase{2.4999, 2}, RoundingCase{-2.6, -3},
                                           RoundingCase{0.5, 1}, RoundingCase{-0.5, 0}));

TEST(PlotFrameMapping, InvertedWorldMirrorsAndOutsidePointsMapOutside)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(100, 0, 0, 100);
    EXPECT_EQ(frame.toPixelX(25), 600);
    EXPECT_EQ(frame.toPixelX(-10), 880);
    EXPECT_EQ(frame.toPixelY(110), -60);
}

TEST(PlotFrameDrawing, LineToAddsTheEndPixel)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(0, 800, 600, 0); // pixel coordinates: y downward
    frame.moveTo(0, 0);
    surface.clearCalls();
    frame.lineTo(10, 0);

    const std::vector<SurfaceCall> lines = linesOf(surface);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x1, 0);
    EXPECT_EQ(lines[0].x2, 10);
    EXPECT_EQ(lines[0].y2, 0);
    // One pixel back to the left, so that a line that leaves out its last pixel shows (10, 0).
    EXPECT_EQ(lines[1].x1, 10);
    EXPECT_EQ(lines[1].x2, 9);
    EXPECT_EQ(lines[1].y2, 0);
    EXPECT_EQ(surface.currentX(), 10);
    EXPECT_EQ(surface.currentY(), 0);
}

struct NumberCase {
    double value;
    int width;
    int precision;
    const char* shown;
};

class PlotFrameNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PlotFrameNumbers, DrawnInFixedFormIndependentOfLocale)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.drawNumber(GetParam().value, GetParam().width, GetParam().precision);
    const std::vector<SurfaceCall> texts = surface.callsOf(SurfaceCallKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Formats, PlotFrameNumbers,
                         ::testing::Values(NumberCase{70.5, 9, 4, "  70.5000"},
                                           NumberCase{-3.25, 9, 4, "  -3.2500"},
                                           NumberCase{12345.5, 9, 4, "12345.5000"}));

TEST(PlotFrameAlignment, CodesOutsideTheTableFallBack)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    const struct {
        int horizontal;
        int vertical;
        HorizontalAlign expectedHorizontal;
        VerticalAlign expectedVertical;
    } cases[] = {{0, 0, HorizontalAlign::left, VerticalAlign::bottom},
                 {1, 1, HorizontalAlign::centre, VerticalAlign::baseline},
                 {2, 2, HorizontalAlign::right, VerticalAlign::top},
                 {7, -1, HorizontalAlign::left, VerticalAlign::top}};
    for (const auto& alignCase : cases) {
        frame.setTextAlign(alignCase.horizontal, alignCase.vertical);
        frame.drawText("x");
        const SurfaceCall text = surface.callsOf(SurfaceCallKind::text).back();
        EXPECT_EQ(text.horizontal, alignCase.expectedHorizontal) << alignCase.horizontal;
        EXPECT_EQ(text.vertical, alignCase.expectedVertical) << alignCase.vertical;
    }
}

struct SizeCase {
    int clientWidth;
    double relativeSize;
    int height;
};

class PlotFrameTextSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PlotFrameTextSize, CharacterHeightIsTwoPercentOfTheWidthPerUnit)
{
    RecordingSurface surface;
    PlotFrame frame(surface, GetParam().clientWidth, 601);
    frame.setTextSize(GetParam().relativeSize);
    EXPECT_EQ(frame.currentFont().height, -GetParam().height);
    EXPECT_DOUBLE_EQ(frame.textSize(), GetParam().relativeSize);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlotFrameTextSize,
                         ::testing::Values(SizeCase{801, 1.5, 24}, SizeCase{800, 1.5, 23},
                                           SizeCase{801, 0.7, 11}, SizeCase{801, 0.6, 9}));

TEST(PlotFrameFonts, RecreationKeepsTheOtherAttributes)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    FontDescription custom = PlotFrame::defaultFont();
    custom.faceName = "Courier New";
    custom.italic = true;
    custom.height = -30;
    custom.width = 12;
    custom.weight = 600;
    ASSERT_TRUE(frame.useFont(custom));
    EXPECT_DOUBLE_EQ(frame.textSize(), 30 * 50.0 / 800);
    EXPECT_TRUE(frame.bold());

    frame.setTextAngle(900);
    FontDescription turned = frame.currentFont();
    EXPECT_EQ(turned.faceName, "Courier New");
    EXPECT_TRUE(turned.italic);
    EXPECT_EQ(turned.width, 0);
    EXPECT_EQ(turned.orientation, 900);
    EXPECT_EQ(turned.weight, 700);

    frame.setBold(false);
    frame.setTextSize(1.0);
    turned = frame.currentFont();
    EXPECT_EQ(turned.weight, 400);
    EXPECT_EQ(turned.escapement, 900);
    EXPECT_EQ(turned.height, -16);
}

TEST(PlotFrameFonts, SizeComputedBackFromAHeightKeepsThatHeight)
{
    // |h| * 50 / width and back again must not lose a pixel to rounding of the product.
    for (int clientWidth : {640, 799, 801, 1023, 1367, 1921}) {
        RecordingSurface surface;
        PlotFrame frame(surface, clientWidth, 601);
        for (int height = 1; height < 60; ++height) {
            FontDescription description = PlotFrame::defaultFont();
            description.height = -height;
            ASSERT_TRUE(frame.useFont(description));
            frame.setTextAngle(900);
            EXPECT_EQ(frame.currentFont().height, -height) << clientWidth;
        }
    }
}

TEST(PlotFrameFonts, AFontThatCannotBeMadeLeavesEverythingAsItWas)
{
    RecordingSurface surface;
    surface.unavailableFace = "Missing Face";
    PlotFrame frame(surface, 801, 601);
    frame.setBold(true);
    frame.setTextSize(1.5);
    const FontDescription before = frame.currentFont();

    FontDescription missing = before;
    missing.faceName = "Missing Face";
    missing.height = -40;
    missing.escapement = 900;
    missing.weight = 400;
    EXPECT_FALSE(frame.useFont(missing));
    EXPECT_EQ(frame.currentFont(), before);
    EXPECT_DOUBLE_EQ(frame.textSize(), 1.5);
    EXPECT_EQ(frame.textAngle(), 0);
    EXPECT_TRUE(frame.bold());
}

TEST(PlotFrameDegenerate, ZeroWidthWorldDrawsNothing)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(6000, 6000, 0, 100);
    EXPECT_FALSE(frame.worldUsable());
    surface.clearCalls();
    frame.moveTo(6000, 0);
    frame.lineTo(6000, 50);
    frame.drawBox();
    EXPECT_TRUE(linesOf(surface).empty());
    EXPECT_EQ(frame.toPixelX(6001), 0);

    frame.setWorld(0, 100, 5, 5);
    EXPECT_FALSE(frame.worldUsable());
    frame.setWorld(0, std::nan(""), 0, 100);
    EXPECT_FALSE(frame.worldUsable());
    frame.setWorld(0, 100, 0, 100);
    EXPECT_TRUE(frame.worldUsable());
}

TEST(PlotFrameDegenerate, TinyPictureDrawsNothingAndKeepsSizes)
{
    for (int clientSize : {-5, 0, 1}) {
        RecordingSurface surface;
        PlotFrame frame(surface, clientSize, clientSize);
        EXPECT_FALSE(frame.pictureDrawable());
        frame.setTextSize(1.5);
        FontDescription description = PlotFrame::defaultFont();
        description.height = -24;
        EXPECT_TRUE(frame.useFont(description));
        EXPECT_TRUE(std::isfinite(frame.textSize()));
        frame.setWorld(0, 100, 0, 100);
        frame.moveTo(0, 0);
        frame.lineTo(100, 100);
        frame.drawText("x");
        EXPECT_TRUE(linesOf(surface).empty());
        EXPECT_TRUE(surface.callsOf(SurfaceCallKind::text).empty());
    }
}

TEST(PlotFrameDegenerate, HugeValuesStayInsideThePixelRange)
{
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    frame.setWorld(0, 1e-300, 0, 100);
    frame.moveTo(0, 0);
    frame.lineTo(1e300, 0);
    const std::vector<SurfaceCall> lines = linesOf(surface);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0].x2, 1 << 27);
    EXPECT_EQ(lines[1].x2, lines[0].x2 - 1);

    frame.setTextSize(1e300);
    EXPECT_LE(-frame.currentFont().height, 100000);
    frame.setTextSize(std::nan(""));
    EXPECT_EQ(frame.currentFont().height, 0);
}

} // namespace
} // namespace orvane
