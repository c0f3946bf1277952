#pragma once

#include "files/carrier_file.h"
#include "model/carrier_list.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace orvane::cli {

// "orvane-cli: text" and a line end on standard error.
void printMessage(const std::string& text);
// The problem and the command's usage on standard error; the usage exit status.
int usageError(const std::string& problem, const char* usage);
bool wantsHelp(const std::vector<std::string>& args);
// The finite number after option args[i], with i moved onto it; otherwise false, with
// "COMMAND: OPTION needs a finite number" and the usage printed.
bool readFiniteNumber(const std::vector<std::string>& args, std::size_t& i, double& value,
                      const char* command, const char* usage);
// Prints text on standard output; a full disk or a closed pipe is a failure too.
int printText(const std::string& text);
int printDocument(const nlohmann::ordered_json& document);
// Loads a plan and says what went wrong as the desktop program would; false when there is
// no plan to work on.
bool loadPlan(CarrierList& plan, const std::string& path, FileReadResult& result);

} // namespace orvane::cli
