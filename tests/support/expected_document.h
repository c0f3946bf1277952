#pragma once

#include "report/intermod_report.h"
#include "support/temp_folder.h"

#include <string>

namespace orvane::test {

// A document of tests/data as the program writes it, with "{version}" standing for the
// program's version text.
inline std::string expectedDocument(const std::string& name)
{
    std::string text = contentOf(ORVANE_SOURCE_DIR "/tests/data/" + name);
    EXPECT_FALSE(text.empty()) << name;
    const std::string mark = "{version}";
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
        text.replace(at, mark.size(), versionText);
    return text;
}

} // namespace orvane::test
