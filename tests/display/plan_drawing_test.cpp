#include "display/plan_drawing.h"
#include "display/plot_frame.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Fonts on the recording surface at a client width of 801: the frequency face (-9) has a
// cell of 11, so numbers stand 5 pixels off their column; at size 0.7 (-11) its cell is 13,
// so one-line labels stand 6 pixels right of their column; the label font (-11) steps 13
// pixels per line and the title font (-24) 30 pixels per line.
constexpr int numberOffset = 5;
constexpr int labelOffset = 6;
constexpr int labelLineStep = 13;
constexpr int titleLineStep = 30;

constexpr Colour black = rgbColour(0, 0, 0);
constexpr Colour red = rgbColour(255, 0, 0);

Carrier carrierAt(double centreMhz, double symbolRateKsps, double powerDbw,
                  const std::string& label = "")
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, 1.25);
    carrier.label = label;
    return carrier;
}

class PlanDrawing : public ::testing::Test {
protected:
    void draw(int clientWidth = 801, int clientHeight = 601)
    {
        surface = RecordingSurface();
        PlotFrame frame(surface, clientWidth, clientHeight);
        const PixelRect clientRect{0, 0, clientWidth, clientHeight};
        settings.keepFontsForClient(frame, clientRect);
        surface.clearCalls();
        drawPlan(frame, clientRect, settings, carriers);
        finalPenWidth = frame.penWidth();
    }

    std::vector<SurfaceCall> textsReading(const std::string& text) const
    {
        std::vector<SurfaceCall> found;
        for (const SurfaceCall& call : surface.callsOf(SurfaceCallKind::text)) {
            if (call.text == text)
                found.push_back(call);
        }
        return found;
    }

    SurfaceCall onlyText(const std::string& text) const
    {
        const std::vector<SurfaceCall> found = textsReading(text);
        EXPECT_EQ(found.size(), 1u) << text;
        return found.empty() ? SurfaceCall() : found.front();
    }

    // The lines a pen of that colour and width drew, without the one-pixel end steps.
    std::vector<SurfaceCall> strokes(Colour colour, int penWidth) const
    {
        std::vector<SurfaceCall> found;
        for (const SurfaceCall& line : surface.callsOf(SurfaceCallKind::line)) {
            const bool endStep = line.x2 == line.x1 - 1 && line.y2 == line.y1;
            if (line.colour == colour && line.penWidth == penWidth && !endStep)
                found.push_back(line);
        }
        return found;
    }

    // The row of each carrier's flat top, in drawing order.
    std::vector<int> carrierTopRows() const
    {
        std::vector<int> rows;
        for (const SurfaceCall& line : strokes(settings.carrierColour, 2)) {
            if (line.y1 == line.y2)
                rows.push_back(line.y1);
        }
        return rows;
    }

    std::size_t indexOfFirst(SurfaceCallKind kind, const std::string& text = "") const
    {
        const std::vector<SurfaceCall>& calls = surface.calls();
        for (std::size_t index = 0; index < calls.size(); ++index) {
            if (calls[index].kind == kind && (text.empty() || calls[index].text == text))
                return index;
        }
        return calls.size();
    }

    DisplaySettings settings;
    CarrierList carriers;
    RecordingSurface surface;
    int finalPenWidth = 0;
};

static void expectAt(const SurfaceCall& call, int x, int y)
{
    EXPECT_EQ(call.x1, x) << call.text;
    EXPECT_EQ(call.y1, y) << call.text;
}

TEST_F(PlanDrawing, LayoutOfAn801By601ClientArea)
{
    carriers.append(carrierAt(6000, 20000, 10, "C1"));
    draw();

    const std::vector<SurfaceCall>& calls = surface.calls();
    const std::size_t firstFill = indexOfFirst(SurfaceCallKind::fill);
    ASSERT_LT(firstFill, calls.size());
    EXPECT_EQ(std::vector<int>({calls[firstFill].x1, calls[firstFill].y1, calls[firstFill].x2,
                                calls[firstFill].y2}),
              std::vector<int>({0, 0, 801, 601}));
    EXPECT_EQ(calls[firstFill].colour, rgbColour(255, 255, 255));
    EXPECT_TRUE(surface.transparentBackground());
    EXPECT_LT(firstFill, indexOfFirst(SurfaceCallKind::line));

    const SurfaceCall title = onlyText("Transponder Frequency Plan");
    expectAt(title, 400, 42);
    EXPECT_EQ(title.horizontal, HorizontalAlign::centre);
    EXPECT_EQ(title.vertical, VerticalAlign::bottom);
    EXPECT_EQ(title.font, settings.titleFont);

    const SurfaceCall axisTitle = onlyText("Frequency (MHz)");
    expectAt(axisTitle, 400, 576);
    EXPECT_EQ(axisTitle.font, settings.axisFont);
    EXPECT_EQ(axisTitle.vertical, VerticalAlign::bottom);

    const SurfaceCall start = onlyText("5850.0000");
    expectAt(start, 60 + numberOffset, 480 + numberOffset);
    EXPECT_EQ(start.horizontal, HorizontalAlign::right);
    EXPECT_EQ(start.vertical, VerticalAlign::baseline);
    EXPECT_EQ(start.font.escapement, 900);
    EXPECT_EQ(start.font.height, settings.frequencyFont.height);
    expectAt(onlyText("6425.0000"), 762 + numberOffset, 480 + numberOffset);
    expectAt(onlyText("6000.0000"), 243 + numberOffset, 480 + numberOffset);

    const SurfaceCall label = onlyText("C1");
    expectAt(label, 243 + labelOffset, 257);
    EXPECT_EQ(label.horizontal, HorizontalAlign::left);
    EXPECT_EQ(label.vertical, VerticalAlign::baseline);
    EXPECT_EQ(label.font.escapement, 900);
    EXPECT_EQ(label.font.weight, 700);
    EXPECT_FALSE(label.clipped);

    // A trapezoid open at the bottom: band edges on the axis, symbol-rate edges at level 60.
    const std::vector<SurfaceCall> shape = strokes(red, 2);
    ASSERT_EQ(shape.size(), 3u);
    EXPECT_EQ(std::vector<int>({shape[0].x1, shape[0].y1, shape[0].x2, shape[0].y2}),
              std::vector<int>({228, 480, 231, 264}));
    EXPECT_EQ(std::vector<int>({shape[1].x2, shape[1].y2}), std::vector<int>({255, 264}));
    EXPECT_EQ(std::vector<int>({shape[2].x2, shape[2].y2}), std::vector<int>({258, 480}));

    const std::vector<SurfaceCall> axis = strokes(black, 2);
    ASSERT_EQ(axis.size(), 3u);
    EXPECT_EQ(std::vector<int>({axis[0].x1, axis[0].y1, axis[0].x2, axis[0].y2}),
              std::vector<int>({60, 444, 60, 480}));
    EXPECT_EQ(std::vector<int>({axis[1].x2, axis[1].y2}), std::vector<int>({762, 480}));
    EXPECT_EQ(std::vector<int>({axis[2].x2, axis[2].y2}), std::vector<int>({762, 444}));
    EXPECT_EQ(finalPenWidth, 1);
}

TEST_F(PlanDrawing, EachElementTakesItsColour)
{
    settings.titleColour = rgbColour(1, 0, 0);
    settings.axisColour = rgbColour(2, 0, 0);
    settings.carrierColour = rgbColour(3, 0, 0);
    settings.labelColour = rgbColour(4, 0, 0);
    carriers.append(carrierAt(6000, 20000, 10, "C1"));
    draw();
    EXPECT_EQ(onlyText("Transponder Frequency Plan").colour, settings.titleColour);
    EXPECT_EQ(onlyText("Frequency (MHz)").colour, settings.titleColour);
    EXPECT_EQ(onlyText("6000.0000").colour, settings.axisColour);
    EXPECT_EQ(onlyText("C1").colour, settings.labelColour);
    EXPECT_EQ(strokes(settings.carrierColour, 2).size(), 3u);
    EXPECT_EQ(strokes(settings.axisColour, 2).size(), 3u);
}

struct LevelCase {
    std::vector<double> densitiesDbw; // -999: a carrier without a power level
    std::vector<int> topRows;
};

class PlanLevels : public PlanDrawing, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(PlanLevels, HeightsCompareTheCarriersWithOneAnother)
{
    double centreMhz = 5900;
    for (const double density : GetParam().densitiesDbw) {
        // 1000 kSps: the density is the power less 30 dB.
        carriers.append(carrierAt(centreMhz, 1000, density <= -999 ? -999 : density + 30));
        centreMhz += 100;
    }
    draw();
    EXPECT_EQ(carrierTopRows(), GetParam().topRows);
}

// Level 60 is row 264, 50 row 300, 40 row 336, 20 row 408 (3.6 rows per level from row 480).
INSTANTIATE_TEST_SUITE_P(Densities, PlanLevels,
                         ::testing::Values(LevelCase{{30, 25}, {264, 300}},
                                           LevelCase{{-999, -30, -40}, {264, 264, 336}},
                                           LevelCase{{50, 10}, {264, 408}}));

TEST_F(PlanDrawing, TitleLinesFollowOneTextHeightApart)
{
    settings.titleText = "Line one\t\tLine three";
    draw();
    expectAt(onlyText("Line one"), 400, 42);
    expectAt(onlyText("Line three"), 400, 42 + 2 * titleLineStep);
    EXPECT_TRUE(textsReading("").empty());

    settings.titleText.clear();
    draw();
    EXPECT_EQ(surface.callsOf(SurfaceCallKind::text).front().text, "Frequency (MHz)");
}

struct LabelCase {
    std::string label;
    std::vector<std::string> lines;
    int firstColumn;
};

class PlanLabels : public PlanDrawing, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(PlanLabels, LinesStandSideBySideAroundTheCentre)
{
    carriers.append(carrierAt(6000, 1000, 10, GetParam().label));
    draw();
    int column = GetParam().firstColumn;
    for (const std::string& line : GetParam().lines) {
        if (!line.empty())
            expectAt(onlyText(line), column, 257);
        column += labelLineStep;
    }
}

INSTANTIATE_TEST_SUITE_P(Labels, PlanLabels,
                         ::testing::Values(LabelCase{"A", {"A"}, 243 + labelOffset},
                                           LabelCase{"A\tB", {"A", "B"}, 243},
                                           LabelCase{"A\tB\tC", {"A", "B", "C"}, 243 - labelOffset},
                                           LabelCase{"\tB", {"", "B"}, 243}));

TEST_F(PlanDrawing, CarriersOutsideTheViewAreDrawnWhereTheyMapUnclipped)
{
    carriers.append(carrierAt(5800, 1000, 10, "LOW"));
    carriers.append(carrierAt(7000, 1000, 10, "HIGH"));
    draw();
    // 5800 MHz maps to column -1 (61 pixels left of the axis start), 7000 MHz to 1464.
    const SurfaceCall low = onlyText("5800.0000");
    expectAt(low, -1 + numberOffset, 485);
    EXPECT_FALSE(low.clipped);
    expectAt(onlyText("LOW"), -1 + labelOffset, 257);
    expectAt(onlyText("7000.0000"), 1464 + numberOffset, 485);
    const SurfaceCall high = onlyText("HIGH");
    expectAt(high, 1464 + labelOffset, 257);
    EXPECT_FALSE(high.clipped);
    for (const SurfaceCall& line : strokes(red, 2))
        EXPECT_FALSE(line.clipped);
    EXPECT_EQ(carrierTopRows(), std::vector<int>({264, 264}));
}

TEST_F(PlanDrawing, EdgeLabelsAddTheBandEdgesUnderTheAxis)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(6000, 1000, 10, 1.35);
    carriers.append(carrier);
    draw();
    EXPECT_TRUE(textsReading("6000.6750").empty());

    settings.labelEdges = true;
    draw();
    const SurfaceCall lower = onlyText("5999.3250");
    const SurfaceCall upper = onlyText("6000.6750");
    EXPECT_EQ(lower.y1, 485);
    EXPECT_EQ(upper.y1, 485);
    EXPECT_LT(lower.x1, upper.x1);
    EXPECT_EQ(lower.font.escapement, 900);
}

TEST_F(PlanDrawing, EqualStartAndStopDrawsThePictureWithoutThePlot)
{
    settings.viewStartMhz = 6000;
    settings.viewStopMhz = 6000;
    carriers.append(carrierAt(6000, 1000, 10, "C1"));
    draw();
    EXPECT_EQ(strokes(black, 1).size(), 4u); // border
    EXPECT_EQ(textsReading("Transponder Frequency Plan").size(), 1u);
    EXPECT_EQ(textsReading("Frequency (MHz)").size(), 1u);
    EXPECT_TRUE(textsReading("6000.0000").empty());
    EXPECT_TRUE(textsReading("C1").empty());
    EXPECT_TRUE(strokes(black, 2).empty());
    EXPECT_TRUE(strokes(red, 2).empty());
}

} // namespace
} // namespace orvane
