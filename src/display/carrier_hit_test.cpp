#include "display/carrier_hit_test.h"

#include "display/drawing_surface.h"
#include "display/plan_geometry.h"
#include "display/plot_frame.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// The frame only needs a surface for its mapping: nothing is drawn.
class GeometryOnlySurface : public DrawingSurface {
public:
    void fillRect(int, int, int, int, Colour) override {}
    void setOrigin(int, int) override {}
    void setClipRect(int, int, int, int) override {}
    void removeClip() override {}
    void setPen(int, Colour) override {}
    bool selectFont(const FontDescription& description) override
    {
        font_ = description;
        return true;
    }
    FontDescription currentFont() const override { return font_; }
    TextMetrics textMetrics() const override { return {}; }
    int textWidth(const std::string&) override { return 0; }
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void setTextColour(Colour) override {}
    void setTransparentBackground() override {}
    void setTextAlign(HorizontalAlign, VerticalAlign) override {}
    void drawText(const std::string&) override {}

private:
    FontDescription font_;
};

// How far a pixel lies across from a carrier's shape (0 inside it); none above or below it.
std::optional<double> distanceAcross(PlotFrame& frame, const CarrierList& carriers,
                                     const Carrier& carrier, int x, int y)
{
    const int baseY = frame.toPixelY(0.0);
    const int topY = frame.toPixelY(carrierTopLevel(carriers, carrier));
    if (y < std::min(topY, baseY) || y > std::max(topY, baseY))
        return std::nullopt;
    // How far up the shape the row lies: 0 at the axis, 1 at the flat top.
    const double up = baseY == topY ? 1.0 : static_cast<double>(baseY - y) / (baseY - topY);
    const auto across = [up](int foot, int shoulder) { return foot + (shoulder - foot) * up; };
    const double lowSide = across(frame.toPixelX(carrier.lowerEdgeMhz()),
                                  frame.toPixelX(carrier.lowerSymbolEdgeMhz()));
    const double highSide = across(frame.toPixelX(carrier.upperEdgeMhz()),
                                   frame.toPixelX(carrier.upperSymbolEdgeMhz()));
    // A view running downward draws the plan mirrored.
    const double left = std::min(lowSide, highSide);
    const double right = std::max(lowSide, highSide);
    return std::max({0.0, left - x, x - right});
}

} // namespace

std::optional<int> carrierAtPixel(const CarrierList& carriers, const DisplaySettings& settings,
                                  int clientWidth, int clientHeight, int x, int y)
{
    GeometryOnlySurface surface;
    PlotFrame frame(surface, clientWidth, clientHeight);
    if (!frame.pictureDrawable())
        return std::nullopt;
    enterPlotWorld(frame, settings);
    if (!frame.worldUsable())
        return std::nullopt;
    const int frameX = x - frame.frameLeft();
    const int frameY = y - frame.frameTop();

    std::optional<int> nearest;
    double nearestDistance = carrierHitTolerancePx;
    for (int index = carriers.count() - 1; index >= 0; --index) {
        const std::optional<double> distance =
            distanceAcross(frame, carriers, carriers[index], frameX, frameY);
        if (!distance)
            continue;
        if (*distance == 0.0)
            return index;
        if (*distance < nearestDistance || (!nearest && *distance <= nearestDistance)) {
            nearest = index;
            nearestDistance = *distance;
        }
    }
    return nearest;
}

} // namespace orvane
