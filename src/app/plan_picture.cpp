#include "app/plan_picture.h"

#include "display/bitmap_file.h"
#include "display/qt/plan_image_files.h"
#include "display/qt/plan_painting.h"

#include <QImage>
#include <QPainter>
#include <QSize>

namespace orvane {

void paintPlanPicture(QPainter& painter, PlanDocument& document, const QSize& clientSize)
{
    paintPlan(painter, clientSize, document.displaySettings, document.carriers);
}

QImage planImage(PlanDocument& document, const QSize& clientSize)
{
    return renderPlanImage(document.carriers, document.displaySettings, clientSize);
}

std::string writePlanBitmap(PlanDocument& document, const QSize& clientSize,
                            const std::string& path)
{
    return bitmapWriteResultText(
        savePlanImage(document.carriers, document.displaySettings, clientSize, path));
}

std::string writePlanPicture(PlanDocument& document, const QSize& clientSize,
                             const std::string& path, ImageFormat format)
{
    return savePlanPicture(document.carriers, document.displaySettings, clientSize, path, format);
}

} // namespace orvane
