#pragma once

#include "analysis/intermod_analysis.h"
#include "display/display_settings.h"
#include "model/carrier_list.h"

#include <string>
#include <utility>
#include <vector>

namespace orvane {

class PlotFrame;

// What the intermodulation analysis adds to the plan picture while it is shown.
struct IntermodOverlay {
    // The aggregate IM power density, drawn on the carriers' density scale.
    DensityCurve density;
    // The occupied bands (lower and upper edge, MHz) of the carriers that products hit.
    std::vector<std::pair<double, double>> hitBandsMhz;
    // The amplifier's simulated output spectrum on the same scale; no bins: none. With it the
    // picture gets a legend, naming it as given ("Tube output, IBO 10.0 dB").
    DensityCurve amplifierOutput;
    std::string amplifierOutputName;
    // The plan or the analysis's inputs changed since: drawn grey until the newer result comes.
    bool outOfDate = false;
};

// The occupied bands (lower and upper edge, MHz) of the carriers that products hit in this
// analysis, in F-number order; sortedPlan is the plan analysed, sorted by frequency as the
// analysis numbers its carriers.
std::vector<std::pair<double, double>> hitBandsOf(const IntermodAnalysis& analysis,
                                                  const CarrierList& sortedPlan);

inline constexpr Colour intermodCurveColour = rgbColour(90, 0, 200);
inline constexpr Colour intermodHitColour = rgbColour(255, 150, 0);
inline constexpr Colour amplifierOutputColour = rgbColour(0, 140, 140);
inline constexpr Colour intermodOutOfDateColour = rgbColour(170, 170, 170);

// Draws the overlay as a layer over a picture drawPlan has drawn with these settings (fitted to
// the picture or not) into a frame over the same client area: a bar along the axis under each
// hit carrier, the amplifier's output and the density curve, clipped to the plot area. The
// height of a density follows the carriers' scale (the list's level floor and ceiling);
// densities below the floor lie on the axis and are not drawn. With an amplifier output, a
// legend in the frequency labels' font names the curves in a lower corner of the picture that
// none of the plan's texts reaches, smaller where it has to be; it is left out where none is
// free.
void drawIntermodOverlay(PlotFrame& frame, const DisplaySettings& settings,
                         const CarrierList& carriers, const IntermodOverlay& overlay);

} // namespace orvane
