#pragma once

#include "files/carrier_file.h"
#include "model/carrier_list.h"

#include <string>

namespace orvane::cli {

// A message on standard error, after the tool's name, ending in a line end.
void printMessage(const std::string& text);

// Loads a plan and says what went wrong as the desktop program would (skipped lines too);
// false when there is no plan to work on.
bool loadPlan(CarrierList& plan, const std::string& path, FileReadResult& result);

} // namespace orvane::cli
