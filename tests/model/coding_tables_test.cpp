#include "model/coding_tables.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct FecCase {
    double rate;
    int expected;
};

class FecRateIndexTest : public ::testing::TestWithParam<FecCase> {};

TEST_P(FecRateIndexTest, MatchesOnFiveDecimalsOfBothSides)
{
    EXPECT_EQ(fecRateIndex(GetParam().rate), GetParam().expected) << GetParam().rate;
}

INSTANTIATE_TEST_SUITE_P(Values, FecRateIndexTest,
                         ::testing::Values(FecCase{0.888889, 10}, FecCase{0.33333, 1},
                                           FecCase{0.66667, 5}, FecCase{0.833331, 8},
                                           FecCase{0.83334, -1}, FecCase{0.8888, -1},
                                           FecCase{0.0, -1}, FecCase{1.0, -1}));

TEST(FecRateIndex, EveryNamedRateFindsItself)
{
    for (std::size_t i = 0; i < fecRateValues.size(); ++i)
        EXPECT_EQ(fecRateIndex(fecRateValues[i]), static_cast<int>(i)) << fecRateNames[i];
    EXPECT_EQ(fecOtherPosition, 12);
}

TEST(ModulationPosition, FollowsTheBitsPerSymbol)
{
    EXPECT_EQ(modulationNames[static_cast<std::size_t>(modulationPosition(4))], "QPSK");
    EXPECT_EQ(modulationNames[static_cast<std::size_t>(modulationPosition(64))], "64PSK,64QAM");
    EXPECT_EQ(modulationPosition(1), -1);
    EXPECT_EQ(modulationPosition(128), -1);
}

} // namespace
} // namespace orvane
