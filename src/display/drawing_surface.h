#pragma once

#include "display/colour.h"
#include "display/font_description.h"

#include <cmath>
#include <string>

namespace orvane {

enum class HorizontalAlign { left, centre, right };
enum class VerticalAlign { bottom, baseline, top };

// The metrics of the current font in pixels; the cell height is ascent plus descent.
struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int cellHeight() const { return ascent + descent; }
};

// How a text of widthPx pixels is placed about the current point: where its cell starts as the
// alignment says (before turning), the angle it is turned by (radians counter-clockwise, from
// escapement in tenths of a degree), and how far the current point moves after it (left-aligned
// text moves it on, right-aligned back, centred not at all; y grows downward).
struct TextPlacement {
    int offsetX = 0;
    int offsetY = 0;
    double angle = 0.0;
    int advanceX = 0;
    int advanceY = 0;
};
inline TextPlacement placeText(int widthPx, const TextMetrics& metrics, HorizontalAlign horizontal,
                               VerticalAlign vertical, int escapement)
{
    TextPlacement placement;
    placement.offsetX = horizontal == HorizontalAlign::centre  ? -widthPx / 2
                        : horizontal == HorizontalAlign::right ? -widthPx
                                                               : 0;
    placement.offsetY = vertical == VerticalAlign::bottom ? -metrics.descent
                        : vertical == VerticalAlign::top  ? metrics.ascent
                                                          : 0;
    placement.angle = (escapement % 3600) * 3.14159265358979323846 / 1800.0;
    const int sign = horizontal == HorizontalAlign::left    ? 1
                     : horizontal == HorizontalAlign::right ? -1
                                                            : 0;
    placement.advanceX = sign * static_cast<int>(std::lround(widthPx * std::cos(placement.angle)));
    placement.advanceY = sign * static_cast<int>(std::lround(-widthPx * std::sin(placement.angle)));
    return placement;
}

// What the plan picture needs of the window system's drawing surface. Positions are pixels
// relative to the drawing origin; the origin and the clip rectangle are in device pixels.
// Text is UTF-8 and is always drawn at the current point, which it then updates the way the
// window system's update-current-position option does: left-aligned text moves the point to
// its end, right-aligned text to its start, centred text leaves it where it was.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Fills the pixels from (left, top) up to but not including (right, bottom).
    virtual void fillRect(int left, int top, int right, int bottom, Colour colour) = 0;
    virtual void setOrigin(int deviceX, int deviceY) = 0;
    // Clips to the device pixels from (left, top) to (right, bottom), both inclusive.
    virtual void setClipRect(int left, int top, int right, int bottom) = 0;
    virtual void removeClip() = 0;
    // A solid pen; lines leave out their last pixel, as the window system draws them.
    virtual void setPen(int widthPx, Colour colour) = 0;
    // Makes a font from the description current; false leaves the previous font in use.
    virtual bool selectFont(const FontDescription& description) = 0;
    virtual FontDescription currentFont() const = 0;
    virtual TextMetrics textMetrics() const = 0;
    // How far the text reaches along its direction in the current font, in pixels: as far as
    // drawText moves the current point for it.
    virtual int textWidth(const std::string& text) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual void setTextColour(Colour colour) = 0;
    virtual void setTransparentBackground() = 0;
    virtual void setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical) = 0;
    virtual void drawText(const std::string& text) = 0;
};

} // namespace orvane
