#pragma once

namespace orvane {

// The program's name as its windows and message boxes show it.
inline constexpr const char* programCaption = "Orvane";

// "Orvane Version 2.0": the About box, the report's generator and the carrier file's header
// line. The number is the project version the build passes in.
inline constexpr const char* versionText = "Orvane Version " ORVANE_VERSION;

} // namespace orvane
