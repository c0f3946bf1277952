#include "display/qt/painter_surface.h"

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

} // namespace
} // namespace orvane
