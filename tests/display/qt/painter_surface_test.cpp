#include "display/qt/painter_surface.h"
#include "display/qt/plan_painting.h"

#include "display/plot_frame.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

// The picture as rows of '#' for a dark pixel and '.' for a light one.
std::string darkPixels(const QImage& image)
{
    std::string text;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            text += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
        text += '\n';
    }
    return text;
}

FontDescription arial(int height)
{
    FontDescription description = PlotFrame::defaultFont();
    description.height = height;
    return description;
}

// A white image with a surface on it, black pen and text, drawn on by a scene.
QImage drawn(int width, int height, const std::function<void(PainterSurface&)>& scene)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        PainterSurface surface(painter);
        surface.setTextColour(rgbColour(0, 0, 0));
        scene(surface);
    }
    painter.end();
    return image;
}

void line(PainterSurface& surface, int x1, int y1, int x2, int y2)
{
    surface.moveTo(x1, y1);
    surface.lineTo(x2, y2);
    EXPECT_EQ(surface.currentX(), x2);
    EXPECT_EQ(surface.currentY(), y2);
}

// Each scene on a 21 x 21 picture of its own; the golden file shows its dark pixels.
TEST(PainterSurface, DrawsExactlyTheGoldenPixels)
{
    const std::pair<const char*, std::function<void(PainterSurface&)>> scenes[] = {
        // A thin line leaves out the pixel it runs to, in every direction.
        {"RightwardLine", [](PainterSurface& s) { line(s, 0, 2, 10, 2); }},
        {"UpwardLine", [](PainterSurface& s) { line(s, 5, 9, 5, 0); }},
        {"DiagonalLine", [](PainterSurface& s) { line(s, 0, 0, 4, 4); }},
        {"NoLength", [](PainterSurface& s) { line(s, 6, 6, 6, 6); }},
        // The frame adds the end pixel back.
        {"FrameLine",
         [](PainterSurface& s) {
             PlotFrame frame(s, 21, 5);
             frame.setWorld(0, 20, 0, 4);
             frame.moveTo(0, 2);
             frame.lineTo(10, 2);
         }},
        {"WidePen",
         [](PainterSurface& s) {
             s.setPen(2, rgbColour(0, 0, 0));
             line(s, 5, 10, 15, 10);
         }},
        // Fills leave out their right and bottom edge; the origin moves everything.
        {"OriginAndFill",
         [](PainterSurface& s) {
             s.setOrigin(10, 10);
             s.fillRect(0, 0, 2, 2, rgbColour(0, 0, 0));
             line(s, -10, -5, -5, -5);
         }},
        // A clip rectangle includes its right and bottom edge, and goes again.
        {"ClipAndNoClip", [](PainterSurface& s) {
             s.setClipRect(2, 2, 5, 5);
             s.fillRect(0, 0, 21, 21, rgbColour(0, 0, 0));
             s.removeClip();
             line(s, 0, 15, 19, 15);
         }}};
    std::string pictures;
    for (const auto& [name, scene] : scenes)
        pictures += std::string("== ") + name + "\n" + darkPixels(drawn(21, 21, scene));
    test::expectGolden(pictures, "drawing/painter_surface.txt");
}

TEST(PainterSurfaceFonts, ArialHasItsMetricsAndAnImpossibleFontIsRefused)
{
    drawn(10, 10, [](PainterSurface& surface) {
        ASSERT_TRUE(surface.selectFont(arial(-24)));
        // Arial at a character height of 24 pixels: ascent 22, descent 5.
        EXPECT_NEAR(surface.textMetrics().ascent, 22, 1);
        EXPECT_NEAR(surface.textMetrics().cellHeight(), 27, 1);
        EXPECT_FALSE(surface.selectFont(arial(-100000)));
        EXPECT_EQ(surface.currentFont(), arial(-24));
        ASSERT_TRUE(surface.selectFont(arial(30))); // a positive height is the cell height
        EXPECT_NEAR(surface.textMetrics().cellHeight(), 30, 1);
    });
    QFont font;
    ASSERT_TRUE(PainterSurface::fontFromDescription(arial(-24), font));
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans")) &&
        !QFontDatabase::families().contains(QStringLiteral("Arial"))) {
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    }
}

constexpr QRgb white = 0xFFFFFFFFu;
constexpr QRgb black = 0xFF000000u;
constexpr QRgb red = 0xFFFF0000u;

// One carrier at 6000 MHz, 20 MSps with a roll-off of 25 %: its flat top spans columns 231
// to 255 on row 264 of an 801 x 601 picture, its feet stand at columns 228 and 258.
CarrierList oneCarrierPlan()
{
    CarrierList carriers;
    Carrier carrier;
    carrier.setFixedSymbolRate(6000, 20000, 10, 1.25);
    carrier.label = "C1";
    carriers.append(carrier);
    return carriers;
}

TEST(PlanImage, ShowsBorderAxisCarrierAndTextsWhereTheDrawingPutsThem)
{
    DisplaySettings settings;
    const QImage image = renderPlanImage(oneCarrierPlan(), settings, QSize(801, 601));
    ASSERT_EQ(image.size(), QSize(801, 601));
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    // The one-pixel border, the axis on row 480 from column 60 to 762 with ticks up to row
    // 444, the carrier's flat top on row 264 and the background between.
    const std::vector<std::pair<QPoint, QRgb>> pixels = {
        {{0, 0}, black},     {{800, 600}, black}, {{400, 0}, black},   {{0, 300}, black},
        {{1, 300}, white},   {{400, 599}, white}, {{400, 300}, white}, {{60, 480}, black},
        {{762, 480}, black}, {{400, 478}, white}, {{762, 450}, black}, {{60, 440}, white},
        {{790, 480}, white}, {{233, 264}, red},   {{253, 264}, red},   {{243, 266}, white},
        {{243, 261}, white}};
    for (const auto& [point, colour] : pixels)
        EXPECT_EQ(image.pixel(point), colour) << point.x() << "," << point.y();
    // Text: the title above row 42 around column 400, the label above row 257 beside the
    // carrier, its number under the axis, the axis title above row 576.
    const std::vector<std::pair<QRect, bool>> inked = {
        {{300, 15, 200, 28}, true},  {{300, 44, 200, 20}, false}, {{236, 230, 14, 27}, true},
        {{236, 258, 14, 4}, false},  {{236, 486, 14, 50}, true},  {{320, 555, 160, 21}, true},
        {{320, 578, 160, 20}, false}};
    for (const auto& [area, ink] : inked)
        EXPECT_EQ(darkPixels(image.copy(area)).find('#') != std::string::npos, ink)
            << area.x() << "," << area.y();

    EXPECT_TRUE(renderPlanImage(oneCarrierPlan(), settings, QSize(0, 601)).isNull());
    EXPECT_EQ(renderPlanImage(oneCarrierPlan(), settings, QSize(1, 1)).pixel(0, 0), white);

    // A bitmap file reads back as the same picture (the plan's window paints it too: the window
    // tests' part).
    test::TempFolder folder;
    const BitmapWriteResult result = writeImageAsBitmap(image, folder.file("plan.bmp"));
    ASSERT_TRUE(result.written) << bitmapWriteResultText(result);
    const QImage readBack(QString::fromStdString(folder.file("plan.bmp")));
    EXPECT_EQ(readBack.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(bitmapWriteResultText(writeImageAsBitmap(QImage(), folder.file("none.bmp"))),
              noBitmapToSaveText);
}

} // namespace
} // namespace orvane
