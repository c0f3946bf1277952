#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

class QPainter;
class QSize;

namespace orvane {

// Paints the marked carrier's highlight (drawCarrierHighlight) over the plan the painter shows
// at clientSize.
void paintCarrierHighlight(QPainter& painter, const QSize& clientSize,
                           const DisplaySettings& settings, const CarrierList& carriers, int index);

} // namespace orvane
