#pragma once

#include "model/program_identity.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace orvane::test {

// A file of tests/data in the source tree: expected documents shared by the tests.
inline std::string dataPath(const std::string& name)
{
    return std::string(ORVANE_SOURCE_DIR) + "/tests/data/" + name;
}

inline std::string dataFile(const std::string& name)
{
    return contentOf(dataPath(name));
}

// A document of tests/data as the program writes it, "{version}" standing for its version text.
inline std::string expectedDocument(const std::string& name)
{
    std::string text = dataFile(name);
    EXPECT_FALSE(text.empty()) << name;
    const std::string mark = "{version}";
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
        text.replace(at, mark.size(), versionText);
    return text;
}

// The names of a tests/data folder's files that end in suffix, sorted.
inline std::vector<std::string> dataFiles(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> found;
    for (const std::string& name : TempFolder::namesIn(dataPath(folder))) {
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(name);
    }
    return found;
}

// Compares text with the golden file tests/data/name. With ORVANE_UPDATE_GOLDEN set the file
// is rewritten instead, for a change meant to alter the output: review its difference.
inline void expectGolden(const std::string& actual, const std::string& name)
{
    if (std::getenv("ORVANE_UPDATE_GOLDEN"))
        put(dataPath(name), actual);
    else
        EXPECT_EQ(actual, dataFile(name)) << "the golden file tests/data/" << name;
}

} // namespace orvane::test
