#include "display/qt/plan_painting.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace orvane {
namespace {

constexpr QRgb white = 0xFFFFFFFFu;
constexpr QRgb black = 0xFF000000u;
constexpr QRgb red = 0xFFFF0000u;

bool isDark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

bool anyDarkIn(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isDark(image, x, y))
                return true;
        }
    }
    return false;
}

bool anyPixelIn(const QImage& image, const QRect& area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == colour)
                return true;
        }
    }
    return false;
}

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

class PlanImage : public ::testing::Test {
protected:
    test::TempFolder folder;
    DisplaySettings settings;
    CarrierList carriers = oneCarrierPlan();
};

TEST_F(PlanImage, RenderShowsBackgroundBorderAxisAndCarrier)
{
    const QImage image = renderPlanImage(carriers, settings, QSize(801, 601));
    ASSERT_EQ(image.size(), QSize(801, 601));
    ASSERT_EQ(image.format(), QImage::Format_RGB32);

    EXPECT_EQ(image.pixel(400, 300), white);

    // The border takes the outermost pixels, one pixel wide.
    for (const QPoint point : {QPoint(0, 0), QPoint(800, 0), QPoint(0, 600), QPoint(800, 600),
                               QPoint(400, 0), QPoint(400, 600), QPoint(0, 300), QPoint(800, 300)})
        EXPECT_EQ(image.pixel(point), black) << point.x() << "," << point.y();
    EXPECT_EQ(image.pixel(1, 300), white);
    EXPECT_EQ(image.pixel(400, 599), white);

    // The axis on row 480 from column 60 to 762, with ticks up to row 444.
    for (const int column : {60, 100, 400, 700, 762})
        EXPECT_EQ(image.pixel(column, 480), black) << column;
    EXPECT_EQ(image.pixel(400, 478), white);
    EXPECT_EQ(image.pixel(762, 450), black);
    EXPECT_EQ(image.pixel(60, 440), white);
    EXPECT_EQ(image.pixel(790, 480), white);

    // The carrier: its flat top on row 264 and its sides down to the axis.
    for (const int column : {233, 243, 253})
        EXPECT_EQ(image.pixel(column, 264), red) << column;
    EXPECT_EQ(image.pixel(243, 266), white);
    EXPECT_EQ(image.pixel(243, 261), white);
    EXPECT_TRUE(anyPixelIn(image, QRect(226, 370, 8, 1), red));
    EXPECT_TRUE(anyPixelIn(image, QRect(254, 370, 8, 1), red));

    // Text: the title above row 42 around column 400, the label above row 257 near the
    // carrier, its number under the axis, the axis title above row 576.
    EXPECT_TRUE(anyDarkIn(image, QRect(300, 15, 200, 28)));
    EXPECT_FALSE(anyDarkIn(image, QRect(300, 44, 200, 20)));
    EXPECT_TRUE(anyDarkIn(image, QRect(236, 230, 14, 27)));
    EXPECT_FALSE(anyDarkIn(image, QRect(236, 258, 14, 4)));
    EXPECT_TRUE(anyDarkIn(image, QRect(236, 486, 14, 50)));
    EXPECT_TRUE(anyDarkIn(image, QRect(320, 555, 160, 21)));
    EXPECT_FALSE(anyDarkIn(image, QRect(320, 578, 160, 20)));
}

TEST_F(PlanImage, EmptyClientSizeGivesNoImage)
{
    EXPECT_TRUE(renderPlanImage(carriers, settings, QSize(0, 601)).isNull());
    const QImage tiny = renderPlanImage(carriers, settings, QSize(1, 1));
    ASSERT_FALSE(tiny.isNull());
    EXPECT_EQ(tiny.pixel(0, 0), white);
}

TEST_F(PlanImage, BitmapFileReadsBackAsTheSamePicture)
{
    const QImage image = renderPlanImage(carriers, settings, QSize(801, 601));
    const std::string path = folder.file("plan.bmp");
    const BitmapWriteResult result = writeImageAsBitmap(image, path);
    ASSERT_TRUE(result.written) << bitmapWriteResultText(result);
    EXPECT_EQ(std::filesystem::file_size(path), 1925670u);

    const QImage readBack(QString::fromStdString(path));
    ASSERT_FALSE(readBack.isNull());
    ASSERT_EQ(readBack.size(), image.size());
    const QImage comparable = readBack.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(comparable.pixel(x, y), image.pixel(x, y)) << x << "," << y;
    }
}

class PlanWidget : public QWidget {
public:
    DisplaySettings settings;
    CarrierList carriers = oneCarrierPlan();

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paintPlan(painter, size(), settings, carriers);
    }
};

TEST(PlanOnAWidget, PaintStepDrawsTheSamePicture)
{
    PlanWidget widget;
    widget.resize(801, 601);
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(801, 601));
    DisplaySettings settings;
    const QImage rendered = renderPlanImage(widget.carriers, settings, QSize(801, 601));
    EXPECT_EQ(shown.pixel(0, 0), black);
    EXPECT_EQ(shown.pixel(400, 480), black);
    EXPECT_EQ(shown.pixel(243, 264), red);
    EXPECT_EQ(shown, rendered);
}

} // namespace
} // namespace orvane
