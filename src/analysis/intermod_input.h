#pragma once

#include <optional>
#include <string>

namespace orvane {

// The intercept points and guards the analysis takes. Beyond them nothing is physical and the
// numbers stop behaving: an IP3 of 1e200 dBW prints 200-digit levels, one of 1e308 overflows
// every level, and a huge guard makes every product hit every carrier.
inline constexpr double largestIntermodIp3Dbw = 1000.0; // in size
inline constexpr double largestIntermodGuardKhz = 1e6;

// Why the analysis cannot take this intercept point (none: only hits) or guard, as the message
// to show; none when it can. The panel and orvane-cli ask before analysing, and the analysis
// refuses the same inputs itself.
std::optional<std::string> intermodInputProblem(std::optional<double> ip3Dbw, double guardKhz);

} // namespace orvane
