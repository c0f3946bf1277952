#include "display/plan_drawing.h"

#include "display/plan_geometry.h"
#include "display/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr int alignLeft = 0;
constexpr int alignCentre = 1;
constexpr int alignRight = 2;
constexpr int alignBottom = 0;
constexpr int alignBaseline = 1;
constexpr int upwardAngle = 900;

constexpr double labelLevel = 62.0;
constexpr double axisTickLevel = 10.0;
// The carrier label block is centred with half the height of the number face at this size.
constexpr double labelOffsetSize = 0.7;

std::vector<std::string> splitAtTabs(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (true) {
        const std::string::size_type tab = text.find('\t', start);
        if (tab == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, tab - start));
        start = tab + 1;
    }
}

// Lines of a multi-line text placed one step apart from (x, y); empty lines keep their place.
void drawLines(PlotFrame& frame, const std::vector<std::string>& lines, int x, int y, int stepX,
               int stepY)
{
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (lines[index].empty())
            continue;
        const long long offset = static_cast<long long>(index);
        frame.moveToPixel(
            static_cast<int>(std::clamp(x + offset * stepX, -(1LL << 30), 1LL << 30)),
            static_cast<int>(std::clamp(y + offset * stepY, -(1LL << 30), 1LL << 30)));
        frame.drawText(lines[index]);
    }
}

} // namespace

void drawPlanTitle(PlotFrame& frame, const DisplaySettings& settings)
{
    if (settings.titleText.empty())
        return;
    frame.useFont(settings.titleFont);
    frame.setTextAlign(alignCentre, alignBottom);
    frame.setColour(settings.titleColour);
    const int x = frame.toPixelX(50.0);
    const int y = frame.toPixelY(93.0);
    drawLines(frame, splitAtTabs(settings.titleText), x, y, 0, frame.textHeight());
}

void drawPlanAxisTitle(PlotFrame& frame, const DisplaySettings& settings)
{
    frame.moveTo(50.0, 4.0);
    frame.setColour(settings.titleColour);
    frame.useFont(settings.axisFont);
    frame.setTextAlign(alignCentre, alignBottom);
    frame.drawText(frequencyAxisTitle);
}

namespace {

void drawCarrierShape(PlotFrame& frame, const Carrier& carrier, double height)
{
    const int previousWidth = frame.setPenWidth(2);
    frame.moveTo(carrier.lowerEdgeMhz(), 0.0);
    frame.lineTo(carrier.lowerSymbolEdgeMhz(), height);
    frame.lineTo(carrier.upperSymbolEdgeMhz(), height);
    frame.lineTo(carrier.upperEdgeMhz(), 0.0);
    frame.setPenWidth(previousWidth);
}

void drawCarrierLabel(PlotFrame& frame, const DisplaySettings& settings, const Carrier& carrier,
                      int halfHeight)
{
    frame.setTextAlign(alignLeft, alignBaseline);
    frame.setColour(settings.labelColour);
    frame.useFont(settings.labelFont);
    frame.setTextAngle(upwardAngle);
    const std::vector<std::string> lines = splitAtTabs(carrier.label);
    const long long tabCount = static_cast<long long>(lines.size()) - 1;
    const long long firstX =
        frame.toPixelX(carrier.centreFrequencyMhz) + (1 - tabCount) * halfHeight;
    drawLines(frame, lines, static_cast<int>(std::clamp(firstX, -(1LL << 30), 1LL << 30)),
              frame.toPixelY(labelLevel), frame.textHeight(), 0);
}

void drawCarrier(PlotFrame& frame, const DisplaySettings& settings, const CarrierList& carriers,
                 const Carrier& carrier, int halfHeight)
{
    frame.setColour(settings.axisColour);
    frame.useFont(settings.frequencyFont);
    drawFrequencyLabel(frame, carrier.centreFrequencyMhz);
    if (settings.labelEdges) {
        drawFrequencyLabel(frame, carrier.lowerEdgeMhz());
        drawFrequencyLabel(frame, carrier.upperEdgeMhz());
    }

    frame.setColour(settings.carrierColour);
    drawCarrierShape(frame, carrier, carrierTopLevel(carriers, carrier));

    drawCarrierLabel(frame, settings, carrier, halfHeight);
}

void drawAxis(PlotFrame& frame, const DisplaySettings& settings)
{
    frame.setColour(settings.axisColour);
    const int previousWidth = frame.setPenWidth(2);
    frame.moveTo(settings.viewStartMhz, axisTickLevel);
    frame.lineTo(settings.viewStartMhz, 0.0);
    frame.lineTo(settings.viewStopMhz, 0.0);
    frame.lineTo(settings.viewStopMhz, axisTickLevel);
    frame.setPenWidth(previousWidth);
}

} // namespace

void drawPlanPlot(PlotFrame& frame, const DisplaySettings& settings, const CarrierList& carriers)
{
    enterPlotWorld(frame, settings);
    frame.setTextAlign(alignLeft, alignBottom);
    frame.clipOff();
    if (!frame.worldUsable())
        return;

    frame.setColour(settings.axisColour);
    frame.useFont(settings.frequencyFont);
    drawFrequencyLabel(frame, settings.viewStartMhz);
    drawFrequencyLabel(frame, settings.viewStopMhz);

    frame.setTextSize(labelOffsetSize);
    const int halfHeight = frame.textHeight() / 2;

    for (const Carrier& carrier : carriers)
        drawCarrier(frame, settings, carriers, carrier, halfHeight);

    drawAxis(frame, settings);
}

void drawFrequencyLabel(PlotFrame& frame, double frequencyMhz)
{
    frame.setTextAngle(upwardAngle);
    frame.setTextAlign(alignRight, alignBaseline);
    const int offset = frame.textHeight() / 2;
    frame.moveToPixel(frame.toPixelX(frequencyMhz) + offset, frame.toPixelY(0.0) + offset);
    frame.drawNumber(frequencyMhz, 9, 4);
}

void drawPlan(PlotFrame& frame, const PixelRect& clientRect, const DisplaySettings& settings,
              const CarrierList& carriers)
{
    frame.surface().setTransparentBackground();
    frame.fillPicture(clientRect.left, clientRect.top, clientRect.right, clientRect.bottom,
                      settings.backgroundColour);
    if (!frame.pictureDrawable())
        return;

    frame.setColour(rgbColour(0, 0, 0));
    frame.reset();
    frame.setWorld(0.0, 100.0, 0.0, 100.0);
    frame.drawBox();
    frame.clipOn();

    drawPlanTitle(frame, settings);
    drawPlanAxisTitle(frame, settings);
    drawPlanPlot(frame, settings, carriers);
}

} // namespace orvane
