#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

namespace orvane {

class PlotFrame;

// The frequency axis title drawn under the plot.
inline constexpr const char* frequencyAxisTitle = "Frequency (MHz)";

// Draws the whole picture of a plan into the frame: background, border, title, axis title,
// then in the plot area the axis-end numbers, each carrier's numbers, shape and label, and
// the axis last. Reads the settings and the list and changes neither. A view range whose
// start equals its stop has no horizontal scale: the picture is drawn without the plot part.
void drawPlan(PlotFrame& frame, const PixelRect& clientRect, const DisplaySettings& settings,
              const CarrierList& carriers);

// The parts of drawPlan, in its order, each on the frame as drawPlan leaves it for them (the
// picture's world 0..100 by 0..100 after a reset): the title, the axis title, and the plot
// area with the axis, the carriers, their labels and their frequencies.
void drawPlanTitle(PlotFrame& frame, const DisplaySettings& settings);
void drawPlanAxisTitle(PlotFrame& frame, const DisplaySettings& settings);
void drawPlanPlot(PlotFrame& frame, const DisplaySettings& settings, const CarrierList& carriers);

// One frequency number under the axis, reading upward and centred on the frequency's column,
// with the current colour and font.
void drawFrequencyLabel(PlotFrame& frame, double frequencyMhz);

} // namespace orvane
