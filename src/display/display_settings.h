#pragma once

#include "display/colour.h"
#include "display/font_description.h"

#include <string>

namespace orvane {

class PlotFrame;

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Everything that shapes the picture apart from the carriers. Only the title and the view
// range outlive the run, inside carrier files. Fonts are kept at the window's width: a
// relative size s is a character height of pictureWidth * s * 0.02 pixels.
struct DisplaySettings {
    std::string titleText = "Transponder Frequency Plan"; // line breaks stored as TABs
    double viewStartMhz = 5850.0;
    double viewStopMhz = 6425.0;
    bool labelEdges = false;

    Colour backgroundColour = rgbColour(255, 255, 255);
    Colour titleColour = rgbColour(0, 0, 0);
    Colour axisColour = rgbColour(0, 0, 0);
    Colour carrierColour = rgbColour(255, 0, 0);
    Colour labelColour = rgbColour(0, 0, 0);

    FontDescription titleFont;
    FontDescription labelFont;
    FontDescription axisFont;
    FontDescription frequencyFont;
    double titleSize = 1.5;
    double labelSize = 0.7;
    double axisSize = 1.2;
    double frequencySize = 0.6;

    bool fontsResetPending = true;
    PixelRect lastClientRect;
    int lastOptionsPage = 0;

    // Rebuilds the four default fonts (Arial; bold title, label and axis; regular numbers) on a
    // frame whose current font is its default font; clears fontsResetPending.
    void resetDefaultFonts(PlotFrame& frame);
    // Re-creates the four fonts at their relative sizes for the frame's picture width.
    void rescaleFonts(PlotFrame& frame);
    // The paint step's font upkeep for a client rectangle: rescale on a width change when no
    // reset is pending, remember the rectangle, then reset when pending.
    void keepFontsForClient(PlotFrame& frame, const PixelRect& clientRect);
    // After the options sheet's font page: each relative size scaled by new height / old
    // height, then the new descriptions stored. An old height of 0 keeps the size.
    void applyChosenFonts(const FontDescription& newTitle, const FontDescription& newLabel,
                          const FontDescription& newAxis, const FontDescription& newFrequency);
};

} // namespace orvane
