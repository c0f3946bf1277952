#include "support/recording_surface.h"

#include <cmath>

namespace orvane {

namespace {

int characterCount(const std::string& utf8)
{
    int count = 0;
    for (const char byte : utf8) {
        if ((static_cast<unsigned char>(byte) & 0xC0u) != 0x80u)
            ++count;
    }
    return count;
}

} // namespace

void RecordingSurface::fillRect(int left, int top, int right, int bottom, Colour colour)
{
    SurfaceCall call;
    call.kind = SurfaceCallKind::fill;
    call.x1 = left + originX_;
    call.y1 = top + originY_;
    call.x2 = right + originX_;
    call.y2 = bottom + originY_;
    call.colour = colour;
    calls_.push_back(call);
}

void RecordingSurface::setOrigin(int deviceX, int deviceY)
{
    originX_ = deviceX;
    originY_ = deviceY;
    SurfaceCall call;
    call.kind = SurfaceCallKind::origin;
    call.x1 = deviceX;
    call.y1 = deviceY;
    calls_.push_back(call);
}

void RecordingSurface::setClipRect(int left, int top, int right, int bottom)
{
    clipped_ = true;
    SurfaceCall call;
    call.kind = SurfaceCallKind::clip;
    call.x1 = left;
    call.y1 = top;
    call.x2 = right;
    call.y2 = bottom;
    calls_.push_back(call);
}

void RecordingSurface::removeClip()
{
    clipped_ = false;
    SurfaceCall call;
    call.kind = SurfaceCallKind::noClip;
    calls_.push_back(call);
}

void RecordingSurface::setPen(int widthPx, Colour colour)
{
    penWidth_ = widthPx;
    penColour_ = colour;
    SurfaceCall call;
    call.kind = SurfaceCallKind::pen;
    call.penWidth = widthPx;
    call.colour = colour;
    calls_.push_back(call);
}

bool RecordingSurface::selectFont(const FontDescription& description)
{
    SurfaceCall call;
    call.kind = SurfaceCallKind::font;
    call.font = description;
    call.fontCreated = unavailableFace.empty() || description.faceName != unavailableFace;
    calls_.push_back(call);
    if (call.fontCreated)
        font_ = description;
    return call.fontCreated;
}

TextMetrics RecordingSurface::textMetrics() const
{
    TextMetrics metrics;
    if (font_.height > 0) {
        metrics.descent = font_.height / 5;
        metrics.ascent = font_.height - metrics.descent;
        return metrics;
    }
    const int characterHeight = font_.height < 0 ? -font_.height : 12;
    metrics.ascent = characterHeight;
    metrics.descent = characterHeight / 4;
    return metrics;
}

int RecordingSurface::textWidth(const std::string& text) const
{
    return characterCount(text) * ((textMetrics().ascent + 1) / 2);
}

void RecordingSurface::moveTo(int x, int y)
{
    currentX_ = x;
    currentY_ = y;
    SurfaceCall call;
    call.kind = SurfaceCallKind::move;
    call.x1 = x + originX_;
    call.y1 = y + originY_;
    calls_.push_back(call);
}

void RecordingSurface::lineTo(int x, int y)
{
    SurfaceCall call;
    call.kind = SurfaceCallKind::line;
    call.x1 = currentX_ + originX_;
    call.y1 = currentY_ + originY_;
    call.x2 = x + originX_;
    call.y2 = y + originY_;
    call.colour = penColour_;
    call.penWidth = penWidth_;
    call.clipped = clipped_;
    calls_.push_back(call);
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
    SurfaceCall call;
    call.kind = SurfaceCallKind::text;
    call.x1 = currentX_ + originX_;
    call.y1 = currentY_ + originY_;
    call.text = text;
    call.font = font_;
    call.colour = textColour_;
    call.clipped = clipped_;
    call.horizontal = horizontal_;
    call.vertical = vertical_;
    calls_.push_back(call);

    // The advance runs along the text's direction: escapement counter-clockwise, y downward.
    const double angle = font_.escapement * 3.14159265358979323846 / 1800.0;
    const int width = textWidth(text);
    const int advanceX = static_cast<int>(std::lround(width * std::cos(angle)));
    const int advanceY = static_cast<int>(std::lround(-width * std::sin(angle)));
    if (horizontal_ == HorizontalAlign::left) {
        currentX_ += advanceX;
        currentY_ += advanceY;
    } else if (horizontal_ == HorizontalAlign::right) {
        currentX_ -= advanceX;
        currentY_ -= advanceY;
    }
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

} // namespace orvane
