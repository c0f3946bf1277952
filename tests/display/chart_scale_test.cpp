#include "display/chart_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

struct TickCase {
    double low;
    double high;
    int mostCount;
    std::vector<double> ticks;
};

class RoundTicks : public ::testing::TestWithParam<TickCase> {};

// Steps of 1, 2 or 5 times a power of ten, spanning the values, at most mostCount steps.
TEST_P(RoundTicks, SpanTheValuesInRoundSteps)
{
    const TickCase& c = GetParam();
    const std::vector<double> ticks = roundTicks(c.low, c.high, c.mostCount);
    ASSERT_EQ(ticks.size(), c.ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundTicks,
                         ::testing::Values(TickCase{0, 83, 5, {0, 20, 40, 60, 80, 100}},
                                           TickCase{0, 16.67, 5, {0, 5, 10, 15, 20}},
                                           TickCase{-3.2, 19.6, 4, {-10, 0, 10, 20}},
                                           TickCase{0, 20, 4, {0, 5, 10, 15, 20}},
                                           TickCase{5, 15, 1, {0, 20}},
                                           TickCase{0.004, 0.0113, 3, {0, 0.005, 0.01, 0.015}},
                                           TickCase{7, 7, 5, {7}}, TickCase{1, 0, 5, {}}));

// Groups of bars over every width and count: inside the pixels, each bar a pixel or more, in
// order and never overlapping while there is a pixel per bar.
TEST(GroupedBars, StayInsideInOrderWithoutOverlapping)
{
    for (int width = 1; width <= 300; width += 7) {
        for (int groups = 1; groups <= 40; ++groups) {
            int previousTo = 10;
            for (int group = 0; group < groups; ++group) {
                for (int bar = 0; bar < 2; ++bar) {
                    const PixelSpan span = groupedBarSpan(10, 10 + width, groups, 2, group, bar);
                    EXPECT_GE(span.to - span.from, 1);
                    EXPECT_GE(span.from, 10);
                    if (width >= 2 * groups) {
                        EXPECT_GE(span.from, previousTo) << width << " " << groups;
                        EXPECT_LE(span.to, 10 + width);
                    }
                    previousTo = span.to;
                }
            }
        }
    }
    const LinearScale scale{0.0, 20.0, 100.0, 0.0}; // a y axis: 0 at the bottom
    EXPECT_DOUBLE_EQ(scale.pixel(5.0), 75.0);
}

} // namespace
} // namespace orvane
