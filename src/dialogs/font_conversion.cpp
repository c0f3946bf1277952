#include "dialogs/font_conversion.h"

#include <cmath>
#include <cstdlib>

namespace orvane {

QFont qtFontFor(const FontDescription& description)
{
    QFont font(QString::fromStdString(description.faceName));
    if (description.height != 0)
        font.setPixelSize(std::abs(description.height));
    const int weight = description.weight <= 0 ? 400 : description.weight;
    font.setWeight(static_cast<QFont::Weight>(qBound(1, weight, 1000)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    return font;
}

FontDescription descriptionOfChosenFont(const QFont& font, const FontDescription& previous,
                                        double dotsPerInch)
{
    FontDescription description = previous;
    double pixels = font.pixelSize();
    if (font.pixelSize() <= 0)
        pixels = font.pointSizeF() * dotsPerInch / 72.0;
    description.height = -static_cast<int>(std::lround(pixels));
    description.width = 0;
    description.weight = static_cast<int>(font.weight());
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    description.faceName = font.family().toStdString();
    return description;
}

} // namespace orvane
