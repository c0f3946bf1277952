#pragma once

#include <string>

namespace orvane {

// The text before the last '/' of a path; empty when there is none.
std::string directoryOf(const std::string& path);
// The text after the last '/'; the whole path when there is none.
std::string fileNameOf(const std::string& path);

} // namespace orvane
