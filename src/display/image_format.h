#pragma once

#include <optional>
#include <string>

namespace orvane {

// The file formats the plan's picture is saved in: the bitmap the window shows, the same
// pixels compressed, or a drawing whose texts stay texts.
enum class ImageFormat { bmp, png, svg };

// The format a file name's extension names (".bmp", ".png" or ".svg" in any letter case);
// none for any other extension or none at all.
std::optional<ImageFormat> imageFormatOfPath(const std::string& path);

} // namespace orvane
