#include "display/qt/highlight_painting.h"

#include "display/carrier_highlight.h"
#include "display/plot_frame.h"
#include "display/qt/painter_surface.h"

#include <QPainter>
#include <QSize>

namespace orvane {

void paintCarrierHighlight(QPainter& painter, const QSize& clientSize,
                           const DisplaySettings& settings, const CarrierList& carriers, int index)
{
    PainterSurface surface(painter);
    PlotFrame frame(surface, clientSize.width(), clientSize.height());
    drawCarrierHighlight(frame, settings, carriers, index);
}

} // namespace orvane
