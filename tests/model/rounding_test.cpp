#include "model/coding_tables.h"
#include "model/rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace orvane {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

TEST(Rounding, HalvesGoUpwardAndThe32BitResultIsClamped)
{
    const std::vector<std::pair<double, int>> cases = {{2.5, 3},
                                                       {-2.5, -2},
                                                       {-2.6, -3},
                                                       {-0.5, 0},
                                                       {0.49999999999999994, 0},
                                                       {2147483646.5, INT_MAX},
                                                       {-2147483648.5, INT_MIN},
                                                       {1e12, INT_MAX},
                                                       {-1e300, INT_MIN},
                                                       {infinity, INT_MAX},
                                                       {std::nan(""), 0}};
    for (const auto& [x, expected] : cases) {
        EXPECT_EQ(roundHalfUp(x), expected) << x;
        if (std::fabs(x) < 1e10) {
            EXPECT_EQ(roundHalfUpExact(x), expected) << x;
        }
    }
    EXPECT_EQ(roundHalfUpExact(4294967296.5), 4294967297.0);
    EXPECT_EQ(roundHalfUpExact(-4294967296.5), -4294967296.0);
    EXPECT_EQ(roundHalfUpExact(1e17), 1e17);
    EXPECT_EQ(roundHalfUpExact(-infinity), -infinity);
}

TEST(Rounding, ToDecimals)
{
    const std::vector<std::tuple<double, int, double>> cases = {
        {0.125, 2, 0.13},
        {-0.125, 2, -0.12},
        {740.74074, 3, 740.741},
        {2.5, -2, 3.0},
        {-2.5, -7, -2.0},
        {1481.53191489, 0, 1482.0},
        // Past 2^31 after scaling: a 32-bit rounding would saturate here.
        {4194304.0625, 3, 4194304.063},
        {-4194304.0625, 3, -4194304.062},
        {1e12, 3, 1e12},
        // Values whose scaled form is not finite come back unchanged.
        {1e308, 3, 1e308},
        {-infinity, 3, -infinity},
        {1.5, 400, 1.5}};
    for (const auto& [x, decimals, expected] : cases)
        EXPECT_DOUBLE_EQ(roundToDecimals(x, decimals), expected) << x << " " << decimals;
    EXPECT_TRUE(std::isnan(roundToDecimals(std::nan(""), 3)));
}

TEST(Rounding, IntegerPowers)
{
    const std::vector<std::tuple<double, int, double>> cases = {
        {10.0, 0, 1.0},       {10.0, 3, 1000.0},   {10.0, -2, 0.01},      {-2.0, 3, -8.0},
        {1.1, 2, 1.21},       {0.0, 2, 0.0},       {0.0, -2, infinity},   {-1.0, INT_MAX, -1.0},
        {-1.0, 1000000, 1.0}, {1.0, INT_MIN, 1.0}, {10.0, 400, infinity}, {0.1, 400, 0.0}};
    for (const auto& [x, n, expected] : cases)
        EXPECT_DOUBLE_EQ(integerPower(x, n), expected) << x << "^" << n;
    EXPECT_TRUE(std::isnan(integerPower(std::nan(""), -3)));
}

TEST(CodingTables, FecRatesMatchOnFiveDecimalsAndModulationsOnTheirBits)
{
    for (std::size_t i = 0; i < fecRateValues.size(); ++i)
        EXPECT_EQ(fecRateIndex(fecRateValues[i]), static_cast<int>(i)) << fecRateNames[i];
    const std::vector<std::pair<double, int>> rates = {{0.33333, 1},  {0.66667, 5}, {0.833331, 8},
                                                       {0.83334, -1}, {0.8888, -1}, {0.0, -1},
                                                       {1.0, -1}};
    for (const auto& [rate, index] : rates)
        EXPECT_EQ(fecRateIndex(rate), index) << rate;
    const std::vector<std::pair<int, int>> orders = {{2, 0},  {4, 1},  {6, 2},
                                                     {64, 5}, {1, -1}, {128, -1}};
    for (const auto& [order, position] : orders)
        EXPECT_EQ(modulationPosition(order), position) << order;
}

} // namespace
} // namespace orvane
