#include "display/qt/painter_surface.h"

#include "display/plot_frame.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <memory>
#include <vector>

namespace orvane {
namespace {

bool isDark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The smallest rectangle holding every dark pixel; empty when there is none.
QRect darkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image, x, y))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A white image with a painter and a surface on it, black pen and text.
class PainterSurfaceTest : public ::testing::Test {
protected:
    void start(int width, int height)
    {
        image = QImage(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        surface = std::make_unique<PainterSurface>(*painter);
        surface->setTextColour(rgbColour(0, 0, 0));
    }
    void finish()
    {
        surface.reset();
        painter->end();
    }
    FontDescription arial(int height) const
    {
        FontDescription description = PlotFrame::defaultFont();
        description.height = height;
        return description;
    }

    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<PainterSurface> surface;
};

struct ThinLineCase {
    QPoint from;
    QPoint to;
    std::vector<QPoint> drawn;
    std::vector<QPoint> leftOut;
};

class PainterSurfaceThinLine : public PainterSurfaceTest,
                               public ::testing::WithParamInterface<ThinLineCase> {};

TEST_P(PainterSurfaceThinLine, LeavesOutThePixelItRunsTo)
{
    start(12, 12);
    surface->moveTo(GetParam().from.x(), GetParam().from.y());
    surface->lineTo(GetParam().to.x(), GetParam().to.y());
    EXPECT_EQ(surface->currentX(), GetParam().to.x());
    EXPECT_EQ(surface->currentY(), GetParam().to.y());
    finish();
    for (const QPoint& point : GetParam().drawn)
        EXPECT_TRUE(isDark(image, point.x(), point.y())) << point.x() << "," << point.y();
    for (const QPoint& point : GetParam().leftOut)
        EXPECT_FALSE(isDark(image, point.x(), point.y())) << point.x() << "," << point.y();
}

INSTANTIATE_TEST_SUITE_P(
    Directions, PainterSurfaceThinLine,
    ::testing::Values(
        ThinLineCase{{0, 2}, {10, 2}, {{0, 2}, {5, 2}, {9, 2}}, {{10, 2}, {5, 1}, {5, 3}}},
        ThinLineCase{{5, 9}, {5, 0}, {{5, 9}, {5, 1}}, {{5, 0}, {5, 10}}},
        ThinLineCase{{0, 0}, {4, 4}, {{0, 0}, {3, 3}}, {{4, 4}}},
        ThinLineCase{{6, 6}, {6, 6}, {}, {{6, 6}}}));

TEST_F(PainterSurfaceTest, FrameLineCoversItsEndPixelAndNoMore)
{
    start(21, 5);
    PlotFrame frame(*surface, 21, 5);
    frame.setWorld(0, 20, 0, 4);
    frame.moveTo(0, 2);
    frame.lineTo(10, 2);
    finish();
    for (int x = 0; x <= 10; ++x)
        EXPECT_TRUE(isDark(image, x, 2)) << x;
    EXPECT_FALSE(isDark(image, 11, 2));
}

TEST_F(PainterSurfaceTest, WidePenCoversBothEnds)
{
    start(30, 20);
    surface->setPen(2, rgbColour(0, 0, 0));
    surface->moveTo(5, 10);
    surface->lineTo(15, 10);
    finish();
    EXPECT_TRUE(isDark(image, 5, 10));
    EXPECT_TRUE(isDark(image, 15, 10));
    EXPECT_FALSE(isDark(image, 10, 8));
    EXPECT_FALSE(isDark(image, 18, 10));
}

TEST_F(PainterSurfaceTest, OriginMovesEverythingAndFillLeavesOutRightAndBottom)
{
    start(20, 20);
    surface->setOrigin(10, 10);
    surface->fillRect(0, 0, 2, 2, rgbColour(255, 0, 0));
    surface->moveTo(-10, -5);
    surface->lineTo(-5, -5);
    finish();
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(11, 11), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(12, 11), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(11, 12), qRgb(255, 255, 255));
    EXPECT_TRUE(isDark(image, 0, 5));
    EXPECT_TRUE(isDark(image, 4, 5));
}

TEST_F(PainterSurfaceTest, ClipRectangleIsInclusiveAndCanBeRemoved)
{
    start(20, 20);
    surface->setClipRect(2, 2, 5, 5);
    surface->fillRect(0, 0, 20, 20, rgbColour(0, 0, 0));
    surface->removeClip();
    surface->moveTo(0, 15);
    surface->lineTo(19, 15);
    finish();
    EXPECT_TRUE(isDark(image, 2, 2));
    EXPECT_TRUE(isDark(image, 5, 5));
    EXPECT_FALSE(isDark(image, 6, 5));
    EXPECT_FALSE(isDark(image, 1, 2));
    EXPECT_TRUE(isDark(image, 18, 15));
}

TEST_F(PainterSurfaceTest, ArialHasArialsMetrics)
{
    start(10, 10);
    ASSERT_TRUE(surface->selectFont(arial(-24)));
    // Arial at a character height of 24 pixels: ascent 22, descent 5.
    EXPECT_NEAR(surface->textMetrics().ascent, 22, 1);
    EXPECT_NEAR(surface->textMetrics().cellHeight(), 27, 1);
    EXPECT_EQ(surface->currentFont(), arial(-24));

    QFont font;
    ASSERT_TRUE(PainterSurface::fontFromDescription(arial(-24), font));
    const QString family = QFontInfo(font).family();
    EXPECT_FALSE(family.isEmpty());
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans")) &&
        !QFontDatabase::families().contains(QStringLiteral("Arial"))) {
        EXPECT_EQ(family, QStringLiteral("Liberation Sans"));
    }
    finish();
}

TEST_F(PainterSurfaceTest, PositiveHeightIsTheCellHeight)
{
    start(10, 10);
    ASSERT_TRUE(surface->selectFont(arial(30)));
    EXPECT_NEAR(surface->textMetrics().cellHeight(), 30, 1);
    finish();
}

TEST_F(PainterSurfaceTest, ImpossibleFontIsRefusedAndTheOldOneStays)
{
    start(10, 10);
    ASSERT_TRUE(surface->selectFont(arial(-20)));
    EXPECT_FALSE(surface->selectFont(arial(-100000)));
    EXPECT_EQ(surface->currentFont(), arial(-20));
    finish();
}

TEST_F(PainterSurfaceTest, UpwardTextStandsLeftOfAndAboveItsPoint)
{
    start(100, 120);
    FontDescription upward = arial(-20);
    upward.escapement = 900;
    upward.orientation = 900;
    ASSERT_TRUE(surface->selectFont(upward));
    surface->setTextAlign(HorizontalAlign::left, VerticalAlign::baseline);
    surface->moveTo(50, 100);
    surface->drawText("HHHH");
    const int currentY = surface->currentY();
    const int currentX = surface->currentX();
    finish();

    const QRect ink = darkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width()); // the text runs up the picture
    EXPECT_LE(ink.right(), 51);               // its baseline is the column of the point
    EXPECT_GE(ink.left(), 50 - 22);
    EXPECT_LE(ink.bottom(), 101); // and it starts at the point, reading upward
    EXPECT_EQ(currentX, 50);
    EXPECT_NEAR(currentY, 100 - ink.height(), 6);
    EXPECT_LT(currentY, 60);
}

struct AlignCase {
    HorizontalAlign horizontal;
    VerticalAlign vertical;
};

class PainterSurfaceAlignment : public PainterSurfaceTest,
                                public ::testing::WithParamInterface<AlignCase> {};

TEST_P(PainterSurfaceAlignment, TextStandsOnItsSideOfThePointAndMovesIt)
{
    start(200, 60);
    ASSERT_TRUE(surface->selectFont(arial(-20)));
    const TextMetrics metrics = surface->textMetrics();
    surface->setTextAlign(GetParam().horizontal, GetParam().vertical);
    surface->moveTo(100, 30);
    surface->drawText("HHH");
    const int movedTo = surface->currentX();
    finish();

    const QRect ink = darkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    const int width = ink.width();
    switch (GetParam().horizontal) {
    case HorizontalAlign::left:
        EXPECT_GE(ink.left(), 100);
        EXPECT_NEAR(movedTo, 100 + width, 6);
        break;
    case HorizontalAlign::centre:
        EXPECT_NEAR(ink.center().x(), 100, 3);
        EXPECT_EQ(movedTo, 100);
        break;
    case HorizontalAlign::right:
        EXPECT_LE(ink.right(), 100);
        EXPECT_NEAR(movedTo, 100 - width, 6);
        break;
    }
    switch (GetParam().vertical) {
    case VerticalAlign::bottom:
        EXPECT_LE(ink.bottom(), 30 - metrics.descent + 1);
        break;
    case VerticalAlign::baseline:
        EXPECT_NEAR(ink.bottom(), 29, 1); // capitals stand on the baseline
        break;
    case VerticalAlign::top:
        EXPECT_GE(ink.top(), 30);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, PainterSurfaceAlignment,
    ::testing::Values(AlignCase{HorizontalAlign::left, VerticalAlign::baseline},
                      AlignCase{HorizontalAlign::centre, VerticalAlign::bottom},
                      AlignCase{HorizontalAlign::right, VerticalAlign::top},
                      AlignCase{HorizontalAlign::left, VerticalAlign::top}));

} // namespace
} // namespace orvane
