#pragma once

#include "display/colour.h"
#include "display/display_settings.h"
#include "model/carrier_list.h"

namespace orvane {

class PlotFrame;

// The colour the marked carrier is outlined in: whichever of a blue and an orange stands
// further from both the carrier colour and the background.
Colour highlightColourFor(const DisplaySettings& settings);

// Drawn over the finished picture of the plan: the shape of the carrier at index again, with a
// wider pen in the highlight colour. Nothing for an index outside the plan or a view without a
// scale; the picture of the plan itself is left as it is.
void drawCarrierHighlight(PlotFrame& frame, const DisplaySettings& settings,
                          const CarrierList& carriers, int index);

} // namespace orvane
