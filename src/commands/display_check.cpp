#include "commands/display_check.h"

namespace orvane {

bool displayAvailable(const std::function<const char*(const char* name)>& environment,
                      const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
        if (argument == "-platform" || argument == "--platform")
            return true;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

} // namespace orvane
