#pragma once

#include "display/drawing_surface.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

// A font as one line of text with every value it carries.
std::string describe(const FontDescription& font);

// A drawing surface that draws nothing and records what reaches the picture, one line of text
// per call: fills, origins and clips, lines with their pen and whether they were clipped, texts
// with their colour, alignment, font and clipping. Positions are device pixels. Its fonts have
// made-up but fixed metrics: a character height c (a negative description height) gives ascent
// c, descent c / 4 and an advance of (c + 1) / 2 per character; a positive height is the cell
// height, of which a fifth is descent; height 0 acts as -12.
class RecordingSurface : public DrawingSurface {
public:
    void fillRect(int left, int top, int right, int bottom, Colour colour) override;
    void setOrigin(int deviceX, int deviceY) override;
    void setClipRect(int left, int top, int right, int bottom) override;
    void removeClip() override;
    void setPen(int widthPx, Colour colour) override;
    bool selectFont(const FontDescription& description) override;
    FontDescription currentFont() const override { return font_; }
    TextMetrics textMetrics() const override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setTextColour(Colour colour) override { textColour_ = colour; }
    void setTransparentBackground() override { transparentBackground_ = true; }
    void setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical) override;
    void drawText(const std::string& text) override;

    // A face name that selectFont refuses, to imitate a font that cannot be made.
    std::string unavailableFace;

    const std::string& log() const { return log_; }
    void clearLog() { log_.clear(); }
    // The lines drawn in a colour, each as its start and end point.
    std::vector<std::array<int, 4>> linesIn(Colour colour) const;
    bool transparentBackground() const { return transparentBackground_; }

private:
    std::string log_;
    std::vector<std::pair<Colour, std::array<int, 4>>> lines_;
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
