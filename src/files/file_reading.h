#pragma once

#include "files/file_error.h"

#include <cstddef>
#include <optional>
#include <string>

namespace orvane {

// The largest file the readers take: far beyond any real plan or catalogue, small enough that
// reading one cannot exhaust memory (a device such as /dev/zero never ends).
constexpr std::size_t largestReadableFileBytes = std::size_t{64} << 20;

// Reads the whole file at path into bytes. On failure bytes is empty and the error names the
// cause the system reported (a missing file, a folder, no permission, a read error), or says
// the file is too large or UTF-16 text.
std::optional<FileError> readWholeFile(const std::string& path, std::string& bytes);

} // namespace orvane
