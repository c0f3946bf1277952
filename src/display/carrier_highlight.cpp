#include "display/carrier_highlight.h"

#include "display/plan_geometry.h"
#include "display/plot_frame.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int highlightPenWidth = 4;

int colourDistance(Colour a, Colour b)
{
    const auto apart = [](unsigned x, unsigned y) { return x > y ? x - y : y - x; };
    return static_cast<int>(apart(redOf(a), redOf(b)) + apart(greenOf(a), greenOf(b)) +
                            apart(blueOf(a), blueOf(b)));
}

} // namespace

Colour highlightColourFor(const DisplaySettings& settings)
{
    constexpr Colour blue = rgbColour(0, 120, 215);
    constexpr Colour orange = rgbColour(255, 140, 0);
    const auto nearestOf = [&](Colour candidate) {
        return std::min(colourDistance(candidate, settings.carrierColour),
                        colourDistance(candidate, settings.backgroundColour));
    };
    return nearestOf(blue) >= nearestOf(orange) ? blue : orange;
}

void drawCarrierHighlight(PlotFrame& frame, const DisplaySettings& settings,
                          const CarrierList& carriers, int index)
{
    if (index < 0 || index >= carriers.count() || !frame.pictureDrawable())
        return;
    enterPlotWorld(frame, settings);
    frame.clipOff();
    if (!frame.worldUsable())
        return;
    const Carrier& carrier = carriers[index];
    const double topLevel = carrierTopLevel(carriers, carrier);
    frame.setColour(highlightColourFor(settings));
    frame.setPenWidth(highlightPenWidth);
    frame.moveTo(carrier.lowerEdgeMhz(), 0.0);
    frame.lineTo(carrier.lowerSymbolEdgeMhz(), topLevel);
    frame.lineTo(carrier.upperSymbolEdgeMhz(), topLevel);
    frame.lineTo(carrier.upperEdgeMhz(), 0.0);
}

} // namespace orvane
