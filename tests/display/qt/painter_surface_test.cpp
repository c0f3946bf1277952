#include "display/qt/painter_surface.h"

#include "display/plot_frame.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <string>

namespace orvane {
namespace {

bool isDark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The dark pixels row by row as "y:x1-x2,x3", rows with the same runs merged ("y1-y2:x").
std::string darkPixels(const QImage& image)
{
    std::string text;
    std::string previousRuns;
    int firstRow = 0;
    const auto endRows = [&](int lastRow) {
        if (!previousRuns.empty())
            text += (text.empty() ? "" : " ") + std::to_string(firstRow) +
                    (lastRow > firstRow ? "-" + std::to_string(lastRow) : "") + ":" + previousRuns;
    };
    for (int y = 0; y < image.height(); ++y) {
        std::string runs;
        for (int x = 0; x < image.width(); ++x) {
            if (!isDark(image, x, y) || (x > 0 && isDark(image, x - 1, y)))
                continue;
            int last = x;
            while (last + 1 < image.width() && isDark(image, last + 1, y))
                ++last;
            runs += (runs.empty() ? "" : ",") + std::to_string(x) +
                    (last > x ? "-" + std::to_string(last) : "");
        }
        if (runs != previousRuns) {
            endRows(y - 1);
            previousRuns = runs;
            firstRow = y;
        }
    }
    endRows(image.height() - 1);
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

struct Scene {
    const char* name;
    std::function<void(PainterSurface&)> draw; // on a 21 x 21 picture
    std::string darkPixels;
};

void PrintTo(const Scene& scene, std::ostream* out)
{
    *out << scene.name;
}

class PainterSurfaceDrawing : public ::testing::TestWithParam<Scene> {};

TEST_P(PainterSurfaceDrawing, CoversExactlyTheseDarkPixels)
{
    EXPECT_EQ(darkPixels(drawn(21, 21, GetParam().draw)), GetParam().darkPixels);
}

void line(PainterSurface& surface, int x1, int y1, int x2, int y2)
{
    surface.moveTo(x1, y1);
    surface.lineTo(x2, y2);
    EXPECT_EQ(surface.currentX(), x2);
    EXPECT_EQ(surface.currentY(), y2);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, PainterSurfaceDrawing,
    ::testing::Values(
        // A thin line leaves out the pixel it runs to, in every direction.
        Scene{"RightwardLine", [](PainterSurface& s) { line(s, 0, 2, 10, 2); }, "2:0-9"},
        Scene{"UpwardLine", [](PainterSurface& s) { line(s, 5, 9, 5, 0); }, "1-9:5"},
        Scene{"DiagonalLine", [](PainterSurface& s) { line(s, 0, 0, 4, 4); }, "0:0 1:1 2:2 3:3"},
        Scene{"NoLength", [](PainterSurface& s) { line(s, 6, 6, 6, 6); }, ""},
        // The frame adds the end pixel back.
        Scene{"FrameLine",
              [](PainterSurface& s) {
                  PlotFrame frame(s, 21, 5);
                  frame.setWorld(0, 20, 0, 4);
                  frame.moveTo(0, 2);
                  frame.lineTo(10, 2);
              },
              "2:0-10"},
        Scene{"WidePen",
              [](PainterSurface& s) {
                  s.setPen(2, rgbColour(0, 0, 0));
                  line(s, 5, 10, 15, 10);
              },
              "9-10:4-15"},
        // Fills leave out their right and bottom edge; the origin moves everything.
        Scene{"OriginAndFill",
              [](PainterSurface& s) {
                  s.setOrigin(10, 10);
                  s.fillRect(0, 0, 2, 2, rgbColour(0, 0, 0));
                  line(s, -10, -5, -5, -5);
              },
              "5:0-4 10-11:10-11"},
        // A clip rectangle includes its right and bottom edge, and goes again.
        Scene{"ClipAndNoClip",
              [](PainterSurface& s) {
                  s.setClipRect(2, 2, 5, 5);
                  s.fillRect(0, 0, 21, 21, rgbColour(0, 0, 0));
                  s.removeClip();
                  line(s, 0, 15, 19, 15);
              },
              "2-5:2-5 15:0-18"}),
    [](const auto& info) { return std::string(info.param.name); });

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
