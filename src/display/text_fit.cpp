#include "display/text_fit.h"

#include "display/drawing_surface.h"
#include "display/plan_drawing.h"
#include "display/plot_frame.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {

namespace {

constexpr double shrinkStep = 0.97;
constexpr double smallestShare = 0.2;
constexpr int mostRounds = 12;

// Takes the texts drawPlan draws and notes the cell of each, as the painter surface would
// place it: aligned about the current point, turned counter-clockwise by the escapement.
// Fonts and their measures come from the surface that measures; nothing is drawn.
class PlacingSurface : public DrawingSurface {
public:
    explicit PlacingSurface(DrawingSurface& measure) : measure_(measure) {}

    PlacedText::Kind kind = PlacedText::Kind::title;
    std::vector<PlacedText> placed;

    void fillRect(int, int, int, int, Colour) override {}
    void setOrigin(int deviceX, int deviceY) override
    {
        originX_ = deviceX;
        originY_ = deviceY;
    }
    void setClipRect(int, int, int, int) override {}
    void removeClip() override {}
    void setPen(int, Colour) override {}
    bool selectFont(const FontDescription& description) override
    {
        return measure_.selectFont(description);
    }
    FontDescription currentFont() const override { return measure_.currentFont(); }
    TextMetrics textMetrics() const override { return measure_.textMetrics(); }
    int textWidth(const std::string& text) override { return measure_.textWidth(text); }
    void moveTo(int x, int y) override
    {
        currentX_ = x;
        currentY_ = y;
    }
    void lineTo(int x, int y) override { moveTo(x, y); }
    void setTextColour(Colour) override {}
    void setTransparentBackground() override {}
    void setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical) override
    {
        horizontal_ = horizontal;
        vertical_ = vertical;
    }
    void drawText(const std::string& text) override
    {
        const int width = textWidth(text);
        const TextMetrics metrics = textMetrics();
        const TextPlacement placement =
            placeText(width, metrics, horizontal_, vertical_, currentFont().escapement);
        const int offsetX = placement.offsetX;
        const int offsetY = placement.offsetY;
        const double cosine = std::cos(placement.angle);
        const double sine = std::sin(placement.angle);
        // The cell about the current point, turned as the painter turns it (y grows down).
        const std::array<double, 2> xs{double(offsetX), double(offsetX + width)};
        const std::array<double, 2> ys{double(offsetY - metrics.ascent),
                                       double(offsetY + metrics.descent)};
        double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
        for (const double x : xs)
            for (const double y : ys) {
                const double turnedX = x * cosine + y * sine;
                const double turnedY = -x * sine + y * cosine;
                left = std::min(left, turnedX);
                right = std::max(right, turnedX);
                top = std::min(top, turnedY);
                bottom = std::max(bottom, turnedY);
            }
        PlacedText text_;
        text_.kind = kind == PlacedText::Kind::label && horizontal_ == HorizontalAlign::right
                         ? PlacedText::Kind::frequency
                         : kind;
        const int anchorX = currentX_ + originX_;
        const int anchorY = currentY_ + originY_;
        text_.left = anchorX + static_cast<int>(std::lround(left));
        text_.right = anchorX + static_cast<int>(std::lround(right));
        text_.top = anchorY + static_cast<int>(std::lround(top));
        text_.bottom = anchorY + static_cast<int>(std::lround(bottom));
        placed.push_back(text_);

        currentX_ += placement.advanceX;
        currentY_ += placement.advanceY;
    }

private:
    DrawingSurface& measure_;
    int originX_ = 0;
    int originY_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
    HorizontalAlign horizontal_ = HorizontalAlign::left;
    VerticalAlign vertical_ = VerticalAlign::top;
};

bool acrossFrom(const PlacedText& a, const PlacedText& b)
{
    return a.left < b.right && b.left < a.right;
}

FontDescription scaled(FontDescription font, double share)
{
    const double height = std::fabs(static_cast<double>(font.height)) * share;
    font.height = -std::max(1, static_cast<int>(std::lround(height)));
    return font;
}

} // namespace

std::vector<PlacedText> placePlanTexts(DrawingSurface& measure, int width, int height,
                                       const DisplaySettings& settings, const CarrierList& carriers)
{
    PlacingSurface placing(measure);
    PlotFrame frame(placing, width, height);
    if (!frame.pictureDrawable())
        return {};
    // As drawPlan sets the frame up for its parts.
    const auto pictureWorld = [&frame] {
        frame.reset();
        frame.setWorld(0.0, 100.0, 0.0, 100.0);
    };
    pictureWorld();
    placing.kind = PlacedText::Kind::title;
    drawPlanTitle(frame, settings);
    placing.kind = PlacedText::Kind::axisTitle;
    drawPlanAxisTitle(frame, settings);
    placing.kind = PlacedText::Kind::label;
    drawPlanPlot(frame, settings, carriers);
    return placing.placed;
}

DisplaySettings fitTextsToPicture(DrawingSurface& measure, int width, int height,
                                  const DisplaySettings& settings, const CarrierList& carriers)
{
    // The share of its size each font keeps: title, label, and the axis title with the
    // frequencies, which crowd each other under the axis. Each round measures how far the
    // crowded texts overshoot the room they have and shrinks their font by that much.
    double titleShare = 1.0;
    double labelShare = 1.0;
    double bottomShare = 1.0;
    DisplaySettings fitted = settings;
    for (int round = 0; round < mostRounds; ++round) {
        const std::vector<PlacedText> texts =
            placePlanTexts(measure, width, height, fitted, carriers);
        // The room a text has over its extent (1: it fits), for each font.
        double titleRoom = 1.0;
        double labelRoom = 1.0;
        double bottomRoom = 1.0;
        const auto room = [](double& least, int has, int needs) {
            if (needs > 0 && needs > has)
                least = std::min(least, std::max(0.0, static_cast<double>(has)) / needs);
        };
        for (const PlacedText& text : texts) {
            const int across = text.right - text.left;
            const int high = text.bottom - text.top;
            switch (text.kind) {
            case PlacedText::Kind::title: // stands on its line, centred
                room(titleRoom, text.bottom - 1, high);
                room(titleRoom, width, across);
                break;
            case PlacedText::Kind::label: { // rises from the carrier
                int ceiling = 1;
                for (const PlacedText& title : texts)
                    if (title.kind == PlacedText::Kind::title && acrossFrom(text, title))
                        ceiling = std::max(ceiling, title.bottom);
                room(labelRoom, text.bottom - ceiling, high);
                break;
            }
            case PlacedText::Kind::frequency: // hangs from the axis, over the axis title
                room(bottomRoom, height - 1 - text.top, high);
                for (const PlacedText& axis : texts)
                    if (axis.kind == PlacedText::Kind::axisTitle && acrossFrom(text, axis))
                        room(bottomRoom, axis.bottom - text.top, high + axis.bottom - axis.top);
                break;
            case PlacedText::Kind::axisTitle: // stands on its line
                room(bottomRoom, height - 1 - text.top, high);
                break;
            }
        }
        const auto shrink = [](double roomLeft, double& share) {
            if (roomLeft >= 1.0 || share <= smallestShare)
                return false;
            // Whole pixels round the sizes: a little less than the room, at least a step.
            share = std::max(smallestShare, share * std::min(roomLeft * 0.98, shrinkStep));
            return true;
        };
        const bool titleShrank = shrink(titleRoom, titleShare);
        const bool labelShrank = shrink(labelRoom, labelShare);
        const bool bottomShrank = shrink(bottomRoom, bottomShare);
        if (!titleShrank && !labelShrank && !bottomShrank)
            break;
        fitted.titleFont = scaled(settings.titleFont, titleShare);
        fitted.labelFont = scaled(settings.labelFont, labelShare);
        fitted.axisFont = scaled(settings.axisFont, bottomShare);
        fitted.frequencyFont = scaled(settings.frequencyFont, bottomShare);
    }
    return fitted;
}

} // namespace orvane
