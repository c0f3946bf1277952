#include "app/chooser_filters.h"
#include "app/help_paths.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orvane {
namespace {

struct HelpCase {
    std::uint32_t context;
    const char* expectedPage;
};

void PrintTo(const HelpCase& help, std::ostream* out)
{
    *out << "context " << help.context;
}

class HelpLocationTest : public ::testing::TestWithParam<HelpCase> {};

// A folder name may hold "::" or '>' without being taken for a page or a window.
TEST_P(HelpLocationTest, KeepsFolderBundlePageAndWindowApart)
{
    const HelpLocation location = helpLocationFor("/opt/or::vane>x", GetParam().context);
    EXPECT_EQ(location.bundlePath, "/opt/or::vane>x/Orvane.chm");
    EXPECT_EQ(location.page, GetParam().expectedPage);
    EXPECT_EQ(helpWindowTitle(location.windowType), "Orvane Help");
}

INSTANTIATE_TEST_SUITE_P(Keys, HelpLocationTest,
                         ::testing::Values(HelpCase{102, "Orvane-Window.htm"}, HelpCase{32795, ""},
                                           HelpCase{0x20000 + 138, "Orvane-AddFixed.htm"},
                                           HelpCase{0, ""}));

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
