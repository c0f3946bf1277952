#include "display/qt/plan_painting.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <filesystem>
#include <string>
#include <vector>

namespace orvane {
namespace {

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

bool anyDarkIn(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

class PlanWidget : public QWidget {
public:
    DisplaySettings settings;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paintPlan(painter, size(), settings, oneCarrierPlan());
    }
};

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
        EXPECT_EQ(anyDarkIn(image, area), ink) << area.x() << "," << area.y();

    EXPECT_TRUE(renderPlanImage(oneCarrierPlan(), settings, QSize(0, 601)).isNull());
    EXPECT_EQ(renderPlanImage(oneCarrierPlan(), settings, QSize(1, 1)).pixel(0, 0), white);

    // A bitmap file reads back as the same picture, and a window paints it too.
    test::TempFolder folder;
    const BitmapWriteResult result = writeImageAsBitmap(image, folder.file("plan.bmp"));
    ASSERT_TRUE(result.written) << bitmapWriteResultText(result);
    EXPECT_EQ(std::filesystem::file_size(folder.file("plan.bmp")), 1925670u);
    const QImage readBack(QString::fromStdString(folder.file("plan.bmp")));
    EXPECT_EQ(readBack.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(bitmapWriteResultText(writeImageAsBitmap(QImage(), folder.file("none.bmp"))),
              noBitmapToSaveText);
    PlanWidget widget;
    widget.resize(801, 601);
    EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32), image);
}

} // namespace
} // namespace orvane
