#pragma once

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
