#include "display/carrier_highlight.h"
#include "display/intermod_overlay.h"
#include "display/plan_drawing.h"
#include "display/plot_frame.h"
#include "support/recording_surface.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, double symbolRateKsps, double powerDbw,
                  const std::string& label = "", double rolloff = 1.25)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, rolloff);
    carrier.label = label;
    return carrier;
}

// One paint step of a window: fonts kept for the client area, the plan drawn, then whatever
// the scene draws over it.
struct Scene {
    const char* name; // its golden file is tests/data/drawing/<name>.txt
    std::function<void(DisplaySettings&, CarrierList&)> prepare;
    std::function<void(PlotFrame&, const DisplaySettings&, const CarrierList&)> over;
    int clientWidth = 801;
    int clientHeight = 601;
};

RecordingSurface painted(const Scene& scene)
{
    DisplaySettings settings;
    CarrierList carriers;
    scene.prepare(settings, carriers);
    RecordingSurface surface;
    PlotFrame frame(surface, scene.clientWidth, scene.clientHeight);
    const PixelRect client{0, 0, scene.clientWidth, scene.clientHeight};
    settings.keepFontsForClient(frame, client);
    surface.clearLog();
    drawPlan(frame, client, settings, carriers);
    if (scene.over)
        scene.over(frame, settings, carriers);
    EXPECT_TRUE(surface.transparentBackground());
    EXPECT_EQ(frame.penWidth(), scene.over ? 4 : 1);
    return surface;
}

const Scene scenes[] = {
    {"one_carrier",
     [](DisplaySettings&, CarrierList& carriers) {
         carriers.append(carrierAt(6000, 20000, 10, "C1"));
     },
     nullptr},
    // Fonts and positions follow the window; its plot has more than five rows per level.
    {"one_carrier_in_a_larger_window",
     [](DisplaySettings& settings, CarrierList& carriers) {
         settings.labelEdges = true;
         carriers.append(carrierAt(6000, 20000, 10, "C1"));
     },
     nullptr, 1201, 901},
    // Every element in a colour of its own, title and labels over several lines, band edges
    // numbered, carriers of several levels (one without) and two outside the view.
    {"busy_plan",
     [](DisplaySettings& settings, CarrierList& carriers) {
         settings.titleText = "Line one\t\tLine three";
         settings.titleColour = rgbColour(1, 0, 0);
         settings.axisColour = rgbColour(2, 0, 0);
         settings.carrierColour = rgbColour(3, 0, 0);
         settings.labelColour = rgbColour(4, 0, 0);
         settings.backgroundColour = rgbColour(5, 0, 0);
         settings.labelEdges = true;
         carriers.append(carrierAt(5800, 1000, 10, "LOW"));
         carriers.append(carrierAt(5900, 1000, 20, "A\tB", 1.35));
         carriers.append(carrierAt(6000, 1000, -999, "A\tB\tC"));
         carriers.append(carrierAt(6100, 500, 5, "\tB"));
         carriers.append(carrierAt(7000, 1000, 10, "HIGH"));
     },
     nullptr},
    {"empty_view_without_title",
     [](DisplaySettings& settings, CarrierList& carriers) {
         settings.viewStartMhz = 6000;
         settings.viewStopMhz = 6000;
         settings.titleText.clear();
         carriers.append(carrierAt(6000, 1000, 10, "C1"));
     },
     nullptr},
    // The marked carrier outlined, and the intermodulation layer: hit bars and a curve on the
    // carriers' scale (-33 to -10 dBW/kHz here), broken where a bin has no power, left out
    // where it lies on the axis and kept inside the plot.
    {"highlight_and_intermod",
     [](DisplaySettings& settings, CarrierList& carriers) {
         settings.viewStartMhz = 5990;
         settings.viewStopMhz = 6030;
         carriers.append(carrierAt(6000, 1000, 20, "A"));
         carriers.append(carrierAt(6010, 2000, 20, "B"));
     },
     [](PlotFrame& frame, const DisplaySettings& settings, const CarrierList& carriers) {
         IntermodOverlay overlay;
         overlay.hitBandsMhz = {{5999.375, 6000.625}, {6008.75, 6011.25}};
         overlay.density = {
             5990, 6030, {-40.0, std::nullopt, -25.0, -20.0, 30.0, -50.0, -60.0, -30.0}};
         drawIntermodOverlay(frame, settings, carriers, overlay);
         for (const int index : {-1, 1, 2}) // only a carrier of the plan is outlined
             drawCarrierHighlight(frame, settings, carriers, index);
     },
     1201, 901},
};

// The goldens were checked by hand where it counts: at 801 x 601 the title stands centred
// at (400, 42) and the axis title at (400, 576); the plot runs from column 60 to 762 with the
// axis on row 480; 6000 MHz of the 5850..6425 view is column 243, its number stands at
// (248, 485) and a one-line label at (249, 257). Carrier heights run from 20 dB below the
// lowest density (row 480) to the highest density (row 264): in the busy plan, 5900 MHz at
// -10 dBW/kHz stands on row 264 and 6100 MHz at -22 dBW/kHz, 20 dB into a 32 dB scale, on 345.
TEST(PlanPicture, EverySceneDrawsWhatItsGoldenFileHolds)
{
    for (const Scene& scene : scenes)
        test::expectGolden(painted(scene).log(), std::string("drawing/") + scene.name + ".txt");
}

TEST(CarrierHighlight, IsInAColourApartFromCarriersAndBackground)
{
    DisplaySettings settings;
    EXPECT_EQ(highlightColourFor(settings), rgbColour(0, 120, 215));
    settings.carrierColour = rgbColour(0, 100, 255);
    EXPECT_EQ(highlightColourFor(settings), rgbColour(255, 140, 0));
    settings.carrierColour = rgbColour(255, 0, 0);
    settings.backgroundColour = rgbColour(10, 120, 200);
    EXPECT_EQ(highlightColourFor(settings), rgbColour(255, 140, 0));
}

} // namespace
} // namespace orvane
