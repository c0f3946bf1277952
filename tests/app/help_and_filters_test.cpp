#include "app/chooser_filters.h"
#include "app/help_paths.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orvane {
namespace {

struct HelpCase {
    std::uint32_t context;
    const char* expectedPath;
};

void PrintTo(const HelpCase& help, std::ostream* out)
{
    *out << "context " << help.context;
}

class HelpPathTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpPathTest, PathHasFolderBundleTopicAndWindow)
{
    EXPECT_EQ(helpPathFor("/opt/orvane", GetParam().context), GetParam().expectedPath);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HelpPathTest,
    ::testing::Values(HelpCase{102, "/opt/orvane/Orvane.chm::/Orvane-Window.htm>main"},
                      HelpCase{32795, "/opt/orvane/Orvane.chm>main"},
                      HelpCase{0x20000 + 138, "/opt/orvane/Orvane.chm::/Orvane-AddFixed.htm>main"},
                      HelpCase{0, "/opt/orvane/Orvane.chm>main"}));

TEST(HelpPath, SplitsIntoBundlePageAndWindow)
{
    const HelpLocation page = splitHelpPath("/opt/orvane/Orvane.chm::/Orvane-Window.htm>main");
    EXPECT_EQ(page.page, "Orvane-Window.htm");
    EXPECT_EQ(page.windowType, "main");

    const HelpLocation start = splitHelpPath("/opt/orvane/Orvane.chm>main");
    EXPECT_EQ(start.bundlePath, "/opt/orvane/Orvane.chm");
    EXPECT_EQ(start.page, "");
    EXPECT_EQ(helpWindowTitle(start.windowType), "Orvane Help");
}

TEST(ChooserFilters, KeepEntriesAndOrder)
{
    EXPECT_EQ(chooserFilterList("Text Files (*.txt)|*.txt|Carrier Files (*.carriers.txt)|"
                                "*.carriers.txt|All Files (*.*)|*.*||"),
              (std::vector<std::string>{"Text Files (*.txt)", "Carrier Files (*.carriers.txt)",
                                        "All Files (*)"}));
    EXPECT_EQ(chooserFilterList("Pictures|*.bmp;*.png||"),
              (std::vector<std::string>{"Pictures (*.bmp *.png)"}));
    EXPECT_TRUE(chooserFilterList("").empty());
    // A name typed without an extension gets the first pattern's.
    EXPECT_EQ(defaultSuffixOf("Carrier Files (*.carriers.txt)"), "carriers.txt");
    EXPECT_EQ(defaultSuffixOf("Pictures (*.bmp *.png)"), "bmp");
    EXPECT_EQ(defaultSuffixOf("All Files (*)"), "");
}

} // namespace
} // namespace orvane
