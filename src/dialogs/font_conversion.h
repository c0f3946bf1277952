#pragma once

#include "display/font_description.h"

#include <QFont>

namespace orvane {

// A Qt font for a description: its face, weight and style at the description's pixel height
// (a height of 0 leaves Qt's default size).
QFont qtFontFor(const FontDescription& description);

// The description of a font the user chose: its character height in pixels for the screen's
// resolution (dotsPerInch), stored negative; angles and the settings a Qt font does not carry
// are kept from the description it replaces.
FontDescription descriptionOfChosenFont(const QFont& font, const FontDescription& previous,
                                        double dotsPerInch);

} // namespace orvane
