#include "app/plan_picture.h"

#include "display/bitmap_file.h"
#include "display/intermod_overlay.h"
#include "display/plot_frame.h"
#include "display/qt/painter_surface.h"
#include "display/qt/plan_image_files.h"
#include "display/qt/plan_painting.h"
#include "display/text_fit.h"

#include <QImage>
#include <QPainter>
#include <QSize>

namespace orvane {

namespace {

// The layers drawn over the plan, each on a frame of its own over the same client area.
void paintLayers(QPainter& painter, const PlanDocument& document, const QSize& clientSize)
{
    if (!document.intermodOverlay)
        return;
    PainterSurface surface(painter);
    // A legend keeps clear of the plan's texts as they were drawn: fitted to a squat picture.
    const IntermodOverlay& overlay = *document.intermodOverlay;
    const bool legend = !overlay.amplifierOutput.binDbwPerKhz.empty();
    const DisplaySettings settings =
        legend && document.fitPictureTexts
            ? fitTextsToPicture(surface, clientSize.width(), clientSize.height(),
                                document.displaySettings, document.carriers)
            : document.displaySettings;
    PlotFrame frame(surface, clientSize.width(), clientSize.height());
    drawIntermodOverlay(frame, settings, document.carriers, overlay);
}

TextFitting textFitting(const PlanDocument& document)
{
    return document.fitPictureTexts ? TextFitting::toPicture : TextFitting::asSet;
}

} // namespace

void paintPlanPicture(QPainter& painter, PlanDocument& document, const QSize& clientSize)
{
    paintPlan(painter, clientSize, document.displaySettings, document.carriers,
              textFitting(document));
    paintLayers(painter, document, clientSize);
}

QImage planImage(PlanDocument& document, const QSize& clientSize)
{
    QImage image = renderPlanImage(document.carriers, document.displaySettings, clientSize,
                                   textFitting(document));
    if (!image.isNull() && document.intermodOverlay) {
        QPainter painter(&image);
        paintLayers(painter, document, clientSize);
    }
    return image;
}

std::string writePlanBitmap(PlanDocument& document, const QSize& clientSize,
                            const std::string& path)
{
    return bitmapWriteResultText(writeImageAsBitmap(planImage(document, clientSize), path));
}

std::string writePlanPicture(PlanDocument& document, const QSize& clientSize,
                             const std::string& path, ImageFormat format)
{
    const PlanLayers layers = [&document, clientSize](QPainter& painter) {
        paintLayers(painter, document, clientSize);
    };
    return savePlanPicture(document.carriers, document.displaySettings, clientSize, path, format,
                           layers, textFitting(document));
}

} // namespace orvane
