#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The page of the help bundle for a help key ("::/Orvane-Window.htm"); empty for a key
// without a page of its own, which opens the bundle's default page.
std::string helpTopicFor(unsigned key);

// The full help request for a context: program folder + "/Orvane.chm" + topic + ">main".
// Only the low 16 bits of the context count.
std::string helpPathFor(const std::string& programDirectory, std::uint32_t context);

// A help request taken apart: the bundle file, the page inside it (empty: the default page)
// and the window type after '>'.
struct HelpLocation {
    std::string bundlePath;
    std::string page;
    std::string windowType;
};
HelpLocation splitHelpPath(const std::string& helpPath);

// The help window's title for a window type ("main" gives "Orvane Help").
std::string helpWindowTitle(const std::string& windowType);

} // namespace orvane
