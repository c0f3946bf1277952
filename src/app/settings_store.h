#pragma once

#include <string>

namespace orvane {

// The one value kept between runs: the folder last used by a file chooser, under the
// organisation "Velmora Software", the executable's base name, group "INIT", key "LAST_PATH".
// Absent: the program folder. A store that cannot be read gives an empty text.
std::string readLastPath(const std::string& programDirectory);
// An empty path is written as an empty text.
void writeLastPath(const std::string& lastPath);

// The intermodulation panel's boxes as the user left them, kept in group "INTERMOD" of the
// same store. Absent values read as the defaults.
struct IntermodInputs {
    std::string ip3Dbw; // empty: hits only
    std::string guardKhz = "0";
    std::string warningCimDb = "20";
};
IntermodInputs readIntermodInputs();
void writeIntermodInputs(const IntermodInputs& inputs);

} // namespace orvane
