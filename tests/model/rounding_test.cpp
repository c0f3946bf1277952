#include "model/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

struct HalfUpCase {
    double x;
    int expected;
};

class RoundHalfUpTest : public ::testing::TestWithParam<HalfUpCase> {};

TEST_P(RoundHalfUpTest, HalvesGoUpward)
{
    EXPECT_EQ(roundHalfUp(GetParam().x), GetParam().expected) << GetParam().x;
    EXPECT_EQ(roundHalfUpExact(GetParam().x), GetParam().expected) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfUpTest,
                         ::testing::Values(HalfUpCase{2.5, 3}, HalfUpCase{-2.5, -2},
                                           HalfUpCase{-2.6, -3}, HalfUpCase{-0.5, 0},
                                           HalfUpCase{0.49999999999999994, 0},
                                           HalfUpCase{2147483646.5, 2147483647},
                                           HalfUpCase{-2147483648.5, -2147483648}));

TEST(RoundHalfUp, ClampsOutsideTheIntegerRangeInsteadOfOverflowing)
{
    EXPECT_EQ(roundHalfUp(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundHalfUp(std::numeric_limits<double>::infinity()),
              std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfUp(std::nan("")), 0);
}

TEST(RoundHalfUpExact, KeepsTheRuleBeyondThirtyTwoBits)
{
    EXPECT_EQ(roundHalfUpExact(4294967296.5), 4294967297.0);
    EXPECT_EQ(roundHalfUpExact(-4294967296.5), -4294967296.0);
    EXPECT_EQ(roundHalfUpExact(1e17), 1e17);
}

struct DecimalsCase {
    double x;
    int decimals;
    double expected;
};

class RoundToDecimalsTest : public ::testing::TestWithParam<DecimalsCase> {};

TEST_P(RoundToDecimalsTest, RoundsWithTheHalfUpRule)
{
    EXPECT_DOUBLE_EQ(roundToDecimals(GetParam().x, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundToDecimalsTest,
    ::testing::Values(DecimalsCase{0.125, 2, 0.13}, DecimalsCase{-0.125, 2, -0.12},
                      DecimalsCase{740.74074, 3, 740.741}, DecimalsCase{2.5, -2, 3.0},
                      DecimalsCase{-2.5, -7, -2.0}, DecimalsCase{1481.53191489, 0, 1482.0},
                      // Past 2^31 after scaling: a 32-bit rounding would saturate here.
                      DecimalsCase{4194304.0625, 3, 4194304.063},
                      DecimalsCase{-4194304.0625, 3, -4194304.062}, DecimalsCase{1e12, 3, 1e12}));

TEST(RoundToDecimals, NonFiniteValuesComeBackUnchanged)
{
    EXPECT_TRUE(std::isinf(roundToDecimals(std::numeric_limits<double>::infinity(), 3)));
    EXPECT_TRUE(std::isnan(roundToDecimals(std::nan(""), 3)));
    EXPECT_EQ(roundToDecimals(1e308, 3), 1e308);
}

TEST(IntegerPower, MultipliesAndTakesReciprocals)
{
    EXPECT_EQ(integerPower(10.0, 0), 1.0);
    EXPECT_EQ(integerPower(10.0, 3), 1000.0);
    EXPECT_DOUBLE_EQ(integerPower(10.0, -2), 0.01);
    EXPECT_EQ(integerPower(-2.0, 3), -8.0);
    EXPECT_EQ(integerPower(-1.0, 2147483647), -1.0);
    EXPECT_TRUE(std::isinf(integerPower(10.0, 400)));
}

} // namespace
} // namespace orvane
