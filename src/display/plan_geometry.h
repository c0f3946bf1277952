#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

namespace orvane {

class PlotFrame;

// Where the plan picture puts things, shared by its drawing and by finding what is under a
// pixel. The plot area in the 4:3 reset world, and the levels inside it.
inline constexpr double plotLeft = 10.0;
inline constexpr double plotRight = 127.0;
inline constexpr double plotBottom = 20.0;
inline constexpr double plotTop = 80.0;
inline constexpr double highestCarrierLevel = 60.0;

// Makes the frame's frame the plot area and its world the view: frequency from the view's
// start to its stop, level from 0 (the axis) to 100.
void enterPlotWorld(PlotFrame& frame, const DisplaySettings& settings);

// The level of a power density on the plan's density scale, on which the highest carrier
// density reaches highestCarrierLevel.
double densityLevel(const CarrierList& carriers, double densityDbw);

// The level of a carrier's flat top: its power density on the plan's scale (a carrier without a
// power level at the top of the scale), so the highest density reaches highestCarrierLevel.
double carrierTopLevel(const CarrierList& carriers, const Carrier& carrier);

} // namespace orvane
