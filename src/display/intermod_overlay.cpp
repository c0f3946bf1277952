#include "display/intermod_overlay.h"

#include "display/plan_geometry.h"
#include "display/plot_frame.h"
#include "display/text_fit.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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
               Colour colour, int widthPx = curveWidthPx)
{
    const std::size_t binCount = density.binDbwPerKhz.size();
    if (binCount == 0)
        return;
    const double binWidthMhz = (density.highMhz - density.lowMhz) / static_cast<double>(binCount);
    frame.setColour(colour);
    const int previousWidth = frame.setPenWidth(widthPx);
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

struct LegendEntry {
    Colour colour;
    int penWidthPx;
    std::string text;
};

struct PixelBox {
    int left, top, right, bottom; // right and bottom excluded
    bool meets(const PixelBox& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Where a legend of these entries fits in a lower corner clear of the plan's texts, trying the
// right corner first, in the current font; none when neither is free.
std::optional<PixelBox> legendBox(PlotFrame& frame, const std::vector<LegendEntry>& entries,
                                  const std::vector<PlacedText>& texts)
{
    DrawingSurface& surface = frame.surface();
    const int line = frame.textHeight();
    int width = 0;
    for (const LegendEntry& entry : entries)
        width = std::max(width, surface.textWidth(entry.text));
    width += 3 * line;
    const int height = line * static_cast<int>(entries.size());
    const int margin = std::max(2, line);
    const int bottom = frame.pictureHeight() - margin;
    for (const int left : {frame.pictureWidth() - margin - width, margin}) {
        const PixelBox box{left, bottom - height, left + width, bottom};
        if (box.left < margin || box.top < margin)
            return std::nullopt;
        if (std::none_of(texts.begin(), texts.end(), [&box](const PlacedText& text) {
                return box.meets({text.left, text.top, text.right, text.bottom});
            }))
            return box;
    }
    return std::nullopt;
}

// Names the curves: a short stroke of each one's colour and its name, a line each.
void drawLegend(PlotFrame& frame, const DisplaySettings& settings, const CarrierList& carriers,
                const IntermodOverlay& overlay)
{
    const bool grey = overlay.outOfDate;
    std::vector<LegendEntry> entries{
        {grey ? intermodOutOfDateColour : amplifierOutputColour, 1, overlay.amplifierOutputName}};
    const auto& bins = overlay.density.binDbwPerKhz;
    if (std::any_of(bins.begin(), bins.end(), [](const auto& bin) { return bin.has_value(); }))
        entries.push_back({grey ? intermodOutOfDateColour : intermodCurveColour, curveWidthPx,
                           "Intermodulation density (IP3)"});
    if (!overlay.hitBandsMhz.empty())
        entries.push_back({grey ? intermodOutOfDateColour : intermodHitColour, hitBarWidthPx,
                           "Carriers hit by products"});

    const std::vector<PlacedText> texts = placePlanTexts(frame.surface(), frame.pictureWidth(),
                                                         frame.pictureHeight(), settings, carriers);
    frame.useFont(settings.frequencyFont);
    frame.setTextAngle(0);
    const double size = frame.textSize();
    std::optional<PixelBox> box;
    for (double share = 1.0; share >= 0.5 && !box; share -= 0.1) {
        frame.setTextSize(size * share);
        box = legendBox(frame, entries, texts);
    }
    if (!box)
        return;
    const int line = frame.textHeight();
    frame.setTextAlign(0, 1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int middle = box->top + line * static_cast<int>(i) + line / 2;
        frame.setColour(entries[i].colour);
        const int previousWidth = frame.setPenWidth(entries[i].penWidthPx);
        frame.moveToPixel(box->left, middle);
        frame.surface().lineTo(box->left + 2 * line, middle);
        frame.setPenWidth(previousWidth);
        frame.setColour(grey ? intermodOutOfDateColour : settings.axisColour);
        frame.moveToPixel(box->left + 3 * line, middle + frame.surface().textMetrics().ascent / 2);
        frame.drawText(entries[i].text);
    }
}

} // namespace

std::vector<std::pair<double, double>> hitBandsOf(const IntermodAnalysis& analysis,
                                                  const CarrierList& sortedPlan)
{
    std::vector<std::pair<double, double>> bandsMhz;
    for (const CarrierIntermod& carrier : analysis.carriers) {
        if (carrier.twoToneHits + carrier.threeToneHits == 0 || carrier.fNumber < 1 ||
            carrier.fNumber > sortedPlan.count())
            continue;
        const Carrier& hit = sortedPlan[carrier.fNumber - 1];
        bandsMhz.emplace_back(hit.lowerEdgeMhz(), hit.upperEdgeMhz());
    }
    return bandsMhz;
}

void drawIntermodOverlay(PlotFrame& frame, const DisplaySettings& settings,
                         const CarrierList& carriers, const IntermodOverlay& overlay)
{
    if (!frame.pictureDrawable())
        return;
    // The legend first, while the frame is still the whole picture.
    if (!overlay.amplifierOutput.binDbwPerKhz.empty())
        drawLegend(frame, settings, carriers, overlay);
    enterPlotWorld(frame, settings);
    if (!frame.worldUsable())
        return;
    drawHitBars(frame, overlay);
    drawCurve(frame, carriers, overlay.amplifierOutput,
              overlay.outOfDate ? intermodOutOfDateColour : amplifierOutputColour, 1);
    drawCurve(frame, carriers, overlay.density,
              overlay.outOfDate ? intermodOutOfDateColour : intermodCurveColour);
}

} // namespace orvane
