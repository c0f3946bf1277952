#pragma once

#include "files/file_error.h"

#include <optional>
#include <string>

namespace orvane {

// Reads the whole file at path into bytes. On failure bytes is empty and the error names the
// cause the system reported (a missing file, a folder, no permission, a read error).
std::optional<FileError> readWholeFile(const std::string& path, std::string& bytes);

} // namespace orvane
