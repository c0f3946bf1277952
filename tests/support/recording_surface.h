#pragma once

#include "display/drawing_surface.h"

#include <string>
#include <vector>

namespace orvane {

enum class SurfaceCallKind { fill, origin, clip, noClip, line, text };

// One call made on a RecordingSurface. Positions are device pixels (the origin added).
struct SurfaceCall {
    SurfaceCallKind kind = SurfaceCallKind::line;
    int x1 = 0; // fill, clip: left; line: start; text: reference point; origin: point
    int y1 = 0;
    int x2 = 0; // fill: right (exclusive); clip: right (inclusive); line: end
    int y2 = 0;
    Colour colour = 0; // fill, line: its colour; text: the text colour
    int penWidth = 0;
    bool clipped = false; // line and text: a clip rectangle was in force
    std::string text;
    FontDescription font; // text: the current font
    HorizontalAlign horizontal = HorizontalAlign::left;
    VerticalAlign vertical = VerticalAlign::bottom;
};

// The call, or a font, as one line of text with every value it carries.
std::string describe(const SurfaceCall& call);
std::string describe(const FontDescription& font);

// A drawing surface that draws nothing and records what reaches the picture, for checking
// geometry without a window system. Its fonts have made-up but fixed metrics: a character
// height c (a negative description height) gives ascent c, descent c / 4 and an advance of
// (c + 1) / 2 per character; a positive height is the cell height, of which a fifth is
// descent; height 0 acts as -12.
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

    const std::vector<SurfaceCall>& calls() const { return calls_; }
    std::vector<SurfaceCall> callsOf(SurfaceCallKind kind) const;
    // Every call described, one line each.
    std::string log() const;
    void clearCalls() { calls_.clear(); }
    int currentX() const { return currentX_; }
    int currentY() const { return currentY_; }
    bool transparentBackground() const { return transparentBackground_; }

private:
    SurfaceCall& record(SurfaceCallKind kind, int x1, int y1, int x2 = 0, int y2 = 0);

    std::vector<SurfaceCall> calls_;
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
