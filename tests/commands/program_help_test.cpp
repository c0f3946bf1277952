#include "commands/chooser_filters.h"
#include "commands/display_check.h"
#include "commands/help_paths.h"
#include "commands/help_request.h"
#include "model/program_identity.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Every page a help key names is in the help folder. A folder name may hold "::" or '>'
// without being taken for a page or a window; only the context's low 16 bits count.
TEST(HelpLocation, EveryKeysPageExistsAndTheBundleIsInTheProgramsFolder)
{
    int pages = 0;
    for (unsigned key = 0; key < 0x10000; ++key) {
        const std::string page = helpTopicFor(key);
        pages += !page.empty();
        EXPECT_TRUE(page.empty() || std::filesystem::exists(ORVANE_SOURCE_DIR "/help/" + page))
            << page;
    }
    EXPECT_GT(pages, 10);
    const HelpLocation location =
        helpLocationFor("/opt/or::vane>x", 0x20000 + helpKey::fixedCarrier);
    EXPECT_EQ(location.bundlePath, "/opt/or::vane>x/Orvane.chm");
    EXPECT_EQ(location.page, "Orvane-AddFixed.htm");
    EXPECT_EQ(helpWindowTitle(location.windowType), "Orvane Help");
    EXPECT_EQ(helpLocationFor("/opt/orvane", helpKey::helpMenu).page, "");
}

// A window-system platform chosen or a display named, not empty; the version and the usage are
// answered without a window.
TEST(ProgramStart, NeedsADisplayOnlyToShowTheWindow)
{
    const auto only = [](const char* set) {
        return [set](const char* name) { return std::string(name) == set ? "x" : nullptr; };
    };
    EXPECT_TRUE(displayAvailable(only("WAYLAND_DISPLAY"), {}));
    EXPECT_TRUE(displayAvailable(only("QT_QPA_PLATFORM"), {}));
    EXPECT_TRUE(displayAvailable(only("HOME"), {"orvane", "-platform", "offscreen"}));
    EXPECT_FALSE(displayAvailable(only("HOME"), {"orvane", "plan.txt"}));
    EXPECT_FALSE(displayAvailable([](const char*) { return ""; }, {"orvane"}));
    for (const char* version : {"--version", "-v"})
        EXPECT_EQ(commandLineAnswer({"orvane", "plan.txt", version}),
                  versionText + std::string("\n"));
    for (const char* help : {"--help", "-h"})
        EXPECT_EQ(commandLineAnswer({"orvane", help})->rfind("Usage: orvane [PLAN]\n", 0), 0u);
    EXPECT_FALSE(commandLineAnswer({"orvane", "plan.txt"}));
}

TEST(ChooserFilters, KeepEntriesAndOrderAndGiveTheFirstPatternsExtension)
{
    EXPECT_EQ(chooserFilterList("Text Files (*.txt)|*.txt|Carrier Files (*.carriers.txt)|"
                                "*.carriers.txt|All Files (*.*)|*.*||"),
              (std::vector<std::string>{"Text Files (*.txt)", "Carrier Files (*.carriers.txt)",
                                        "All Files (*)"}));
    EXPECT_EQ(chooserFilterList("Pictures |*.bmp;*.png|Broken"),
              (std::vector<std::string>{"Pictures (*.bmp *.png)"}));
    EXPECT_TRUE(chooserFilterList("").empty());
    EXPECT_EQ(defaultSuffixOf("Carrier Files (*.carriers.txt)"), "carriers.txt");
    EXPECT_EQ(defaultSuffixOf("Pictures (*.bmp *.png)"), "bmp");
    EXPECT_EQ(defaultSuffixOf("All Files (*)"), "");
    EXPECT_EQ(defaultSuffixOf("Odd (*.x"), "x");
}

} // namespace
} // namespace orvane
