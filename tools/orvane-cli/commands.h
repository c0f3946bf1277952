#pragma once

#include <string>
#include <vector>

namespace orvane::cli {

// Exit statuses shared by every subcommand.
constexpr int exitSuccess = 0;
constexpr int exitInputFailed = 1; // an input cannot be read or yields nothing
constexpr int exitUsage = 2;

// Each subcommand takes the arguments after its name.
int runDump(const std::vector<std::string>& args);
int runResave(const std::vector<std::string>& args);
int runModcod(const std::vector<std::string>& args);
int runReport(const std::vector<std::string>& args);
int runImage(const std::vector<std::string>& args);
int runAnalyse(const std::vector<std::string>& args);
int runPlace(const std::vector<std::string>& args);
int runSimulate(const std::vector<std::string>& args);

} // namespace orvane::cli
