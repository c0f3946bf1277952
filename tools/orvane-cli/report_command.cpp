#include "commands.h"

#include <cstdio>

namespace orvane::cli {

int runReport(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: report is not built yet\n", stderr);
    return exitUsage;
}

}  // namespace orvane::cli
