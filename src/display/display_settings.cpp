#include "display/display_settings.h"

#include "display/plot_frame.h"

#include <cmath>
#include <cstdlib>

namespace orvane {

namespace {

// The relative size that keeps a newly chosen font in the proportion the old one had to the
// picture. Heights are compared by magnitude (a character height and a cell height differ
// only in sign); a height of 0 gives no proportion, so the size stays.
double sizeAfterChoice(double oldSize, const FontDescription& oldFont,
                       const FontDescription& newFont)
{
    const double oldHeight = std::abs(static_cast<double>(oldFont.height));
    const double newHeight = std::abs(static_cast<double>(newFont.height));
    if (oldHeight == 0.0 || newHeight == 0.0)
        return oldSize;
    const double size = newHeight * oldSize / oldHeight;
    return std::isfinite(size) ? size : oldSize;
}

void rescaleFont(PlotFrame& frame, FontDescription& font, double relativeSize)
{
    // A description the surface cannot make is left as it is rather than replaced by
    // whichever font happens to be current.
    if (!frame.useFont(font))
        return;
    frame.setTextSize(relativeSize);
    font = frame.currentFont();
}

} // namespace

void DisplaySettings::resetDefaultFonts(PlotFrame& frame)
{
    frame.useDefaultFont();
    frame.setTextAngle(0);

    frame.setBold(true);
    frame.setTextSize(1.5);
    titleFont = frame.currentFont();
    titleSize = 1.5;

    frame.setBold(true);
    frame.setTextSize(0.7);
    labelFont = frame.currentFont();
    labelSize = 0.7;

    frame.setBold(true);
    frame.setTextSize(1.2);
    axisFont = frame.currentFont();
    axisSize = 1.2;

    frame.setBold(false);
    frame.setTextSize(0.6);
    frequencyFont = frame.currentFont();
    frequencySize = 0.6;

    fontsResetPending = false;
}

void DisplaySettings::rescaleFonts(PlotFrame& frame)
{
    rescaleFont(frame, titleFont, titleSize);
    rescaleFont(frame, labelFont, labelSize);
    rescaleFont(frame, axisFont, axisSize);
    rescaleFont(frame, frequencyFont, frequencySize);
}

void DisplaySettings::keepFontsForClient(PlotFrame& frame, const PixelRect& clientRect)
{
    if (!fontsResetPending && clientRect.width() != lastClientRect.width())
        rescaleFonts(frame);
    lastClientRect = clientRect;
    if (fontsResetPending)
        resetDefaultFonts(frame);
}

void DisplaySettings::applyChosenFonts(const FontDescription& newTitle,
                                       const FontDescription& newLabel,
                                       const FontDescription& newAxis,
                                       const FontDescription& newFrequency)
{
    titleSize = sizeAfterChoice(titleSize, titleFont, newTitle);
    titleFont = newTitle;
    labelSize = sizeAfterChoice(labelSize, labelFont, newLabel);
    labelFont = newLabel;
    axisSize = sizeAfterChoice(axisSize, axisFont, newAxis);
    axisFont = newAxis;
    frequencySize = sizeAfterChoice(frequencySize, frequencyFont, newFrequency);
    frequencyFont = newFrequency;
}

} // namespace orvane
