#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// What the program says, on one line, when it starts where no window can be shown.
inline constexpr const char* noDisplayText =
    "orvane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); to show the window "
    "remotely, start it with QT_QPA_PLATFORM=vnc:port=5900 and connect a VNC viewer";

// Whether the desktop program can show its window: a window-system platform chosen explicitly
// (QT_QPA_PLATFORM, or Qt's -platform argument), or an X or Wayland display named. Empty
// values count as unset.
bool displayAvailable(const std::function<const char*(const char* name)>& environment,
                      const std::vector<std::string>& arguments);

// What the program says, on one line, when the display it names cannot be reached.
std::string unreachableDisplayText(const std::function<const char*(const char* name)>& environment);

// What the program answers on standard output without showing a window: its version for
// --version (or -v), how to start it for --help (or -h); none for any other command line.
std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments);

} // namespace orvane
