#pragma once

#include "files/carrier_file.h"

namespace orvane {

// Shown when a file does not start with the MODCOD keyword or holds no entry.
std::string noModcodEntriesText(const std::string& path);

// Reads a modcod catalogue into list, replacing its content; isModcodList becomes 1.
FileReadResult loadModcodFile(CarrierList& list, const std::string& path);
FileReadResult readModcodText(CarrierList& list, std::string_view bytes);

} // namespace orvane
