#include "display/carrier_highlight.h"
#include "display/carrier_hit_test.h"
#include "display/carrier_summary.h"
#include "display/intermod_overlay.h"
#include "display/plan_drawing.h"
#include "display/plot_frame.h"
#include "support/recording_surface.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
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
         for (const int index : {-1, 0, 2}) // only a carrier of the plan is outlined
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
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
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
        test::expectGolden(surface.log(), std::string("drawing/") + scene.name + ".txt");
    }
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

// At 801 x 601 with the view 5850 to 6425 MHz, 6000 MHz is column 243 and a megahertz is 1.22
// columns: the wide carrier (20 MHz) spans columns 231 to 255, the one drawn over it (2 MHz)
// 242 to 244, and the narrow ones (0.1 MHz) stand on columns 365 and 369. Carriers without a
// power level all stand at level 60, on row 264.
CarrierList overlappingPlan()
{
    CarrierList carriers;
    carriers.append(carrierAt(6000.0, 16000, -999)); // 0: wide
    carriers.append(carrierAt(6000.0, 1600, -999));  // 1: drawn over the middle of 0
    carriers.append(carrierAt(6100.0, 80, -999));    // 2: under one pixel wide
    carriers.append(carrierAt(6103.3, 80, -999));    // 3
    return carriers;
}

TEST(CarrierHit, FindsTheCarrierDrawnThere)
{
    const std::tuple<int, int, std::optional<int>> hits[] = {
        {243, 400, 1},            // an overlap goes to the last drawn
        {235, 400, 0},            // beside the overlap is the wide one
        {229, 400, 0},            // just beside the wide one's slanted side
        {229, 270, std::nullopt}, // beside it near the top, where the side has come in
        {243, 262, std::nullopt}, // above the top
        {243, 483, std::nullopt}, // below the axis
        {363, 300, 2},            // beside a narrow one
        {361, 300, std::nullopt}, // too far beside it
        {366, 300, 2},            // the nearest of two narrow ones
        {367, 300, 3}};           // equally near goes to the last drawn
    DisplaySettings settings;
    for (const auto& [x, y, carrier] : hits)
        EXPECT_EQ(carrierAtPixel(overlappingPlan(), settings, 801, 601, x, y), carrier) << x;
    std::swap(settings.viewStartMhz, settings.viewStopMhz);
    EXPECT_EQ(carrierAtPixel(overlappingPlan(), settings, 801, 601, 579, 400), 1);
    settings.viewStopMhz = settings.viewStartMhz;
    EXPECT_EQ(carrierAtPixel(overlappingPlan(), settings, 801, 601, 243, 400), std::nullopt);
}

TEST(CarrierHitGeometry, EveryPixelOfTheDrawnShapeFindsItsCarrier)
{
    CarrierList carriers;
    carriers.append(carrierAt(6200.0, 24000, -999));
    DisplaySettings settings;
    RecordingSurface surface;
    PlotFrame frame(surface, 801, 601);
    drawPlan(frame, {0, 0, 801, 601}, settings, carriers);
    // The carrier's lines are the log's red ones: "line x1,y1 x2,y2 1px #ff0000".
    std::istringstream log(surface.log());
    int lines = 0;
    for (std::string line; std::getline(log, line);) {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (line.find("#ff0000") == std::string::npos ||
            std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2) != 4)
            continue;
        ++lines;
        EXPECT_EQ(carrierAtPixel(carriers, settings, 801, 601, x1, y1), 0) << line;
        EXPECT_EQ(carrierAtPixel(carriers, settings, 801, 601, x2, y2), 0) << line;
        EXPECT_EQ(carrierAtPixel(carriers, settings, 801, 601, x2, 263), std::nullopt) << line;
    }
    EXPECT_EQ(lines, 6);
}

TEST(CarrierSummary, NamesWhatTheCarrierHas)
{
    Carrier fec;
    fec.setFecFromDataRate(5975.2, 2048.0, 0.0, 4, 0.75, 1.085106, 1.0, 8.0, 1.2);
    fec.label = "IDR\t2048k";
    Carrier plain;
    plain.setFixedBandwidth(5969.5, 7.2, -999.0, 1.25);
    Carrier faint; // a power whose density is exactly the no-level value: no density shown
    faint.setFixedBandwidth(6000.0, 1.25, -969.0, 1.25);
    test::expectGolden(carrierSummary(fec) + "\n\n" + carrierSummary(plain) + "\n\n" +
                           carrierSummary(faint),
                       "drawing/carrier_summaries.txt");
}

} // namespace
} // namespace orvane
