#include "display/carrier_hit_test.h"
#include "display/carrier_summary.h"
#include "display/plan_drawing.h"
#include "display/plot_frame.h"
#include "support/recording_surface.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace orvane {
namespace {

// Carriers without a power level all stand at level 60 (row 264 at 801 x 601).
Carrier carrierOfWidth(double centreMhz, double bandwidthMhz)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, -999.0, 1.25);
    return carrier;
}

// At 801 x 601 with the view 5850 to 6425 MHz, 6000 MHz is column 243 and a megahertz is 1.22
// columns: the wide carrier spans columns 231 to 255, the one drawn over it 242 to 244, and the
// narrow ones stand on columns 365 and 369.
CarrierList overlappingPlan()
{
    CarrierList carriers;
    carriers.append(carrierOfWidth(6000.0, 20.0)); // 0: wide
    carriers.append(carrierOfWidth(6000.0, 2.0));  // 1: drawn over the middle of 0
    carriers.append(carrierOfWidth(6100.0, 0.1));  // 2: under one pixel wide
    carriers.append(carrierOfWidth(6103.3, 0.1));  // 3
    return carriers;
}

TEST(CarrierHit, FindsTheCarrierDrawnThere)
{
    const std::tuple<int, int, std::optional<int>> hits[] = {
        {243, 400, 1},            // an overlap goes to the last drawn
        {235, 400, 0},            // beside the overlap is the wide one
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
    carriers.append(carrierOfWidth(6200.0, 30.0));
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
    test::expectGolden(carrierSummary(fec) + "\n\n" + carrierSummary(carrierOfWidth(5969.5, 7.2)),
                       "drawing/carrier_summaries.txt");
}

} // namespace
} // namespace orvane
