#include "dialogs/plan_preview.h"

#include "display/intermod_overlay.h"
#include "display/plot_frame.h"
#include "display/qt/highlight_painting.h"
#include "display/qt/painter_surface.h"
#include "display/qt/plan_painting.h"

#include <QPainter>

#include <utility>

namespace orvane {

PlanPreview::PlanPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlanPreview::setPicture(ArrangePicture picture)
{
    picture_ = std::move(picture);
    update();
}

QSize PlanPreview::sizeHint() const
{
    return {600, 300};
}

void PlanPreview::paintEvent(QPaintEvent*)
{
    if (!picture_.plan)
        return;
    QPainter painter(this);
    const CarrierList& plan = *picture_.plan;
    DisplaySettings& settings = picture_.settings;
    paintPlan(painter, size(), settings, plan, TextFitting::toPicture);
    {
        PainterSurface surface(painter);
        PlotFrame frame(surface, width(), height());
        IntermodOverlay overlay;
        overlay.hitBandsMhz = picture_.hitBandsMhz;
        drawIntermodOverlay(frame, settings, plan, overlay);
    }
    for (const int index : picture_.outlined)
        paintCarrierHighlight(painter, size(), settings, plan, index);
}

} // namespace orvane
