#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The page of the help bundle for a help key ("Orvane-Window.htm"); empty for a key without a
// page of its own, which opens the bundle's default page.
std::string helpTopicFor(unsigned key);

// Where a help request goes: the bundle file, the page inside it (empty: the default page) and
// the help window type. Kept apart so that no folder name can be mistaken for a page.
struct HelpLocation {
    std::string bundlePath;
    std::string page;
    std::string windowType;
};

// The help request for a context: the bundle "Orvane.chm" in the program folder, the key's
// page and the "main" window. Only the low 16 bits of the context count.
HelpLocation helpLocationFor(const std::string& programDirectory, std::uint32_t context);

// The help window's title for a window type ("main" gives "Orvane Help").
std::string helpWindowTitle(const std::string& windowType);

} // namespace orvane
