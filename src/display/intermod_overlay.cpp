#include "display/intermod_overlay.h"

#include "display/plan_geometry.h"
#include "display/plot_frame.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace orvane {

namespace {

constexpr int hitBarWidthPx = 5;
constexpr int curveWidthPx = 2;
constexpr double highestLevel = 100.0;

// The carriers' density scale, as the plan drawing places carriers, kept inside the plot.
double levelOf(const CarrierList& carriers, double densityDbwPerKhz)
{
    return std::clamp(densityLevel(carriers, densityDbwPerKhz), 0.0, highestLevel);
}

void drawHitBars(PlotFrame& frame, const IntermodOverlay& overlay)
{
    frame.setColour(overlay.outOfDate ? intermodOutOfDateColour : intermodHitColour);
    const int previousWidth = frame.setPenWidth(hitBarWidthPx);
    for (const auto& [lowerMhz, upperMhz] : overlay.hitBandsMhz) {
        frame.moveTo(lowerMhz, 0.0);
        frame.lineTo(upperMhz, 0.0);
    }
    frame.setPenWidth(previousWidth);
}

// A line through the middle of each bin, broken where a bin has no power, and left out where
// both ends lie on the axis.
void drawCurve(PlotFrame& frame, const CarrierList& carriers, const DensityCurve& density,
               Colour colour)
{
    const std::size_t binCount = density.binDbwPerKhz.size();
    if (binCount == 0)
        return;
    const double binWidthMhz = (density.highMhz - density.lowMhz) / static_cast<double>(binCount);
    frame.setColour(colour);
    const int previousWidth = frame.setPenWidth(curveWidthPx);
    std::optional<double> previousLevel;
    for (std::size_t bin = 0; bin < binCount; ++bin) {
        const std::optional<double>& value = density.binDbwPerKhz[bin];
        if (!value) {
            previousLevel.reset();
            continue;
        }
        const double frequencyMhz = density.lowMhz + (static_cast<double>(bin) + 0.5) * binWidthMhz;
        const double level = levelOf(carriers, *value);
        if (previousLevel && (level > 0.0 || *previousLevel > 0.0))
            frame.lineTo(frequencyMhz, level);
        else
            frame.moveTo(frequencyMhz, level);
        previousLevel = level;
    }
    frame.setPenWidth(previousWidth);
}

} // namespace

void drawIntermodOverlay(PlotFrame& frame, const DisplaySettings& settings,
                         const CarrierList& carriers, const IntermodOverlay& overlay)
{
    if (!frame.pictureDrawable())
        return;
    enterPlotWorld(frame, settings);
    if (!frame.worldUsable())
        return;
    drawHitBars(frame, overlay);
    drawCurve(frame, carriers, overlay.density,
              overlay.outOfDate ? intermodOutOfDateColour : intermodCurveColour);
}

} // namespace orvane
