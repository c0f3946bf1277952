#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace orvane {
namespace {

struct PrefixCase {
    const char* text;
    double value;
    std::size_t consumed;
    bool outOfRange;
};

class ReadNumberPrefixTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(ReadNumberPrefixTest, ReadsLikeStrtodInTheCLocale)
{
    const NumberPrefix number = readNumberPrefix(GetParam().text);
    EXPECT_EQ(number.consumed, GetParam().consumed) << GetParam().text;
    EXPECT_EQ(number.outOfRange, GetParam().outOfRange) << GetParam().text;
    if (std::isfinite(GetParam().value)) {
        EXPECT_DOUBLE_EQ(number.value, GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadNumberPrefixTest,
    ::testing::Values(PrefixCase{"5900.00000 36000.000 TV1", 5900.0, 10, false},
                      PrefixCase{"  -3e2,rest", -300.0, 6, false},
                      PrefixCase{"\t+.5x", 0.5, 4, false}, PrefixCase{"12,5", 12.0, 2, false},
                      PrefixCase{"0x1p3 label", 8.0, 5, false},
                      PrefixCase{"EC list", 0.0, 0, false}, PrefixCase{"", 0.0, 0, false},
                      PrefixCase{"   ", 0.0, 0, false}, PrefixCase{"-", 0.0, 0, false},
                      PrefixCase{"1e", 1.0, 1, false}, PrefixCase{"1e999", HUGE_VAL, 5, true}));

TEST(ReadNumberPrefix, ReadsInfinityAndNanSoThatReadersCanRefuseThem)
{
    EXPECT_TRUE(std::isinf(readNumberPrefix("inf 3").value));
    EXPECT_EQ(readNumberPrefix("inf 3").consumed, 3u);
    EXPECT_TRUE(std::isnan(readNumberPrefix("nan(123) x").value));
    EXPECT_EQ(readNumberPrefix("nan(123) x").consumed, 8u);
}

TEST(ReadNumberPrefix, StopsAtNulAndReadsLongDigitRunsWhole)
{
    const std::string withNul("12\0"
                              "34",
                              5);
    EXPECT_EQ(readNumberPrefix(withNul).consumed, 2u);
    const std::string digits = "1" + std::string(400, '0') + " label";
    const NumberPrefix number = readNumberPrefix(digits);
    EXPECT_EQ(number.consumed, 401u);
    EXPECT_TRUE(std::isinf(number.value));
    EXPECT_TRUE(number.outOfRange);
}

TEST(NumberText, FormatsLikePrintfWithADecimalPoint)
{
    EXPECT_EQ(formatFixed(-1.0, 7, 5), "-1.00000");
    EXPECT_EQ(formatFixed(0.5, 8, 3), "   0.500");
    EXPECT_EQ(formatFixed(204.0 / 188.0, 8, 6), "1.085106");
    EXPECT_EQ(formatGeneral(740.741), "740.741");
    EXPECT_EQ(formatShortest(0.1), "0.1");
    EXPECT_EQ(formatInteger(-42), "-42");
    double value = 0;
    EXPECT_TRUE(parseWholeNumber(" 2.5 ", value));
    EXPECT_EQ(value, 2.5);
    EXPECT_FALSE(parseWholeNumber("2,5", value));
}

} // namespace
} // namespace orvane
