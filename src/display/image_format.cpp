#include "display/image_format.h"

#include <cctype>

namespace orvane {

std::optional<ImageFormat> imageFormatOfPath(const std::string& path)
{
    const std::string::size_type dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return std::nullopt;
    std::string extension = path.substr(dot + 1);
    for (char& character : extension)
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    if (extension == "bmp")
        return ImageFormat::bmp;
    if (extension == "png")
        return ImageFormat::png;
    if (extension == "svg")
        return ImageFormat::svg;
    return std::nullopt;
}

} // namespace orvane
