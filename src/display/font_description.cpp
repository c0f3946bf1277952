#include "display/font_description.h"

namespace orvane {

bool FontDescription::operator==(const FontDescription& other) const
{
    return height == other.height && width == other.width && escapement == other.escapement &&
           orientation == other.orientation && weight == other.weight && italic == other.italic &&
           underline == other.underline && strikeOut == other.strikeOut &&
           charSet == other.charSet && outPrecision == other.outPrecision &&
           clipPrecision == other.clipPrecision && quality == other.quality &&
           pitchAndFamily == other.pitchAndFamily && faceName == other.faceName;
}

} // namespace orvane
