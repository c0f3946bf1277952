#include "support/recording_surface.h"

#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

int characterCount(const std::string& utf8)
{
    int count = 0;
    for (const char byte : utf8)
        count += (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u;
    return count;
}

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

std::string describe(const SurfaceCall& call)
{
    const std::string clipped = call.clipped ? " clipped" : "";
    switch (call.kind) {
    case SurfaceCallKind::fill:
        return "fill " + point(call.x1, call.y1) + " " + point(call.x2, call.y2) + " " +
               hex(call.colour);
    case SurfaceCallKind::origin:
        return "origin " + point(call.x1, call.y1);
    case SurfaceCallKind::clip:
        return "clip " + point(call.x1, call.y1) + " " + point(call.x2, call.y2);
    case SurfaceCallKind::noClip:
        return "noclip";
    case SurfaceCallKind::line:
        return "line " + point(call.x1, call.y1) + " " + point(call.x2, call.y2) + " " +
               std::to_string(call.penWidth) + "px " + hex(call.colour) + clipped;
    case SurfaceCallKind::text:
        return "text " + point(call.x1, call.y1) + " '" + call.text + "' " + hex(call.colour) +
               " " + "lcr"[static_cast<int>(call.horizontal)] +
               "bBt"[static_cast<int>(call.vertical)] + " " + describe(call.font) + clipped;
    }
    return "";
}

SurfaceCall& RecordingSurface::record(SurfaceCallKind kind, int x1, int y1, int x2, int y2)
{
    SurfaceCall& call = calls_.emplace_back();
    call.kind = kind;
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.clipped = clipped_;
    return call;
}

void RecordingSurface::fillRect(int left, int top, int right, int bottom, Colour colour)
{
    record(SurfaceCallKind::fill, left + originX_, top + originY_, right + originX_,
           bottom + originY_)
        .colour = colour;
}

void RecordingSurface::setOrigin(int deviceX, int deviceY)
{
    originX_ = deviceX;
    originY_ = deviceY;
    record(SurfaceCallKind::origin, deviceX, deviceY);
}

void RecordingSurface::setClipRect(int left, int top, int right, int bottom)
{
    clipped_ = true;
    record(SurfaceCallKind::clip, left, top, right, bottom);
}

void RecordingSurface::removeClip()
{
    clipped_ = false;
    record(SurfaceCallKind::noClip, 0, 0);
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
    SurfaceCall& call = record(SurfaceCallKind::line, currentX_ + originX_, currentY_ + originY_,
                               x + originX_, y + originY_);
    call.colour = penColour_;
    call.penWidth = penWidth_;
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
    SurfaceCall& call = record(SurfaceCallKind::text, currentX_ + originX_, currentY_ + originY_);
    call.text = text;
    call.font = font_;
    call.colour = textColour_;
    call.horizontal = horizontal_;
    call.vertical = vertical_;

    // The advance runs along the text's direction: escapement counter-clockwise, y downward.
    const double angle = font_.escapement * 3.14159265358979323846 / 1800.0;
    const int width = characterCount(text) * ((textMetrics().ascent + 1) / 2);
    const int sign = horizontal_ == HorizontalAlign::left    ? 1
                     : horizontal_ == HorizontalAlign::right ? -1
                                                             : 0;
    currentX_ += sign * static_cast<int>(std::lround(width * std::cos(angle)));
    currentY_ -= sign * static_cast<int>(std::lround(width * std::sin(angle)));
}

std::vector<SurfaceCall> RecordingSurface::callsOf(SurfaceCallKind kind) const
{
    std::vector<SurfaceCall> matching;
    for (const SurfaceCall& call : calls_) {
        if (call.kind == kind)
            matching.push_back(call);
    }
    return matching;
}

std::string RecordingSurface::log() const
{
    std::string text;
    for (const SurfaceCall& call : calls_)
        text += describe(call) + "\n";
    return text;
}

} // namespace orvane
