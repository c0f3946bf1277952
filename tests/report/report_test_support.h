#pragma once

#include <string>
#include <string_view>

namespace orvane::testing {

// A text written with "\n" line ends as it is stored: each "\n" as CR LF.
inline std::string withCrLf(std::string_view text)
{
    std::string stored;
    for (const char c : text) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    return stored;
}

} // namespace orvane::testing
