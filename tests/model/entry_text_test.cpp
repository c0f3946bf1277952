#include "model/entry_text.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct NumberCase {
    const char* text;
    std::optional<double> number;
    std::optional<int> integer;
    int leading;
};

class EntryText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(EntryText, ReadsWholeFiniteNumbersAndLeadingDigits)
{
    const NumberCase& c = GetParam();
    EXPECT_EQ(readEntryNumber(c.text), c.number) << c.text;
    EXPECT_EQ(readEntryInteger(c.text), c.integer) << c.text;
    EXPECT_EQ(leadingInteger(c.text), c.leading) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EntryText,
    ::testing::Values(NumberCase{"  -25 ", -25.0, -25, -25}, NumberCase{"1.", 1.0, {}, 1},
                      NumberCase{"-", {}, {}, 0}, NumberCase{"", {}, {}, 0},
                      NumberCase{"1,5", {}, {}, 1}, NumberCase{"204abc", {}, {}, 204},
                      NumberCase{"+7", 7.0, 7, 7}, NumberCase{"inf", {}, {}, 0},
                      NumberCase{"1e999", {}, {}, 1},
                      NumberCase{"-2147483648", -2147483648.0, -2147483647 - 1, -2147483647},
                      NumberCase{"2147483648", 2147483648.0, {}, 2147483647}));

TEST(FileRange, LimitMessageNamesTheQuantityAndUnit)
{
    EXPECT_TRUE(fitsInFile(-1e12));
    EXPECT_FALSE(fitsInFile(1.0000001e12));
    EXPECT_FALSE(fitsInFile(std::nan("")));
    EXPECT_EQ(outsideFileRangeText("frequency", "MHz"),
              "The frequency must lie between -1000000000000 and 1000000000000 MHz.");
    EXPECT_EQ(outsideFileRangeText("FEC rate", "", 1e9),
              "The FEC rate must lie between -1000000000 and 1000000000.");
}

} // namespace
} // namespace orvane
