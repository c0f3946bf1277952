#include "display/plan_geometry.h"

#include "display/plot_frame.h"

namespace orvane {

namespace {
constexpr double noPowerAbove = -999.0;
} // namespace

void enterPlotWorld(PlotFrame& frame, const DisplaySettings& settings)
{
    frame.setPlotArea(plotLeft, plotRight, plotBottom, plotTop);
    frame.setWorld(settings.viewStartMhz, settings.viewStopMhz, 0.0, 100.0);
}

double densityLevel(const CarrierList& carriers, double densityDbw)
{
    const double span = carriers.levelCeiling() - carriers.levelFloor();
    const double factor = span > 0.0 ? highestCarrierLevel / span : 30.0;
    return (densityDbw - carriers.levelFloor()) * factor;
}

double carrierTopLevel(const CarrierList& carriers, const Carrier& carrier)
{
    const double density = carrier.powerDensityDbw();
    return densityLevel(carriers, density > noPowerAbove ? density : carriers.levelCeiling());
}

} // namespace orvane
