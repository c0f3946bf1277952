#include "commands/display_check.h"

#include "model/program_identity.h"

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

std::string unreachableDisplayText(const std::function<const char*(const char* name)>& environment)
{
    std::string named;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0') {
            named = std::string(name) + "=" + value;
            break;
        }
    }
    return "orvane: the display could not be opened (" + named +
           "); to show the window remotely, start it with QT_QPA_PLATFORM=vnc:port=5900 and "
           "connect a VNC viewer";
}

std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments)
{
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--version" || argument == "-v")
            return std::string(versionText) + "\n";
        if (argument == "--help" || argument == "-h")
            return "Usage: orvane [PLAN]\n"
                   "Plans the carriers that share a satellite transponder. PLAN is a carrier "
                   "file to open at start.\n\n"
                   "  -h, --help     show this help and leave\n"
                   "  -v, --version  show the version and leave\n\n"
                   "Qt's options, such as -platform offscreen, are taken too. Without a display "
                   "orvane-cli does the same work on files.\n";
    }
    return std::nullopt;
}

} // namespace orvane
