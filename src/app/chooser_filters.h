#pragma once

#include <string>
#include <vector>

namespace orvane {

// A chooser's filter text in the "Name|patterns|Name|patterns||" form, as entries of a Qt
// name-filter list in the same order ("Text Files (*.txt)"). "*.*" becomes "*", so that files
// without a dot in their name are offered too.
std::vector<std::string> chooserFilterList(const std::string& filterText);

} // namespace orvane
