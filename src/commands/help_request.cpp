#include "commands/help_request.h"

#include <utility>

namespace orvane {

namespace {
std::function<void(unsigned)>& helpHandler()
{
    static std::function<void(unsigned)> handler;
    return handler;
}
} // namespace

void setHelpHandler(std::function<void(unsigned)> handler)
{
    helpHandler() = std::move(handler);
}

void requestHelp(unsigned key)
{
    if (helpHandler())
        helpHandler()(key);
}

} // namespace orvane
