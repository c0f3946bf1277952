#pragma once

#include <string>

namespace orvane {

// A logical-font description: what a drawing surface needs to make a font. A negative height
// is a character height in pixels (a positive one a cell height); escapement and orientation
// are in tenths of a degree counter-clockwise (900 reads upward).
struct FontDescription {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;         // ANSI
    int outPrecision = 4;    // TrueType
    int clipPrecision = 32;  // TrueType always
    int quality = 2;         // proof
    int pitchAndFamily = 32; // Swiss, default pitch
    std::string faceName = "Arial";

    bool operator==(const FontDescription& other) const;
    bool operator!=(const FontDescription& other) const { return !(*this == other); }
};

} // namespace orvane
