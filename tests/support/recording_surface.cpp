#include "support/recording_surface.h"

#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

std::string point(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

std::string hex(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return text;
}

} // namespace

std::string describe(const FontDescription& font)
{
    return font.faceName + " " + std::to_string(font.height) + "x" + std::to_string(font.width) +
           " w" + std::to_string(font.weight) + " " + std::to_string(font.escapement) + "/" +
           std::to_string(font.orientation) + (font.italic ? " italic" : "") +
           (font.underline ? " underline" : "") + (font.strikeOut ? " strikeout" : "") + " c" +
           std::to_string(font.charSet) + " p" + std::to_string(font.outPrecision) + "/" +
           std::to_string(font.clipPrecision) + " q" + std::to_string(font.quality) + " f" +
           std::to_string(font.pitchAndFamily);
}

void RecordingSurface::fillRect(int left, int top, int right, int bottom, Colour colour)
{
    log_ += "fill " + point(left + originX_, top + originY_) + " " +
            point(right + originX_, bottom + originY_) + " " + hex(colour) + "\n";
}

void RecordingSurface::setOrigin(int deviceX, int deviceY)
{
    originX_ = deviceX;
    originY_ = deviceY;
    log_ += "origin " + point(deviceX, deviceY) + "\n";
}

void RecordingSurface::setClipRect(int left, int top, int right, int bottom)
{
    clipped_ = true;
    log_ += "clip " + point(left, top) + " " + point(right, bottom) + "\n";
}

void RecordingSurface::removeClip()
{
    clipped_ = false;
    log_ += "noclip\n";
}

void RecordingSurface::setPen(int widthPx, Colour colour)
{
    penWidth_ = widthPx;
    penColour_ = colour;
}

bool RecordingSurface::selectFont(const FontDescription& description)
{
    if (!unavailableFace.empty() && description.faceName == unavailableFace)
        return false;
    font_ = description;
    return true;
}

TextMetrics RecordingSurface::textMetrics() const
{
    TextMetrics metrics;
    if (font_.height > 0) {
        metrics.descent = font_.height / 5;
        metrics.ascent = font_.height - metrics.descent;
        return metrics;
    }
    metrics.ascent = font_.height < 0 ? -font_.height : 12;
    metrics.descent = metrics.ascent / 4;
    return metrics;
}

void RecordingSurface::moveTo(int x, int y)
{
    currentX_ = x;
    currentY_ = y;
}

void RecordingSurface::lineTo(int x, int y)
{
    lines_.push_back(
        {penColour_, {currentX_ + originX_, currentY_ + originY_, x + originX_, y + originY_}});
    log_ += "line " + point(currentX_ + originX_, currentY_ + originY_) + " " +
            point(x + originX_, y + originY_) + " " + std::to_string(penWidth_) + "px " +
            hex(penColour_) + (clipped_ ? " clipped\n" : "\n");
    currentX_ = x;
    currentY_ = y;
}

void RecordingSurface::setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical)
{
    horizontal_ = horizontal;
    vertical_ = vertical;
}

void RecordingSurface::drawText(const std::string& text)
{
    log_ += "text " + point(currentX_ + originX_, currentY_ + originY_) + " '" + text + "' " +
            hex(textColour_) + " " + "lcr"[static_cast<int>(horizontal_)] +
            "bBt"[static_cast<int>(vertical_)] + " " + describe(font_) +
            (clipped_ ? " clipped\n" : "\n");
    // The advance runs along the text's direction: escapement counter-clockwise, y downward.
    int characters = 0;
    for (const char byte : text)
        characters += (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u;
    const double width = characters * ((textMetrics().ascent + 1) / 2);
    const double angle = font_.escapement * 3.14159265358979323846 / 1800.0;
    const int sign = horizontal_ == HorizontalAlign::left    ? 1
                     : horizontal_ == HorizontalAlign::right ? -1
                                                             : 0;
    currentX_ += sign * static_cast<int>(std::lround(width * std::cos(angle)));
    currentY_ -= sign * static_cast<int>(std::lround(width * std::sin(angle)));
}

std::vector<std::array<int, 4>> RecordingSurface::linesIn(Colour colour) const
{
    std::vector<std::array<int, 4>> found;
    for (const auto& [lineColour, points] : lines_)
        if (lineColour == colour)
            found.push_back(points);
    return found;
}

} // namespace orvane
