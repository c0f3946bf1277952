#pragma once

#include "display/drawing_surface.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace orvane {

// A font as one line of text with every value it carries.
inline std::string describe(const FontDescription& font)
{
    return font.faceName + " " + std::to_string(font.height) + "x" + std::to_string(font.width) +
           " w" + std::to_string(font.weight) + " " + std::to_string(font.escapement) + "/" +
           std::to_string(font.orientation) + (font.italic ? " italic" : "") +
           (font.underline ? " underline" : "") + (font.strikeOut ? " strikeout" : "") + " c" +
           std::to_string(font.charSet) + " p" + std::to_string(font.outPrecision) + "/" +
           std::to_string(font.clipPrecision) + " q" + std::to_string(font.quality) + " f" +
           std::to_string(font.pitchAndFamily);
}

// A drawing surface that draws nothing and records what reaches the picture, one line of text
// per call: fills, origins and clips, lines with their pen and whether they were clipped, texts
// with their colour, alignment, font and clipping. Positions are device pixels. Its fonts have
// made-up but fixed metrics: a character height c (a negative description height) gives ascent
// c, descent c / 4 and an advance of (c + 1) / 2 per character; height 0 acts as -12.
class RecordingSurface : public DrawingSurface {
public:
    void fillRect(int left, int top, int right, int bottom, Colour colour) override
    {
        log_ += "fill " + point(left + originX_, top + originY_) + " " +
                point(right + originX_, bottom + originY_) + " " + hex(colour) + "\n";
    }
    void setOrigin(int deviceX, int deviceY) override
    {
        originX_ = deviceX;
        originY_ = deviceY;
        log_ += "origin " + point(deviceX, deviceY) + "\n";
    }
    void setClipRect(int left, int top, int right, int bottom) override
    {
        clipped_ = true;
        log_ += "clip " + point(left, top) + " " + point(right, bottom) + "\n";
    }
    void removeClip() override
    {
        clipped_ = false;
        log_ += "noclip\n";
    }
    void setPen(int widthPx, Colour colour) override
    {
        penWidth_ = widthPx;
        penColour_ = colour;
    }
    bool selectFont(const FontDescription& description) override
    {
        if (!unavailableFace.empty() && description.faceName == unavailableFace)
            return false;
        font_ = description;
        return true;
    }
    FontDescription currentFont() const override { return font_; }
    TextMetrics textMetrics() const override
    {
        TextMetrics metrics;
        metrics.ascent = font_.height < 0 ? -font_.height : 12;
        metrics.descent = metrics.ascent / 4;
        return metrics;
    }
    void moveTo(int x, int y) override
    {
        currentX_ = x;
        currentY_ = y;
    }
    void lineTo(int x, int y) override
    {
        log_ += "line " + point(currentX_ + originX_, currentY_ + originY_) + " " +
                point(x + originX_, y + originY_) + " " + std::to_string(penWidth_) + "px " +
                hex(penColour_) + (clipped_ ? " clipped\n" : "\n");
        moveTo(x, y);
    }
    void setTextColour(Colour colour) override { textColour_ = colour; }
    void setTransparentBackground() override { transparentBackground_ = true; }
    void setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical) override
    {
        horizontal_ = horizontal;
        vertical_ = vertical;
    }
    // Every character half as wide as the font is high.
    int textWidth(const std::string& text) override
    {
        int characters = 0;
        for (const char byte : text)
            characters += (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u;
        return characters * ((textMetrics().ascent + 1) / 2);
    }
    void drawText(const std::string& text) override
    {
        log_ += "text " + point(currentX_ + originX_, currentY_ + originY_) + " '" + text + "' " +
                hex(textColour_) + " " + "lcr"[static_cast<int>(horizontal_)] +
                "bBt"[static_cast<int>(vertical_)] + " " + describe(font_) +
                (clipped_ ? " clipped\n" : "\n");
        // The advance runs along the text's direction: escapement counter-clockwise, y down.
        const double width = textWidth(text);
        const double angle = font_.escapement * 3.14159265358979323846 / 1800.0;
        const int sign = horizontal_ == HorizontalAlign::left    ? 1
                         : horizontal_ == HorizontalAlign::right ? -1
                                                                 : 0;
        currentX_ += sign * static_cast<int>(std::lround(width * std::cos(angle)));
        currentY_ -= sign * static_cast<int>(std::lround(width * std::sin(angle)));
    }

    // A face name that selectFont refuses, to imitate a font that cannot be made.
    std::string unavailableFace;

    const std::string& log() const { return log_; }
    void clearLog() { log_.clear(); }
    bool transparentBackground() const { return transparentBackground_; }

private:
    static std::string point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    static std::string hex(Colour colour)
    {
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(colour), greenOf(colour),
                      blueOf(colour));
        return text;
    }

    std::string log_;
    int originX_ = 0;
    int originY_ = 0;
    bool clipped_ = false;
    int penWidth_ = 1;
    Colour penColour_ = 0;
    Colour textColour_ = 0;
    bool transparentBackground_ = false;
    FontDescription font_;
    HorizontalAlign horizontal_ = HorizontalAlign::left;
    VerticalAlign vertical_ = VerticalAlign::top;
    int currentX_ = 0;
    int currentY_ = 0;
};

} // namespace orvane
