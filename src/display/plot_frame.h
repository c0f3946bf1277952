#pragma once

#include "display/colour.h"
#include "display/drawing_surface.h"
#include "display/font_description.h"

#include <string>

namespace orvane {

// The drawing surface of one paint or one capture with its world-to-pixel mapping: a frame
// (a pixel rectangle of the picture whose top-left corner is the drawing origin), a world
// window mapped linearly onto it, the pen, the font with its relative size and the text
// alignment. A relative text size s is a character height of trunc(pictureWidth * s * 0.02)
// pixels, so fonts follow the window's width.
//
// A picture under two pixels wide or high draws nothing, and neither does a world window of
// zero width or height (or with a value that is not finite): no scale is divided by zero.
class PlotFrame {
public:
    // Starts over the whole client area: origin at its top-left corner, no clip, a black pen
    // of width 1, then reset.
    PlotFrame(DrawingSurface& surface, int clientWidth, int clientHeight);

    int pictureWidth() const { return pictureWidth_; }
    int pictureHeight() const { return pictureHeight_; }
    bool pictureDrawable() const { return pictureWidth_ >= 1 && pictureHeight_ >= 1; }
    bool worldUsable() const { return worldUsable_; }
    DrawingSurface& surface() { return surface_; }

    int frameLeft() const { return frameLeft_; }
    int frameTop() const { return frameTop_; }
    int frameRight() const { return frameRight_; }
    int frameBottom() const { return frameBottom_; }
    double worldX1() const { return worldX1_; }
    double worldX2() const { return worldX2_; }
    double worldY1() const { return worldY1_; }
    double worldY2() const { return worldY2_; }

    // Black, whole-picture frame, the 4:3 world (0..133.33 x 0..100), default font at size
    // 1.0, left/bottom alignment, current point at (x1, y1). Origin and clip stay.
    void reset();
    // Reset, then the frame becomes the pixels of (x1..x2, y1..y2) in the reset world, the
    // origin moves to its corner and drawing is clipped to it; the world becomes that window.
    void setPlotArea(double x1, double x2, double y1, double y2);
    void setWorld(double x1, double x2, double y1, double y2);
    void clipOn();
    void clipOff();

    int toPixelX(double x) const;
    int toPixelY(double y) const;

    void moveTo(double x, double y);
    // Draws to (x, y) and on one pixel to the left, so the end pixel appears.
    void lineTo(double x, double y);
    void moveToPixel(int pixelX, int pixelY);
    void drawBox();
    // Fills a rectangle given in picture pixels (right and bottom excluded), wherever the
    // origin stands.
    void fillPicture(int left, int top, int right, int bottom, Colour colour);

    // Pen and text colour; returns the previous pen colour.
    Colour setColour(Colour colour);
    Colour colour() const { return colour_; }
    // Returns the previous width.
    int setPenWidth(int widthPx);
    int penWidth() const { return penWidth_; }
    // horizontal 0 left, 1 centre, 2 right (others left); vertical 0 bottom, 1 baseline,
    // anything else top.
    void setTextAlign(int horizontal, int vertical);
    void drawText(const std::string& text);
    // The value in printf "%W.Pf" form, independent of the user's locale.
    void drawNumber(double value, int width, int precision);

    void setTextSize(double relativeSize);
    void setTextAngle(int tenthsOfDegree);
    void setBold(bool bold);
    // Makes a font exactly from the description; on success the size, angle and bold state
    // follow from it. False leaves the previous font and state.
    bool useFont(const FontDescription& description);
    FontDescription currentFont() const;
    int textHeight() const;
    double textSize() const { return textSize_; }
    int textAngle() const { return textAngle_; }
    bool bold() const { return bold_; }
    // The default font at relative size 1.0, upright and regular.
    void useDefaultFont();

    // The character height (positive) of a relative size on this picture.
    int characterHeightFor(double relativeSize) const;
    // The relative size of a description's height on this picture.
    double relativeSizeOf(const FontDescription& description) const;

    // Face "Arial", regular, ANSI, TrueType precision, proof quality, Swiss family; height 0.
    static FontDescription defaultFont();

private:
    void recomputeScales();
    void applyOrigin(bool clipped);
    bool recreateFont(double relativeSize, int angle, bool bold);

    DrawingSurface& surface_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int frameLeft_ = 0;
    int frameTop_ = 0;
    int frameRight_ = 0;
    int frameBottom_ = 0;
    int originX_ = 0;
    int originY_ = 0;
    double worldX1_ = 0.0;
    double worldX2_ = 1.0;
    double worldY1_ = 0.0;
    double worldY2_ = 1.0;
    double scaleX_ = 0.0;
    double scaleY_ = 0.0;
    bool worldUsable_ = false;
    int currentX_ = 0;
    int currentY_ = 0;
    Colour colour_ = 0;
    int penWidth_ = 1;
    double textSize_ = 1.0;
    int textAngle_ = 0;
    bool bold_ = false;
};

} // namespace orvane
