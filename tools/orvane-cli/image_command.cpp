#include "commands.h"

#include <cstdio>

namespace orvane::cli {

int runImage(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: image is not built yet\n", stderr);
    return exitUsage;
}

}  // namespace orvane::cli
