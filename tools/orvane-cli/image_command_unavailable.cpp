#include "commands.h"

#include <cstdio>

namespace orvane::cli {

int runImage(const std::vector<std::string>&)
{
    std::fputs("orvane-cli: this build has no image command (it was built without Qt)\n", stderr);
    return exitUsage;
}

} // namespace orvane::cli
