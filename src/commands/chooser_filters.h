#pragma once

#include <string>
#include <vector>

namespace orvane {

// A chooser's filter text in the "Name|patterns|Name|patterns||" form, as entries of a Qt
// name-filter list in the same order ("Text Files (*.txt)"). "*.*" becomes "*", so that files
// without a dot in their name are offered too.
std::vector<std::string> chooserFilterList(const std::string& filterText);

// The extension a name typed under a Qt name filter gets: that of its first pattern
// ("PNG Images (*.png)" gives "png"); empty when the pattern names none ("All Files (*)").
std::string defaultSuffixOf(const std::string& nameFilter);

} // namespace orvane
