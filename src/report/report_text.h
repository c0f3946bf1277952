#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Text from a carrier file is someone else's: in an HTML report & < > and " become entities,
// so a label cannot add markup or script. TABs stay (they separate cells).
std::string escapeHtml(std::string_view text);

// The inside of a quoted CSV field: each " is doubled, everything else stays.
std::string escapeCsvQuoted(std::string_view text);

} // namespace orvane
