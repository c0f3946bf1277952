#include "commands.h"

#include <cstdio>

namespace orvane::cli {

int runDump(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: dump is not built yet\n", stderr);
    return exitUsage;
}

int runResave(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: resave is not built yet\n", stderr);
    return exitUsage;
}

int runModcod(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: modcod is not built yet\n", stderr);
    return exitUsage;
}

}  // namespace orvane::cli
