#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Files are windows-1252; text inside the program is UTF-8. The five bytes windows-1252
// leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the C1 code points of the same number
// and back. Invalid UTF-8 and characters without a windows-1252 form become '?'.
std::string windows1252ToUtf8(std::string_view bytes);
std::string utf8ToWindows1252(std::string_view text);

} // namespace orvane
