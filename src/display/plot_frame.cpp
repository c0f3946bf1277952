#include "display/plot_frame.h"

#include "model/number_text.h"
#include "model/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane {

namespace {

constexpr double resetWorldWidth = 100.0 * 4.0 / 3.0;
constexpr double resetWorldHeight = 100.0;
constexpr int regularWeight = 400;
constexpr int boldWeight = 700;
constexpr int upwardAngle = 900;

// Pixel positions stay well inside the int range, so that adding the origin or stepping one
// pixel aside can never overflow, whatever a far-off world value maps to.
constexpr int pixelLimit = 1 << 28;
// No font is ever taller than this; a larger relative size is a mistake, not a request.
constexpr double characterHeightLimit = 100000.0;

int clampPixel(int pixel)
{
    return std::clamp(pixel, -pixelLimit, pixelLimit);
}

} // namespace

PlotFrame::PlotFrame(DrawingSurface& surface, int clientWidth, int clientHeight)
    : surface_(surface), pictureWidth_(std::max(clientWidth, 1) - 1),
      pictureHeight_(std::max(clientHeight, 1) - 1)
{
    surface_.setOrigin(0, 0);
    surface_.removeClip();
    colour_ = rgbColour(0, 0, 0);
    penWidth_ = 1;
    surface_.setPen(penWidth_, colour_);
    surface_.setTextColour(colour_);
    reset();
}

FontDescription PlotFrame::defaultFont()
{
    FontDescription description;
    description.height = 0;
    description.width = 0;
    description.escapement = 0;
    description.orientation = 0;
    description.weight = regularWeight;
    description.italic = false;
    description.underline = false;
    description.strikeOut = false;
    description.charSet = 0;
    description.outPrecision = 4;
    description.clipPrecision = 32;
    description.quality = 2;
    description.pitchAndFamily = 32;
    description.faceName = "Arial";
    return description;
}

void PlotFrame::reset()
{
    setColour(rgbColour(0, 0, 0));
    frameLeft_ = 0;
    frameTop_ = 0;
    frameRight_ = pictureWidth_;
    frameBottom_ = pictureHeight_;
    worldX1_ = 0.0;
    worldX2_ = resetWorldWidth;
    worldY1_ = 0.0;
    worldY2_ = resetWorldHeight;
    recomputeScales();
    useDefaultFont();
    setTextAlign(0, 0);
    moveTo(worldX1_, worldY1_);
}

void PlotFrame::setPlotArea(double x1, double x2, double y1, double y2)
{
    reset();
    const int left = toPixelX(x1);
    const int right = toPixelX(x2);
    const int top = toPixelY(y2);
    const int bottom = toPixelY(y1);
    frameLeft_ = left;
    frameRight_ = right;
    frameTop_ = top;
    frameBottom_ = bottom;
    applyOrigin(true);
    worldX1_ = x1;
    worldX2_ = x2;
    worldY1_ = y1;
    worldY2_ = y2;
    recomputeScales();
    moveTo(x1, y1);
}

void PlotFrame::setWorld(double x1, double x2, double y1, double y2)
{
    worldX1_ = x1;
    worldX2_ = x2;
    worldY1_ = y1;
    worldY2_ = y2;
    recomputeScales();
}

void PlotFrame::recomputeScales()
{
    const double worldWidth = worldX2_ - worldX1_;
    const double worldHeight = worldY2_ - worldY1_;
    worldUsable_ = std::isfinite(worldX1_) && std::isfinite(worldX2_) && std::isfinite(worldY1_) &&
                   std::isfinite(worldY2_) && worldWidth != 0.0 && worldHeight != 0.0 &&
                   std::isfinite(worldWidth) && std::isfinite(worldHeight);
    if (!worldUsable_) {
        scaleX_ = 0.0;
        scaleY_ = 0.0;
        return;
    }
    scaleX_ = static_cast<double>(frameRight_ - frameLeft_) / worldWidth;
    scaleY_ = static_cast<double>(frameBottom_ - frameTop_) / worldHeight;
}

void PlotFrame::applyOrigin(bool clipped)
{
    originX_ = frameLeft_;
    originY_ = frameTop_;
    surface_.setOrigin(originX_, originY_);
    if (clipped)
        surface_.setClipRect(frameLeft_, frameTop_, frameRight_, frameBottom_);
    else
        surface_.removeClip();
}

void PlotFrame::clipOn()
{
    applyOrigin(true);
}

void PlotFrame::clipOff()
{
    applyOrigin(false);
}

int PlotFrame::toPixelX(double x) const
{
    if (!worldUsable_)
        return 0;
    return clampPixel(roundHalfUp(scaleX_ * (x - worldX1_)));
}

int PlotFrame::toPixelY(double y) const
{
    if (!worldUsable_)
        return clampPixel(frameBottom_ - frameTop_);
    return clampPixel(roundHalfUp((frameBottom_ - frameTop_) - scaleY_ * (y - worldY1_)));
}

void PlotFrame::moveTo(double x, double y)
{
    if (!worldUsable_)
        return;
    moveToPixel(toPixelX(x), toPixelY(y));
}

void PlotFrame::lineTo(double x, double y)
{
    if (!worldUsable_ || !pictureDrawable())
        return;
    const int pixelX = toPixelX(x);
    const int pixelY = toPixelY(y);
    surface_.lineTo(pixelX, pixelY);
    surface_.lineTo(pixelX - 1, pixelY);
    moveToPixel(pixelX, pixelY);
}

void PlotFrame::moveToPixel(int pixelX, int pixelY)
{
    currentX_ = clampPixel(pixelX);
    currentY_ = clampPixel(pixelY);
    surface_.moveTo(currentX_, currentY_);
}

void PlotFrame::drawBox()
{
    moveTo(worldX1_, worldY1_);
    lineTo(worldX1_, worldY2_);
    lineTo(worldX2_, worldY2_);
    lineTo(worldX2_, worldY1_);
    lineTo(worldX1_, worldY1_);
    moveTo(worldX1_, worldY1_);
}

void PlotFrame::fillPicture(int left, int top, int right, int bottom, Colour colour)
{
    surface_.fillRect(left - originX_, top - originY_, right - originX_, bottom - originY_, colour);
}

Colour PlotFrame::setColour(Colour colour)
{
    const Colour previous = colour_;
    colour_ = colour;
    surface_.setPen(penWidth_, colour_);
    surface_.setTextColour(colour_);
    return previous;
}

int PlotFrame::setPenWidth(int widthPx)
{
    const int previous = penWidth_;
    penWidth_ = widthPx;
    surface_.setPen(penWidth_, colour_);
    return previous;
}

void PlotFrame::setTextAlign(int horizontal, int vertical)
{
    HorizontalAlign horizontalAlign = HorizontalAlign::left;
    if (horizontal == 1)
        horizontalAlign = HorizontalAlign::centre;
    else if (horizontal == 2)
        horizontalAlign = HorizontalAlign::right;
    VerticalAlign verticalAlign = VerticalAlign::top;
    if (vertical == 0)
        verticalAlign = VerticalAlign::bottom;
    else if (vertical == 1)
        verticalAlign = VerticalAlign::baseline;
    surface_.setTextAlign(horizontalAlign, verticalAlign);
}

void PlotFrame::drawText(const std::string& text)
{
    if (!pictureDrawable())
        return;
    surface_.drawText(text);
}

void PlotFrame::drawNumber(double value, int width, int precision)
{
    drawText(formatFixed(value, std::clamp(width, 0, 100), std::clamp(precision, 0, 30)));
}

int PlotFrame::characterHeightFor(double relativeSize) const
{
    const double height = pictureWidth_ * relativeSize * 0.02;
    if (!std::isfinite(height))
        return 0;
    // The tolerance keeps a size computed back from a height (|h| * 50 / width) from losing a
    // pixel to the last bit of the product; it is far below anything a real size can carry.
    const double tolerance = 1e-9;
    const double magnitude =
        std::min(std::floor(std::fabs(height) + tolerance), characterHeightLimit);
    return static_cast<int>(height < 0 ? -magnitude : magnitude);
}

double PlotFrame::relativeSizeOf(const FontDescription& description) const
{
    if (pictureWidth_ <= 0)
        return textSize_;
    return std::abs(static_cast<double>(description.height)) * 50.0 / pictureWidth_;
}

bool PlotFrame::recreateFont(double relativeSize, int angle, bool bold)
{
    FontDescription description = surface_.currentFont();
    description.height = -characterHeightFor(relativeSize);
    description.width = 0;
    description.escapement = angle;
    description.orientation = angle;
    description.weight = bold ? boldWeight : regularWeight;
    return surface_.selectFont(description);
}

void PlotFrame::setTextSize(double relativeSize)
{
    if (recreateFont(relativeSize, textAngle_ != 0 ? upwardAngle : 0, bold_))
        textSize_ = relativeSize;
}

void PlotFrame::setTextAngle(int tenthsOfDegree)
{
    if (recreateFont(textSize_, tenthsOfDegree, bold_))
        textAngle_ = tenthsOfDegree;
}

void PlotFrame::setBold(bool bold)
{
    if (recreateFont(textSize_, textAngle_, bold))
        bold_ = bold;
}

bool PlotFrame::useFont(const FontDescription& description)
{
    if (!surface_.selectFont(description))
        return false;
    bold_ = description.weight > regularWeight;
    textAngle_ = description.escapement;
    textSize_ = relativeSizeOf(description);
    return true;
}

void PlotFrame::useDefaultFont()
{
    FontDescription description = defaultFont();
    description.height = -characterHeightFor(1.0);
    if (surface_.selectFont(description)) {
        textSize_ = 1.0;
        textAngle_ = 0;
        bold_ = false;
    }
}

FontDescription PlotFrame::currentFont() const
{
    return surface_.currentFont();
}

int PlotFrame::textHeight() const
{
    return surface_.textMetrics().cellHeight();
}

} // namespace orvane
