#include "report/ordered_blocks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace orvane {
namespace {

struct OrderCase {
    int stopAfter; // blocks delivered before deliver says stop; -1: never stops
    const char* delivered;
};

class BlocksInOrder : public ::testing::TestWithParam<OrderCase> {};

// The first block takes longest to format, so a block delivered when ready would overtake it.
TEST_P(BlocksInOrder, AreDeliveredInBlockOrderUntilStopped)
{
    std::string delivered;
    int count = 0;
    const bool complete = deliverBlocksInOrder(
        6, 4,
        [](std::size_t block, char* out) {
            if (block == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            *out = static_cast<char>('0' + block);
            return out + 1;
        },
        [&](std::string_view text) {
            delivered += text;
            return ++count != GetParam().stopAfter;
        });
    EXPECT_EQ(delivered, GetParam().delivered);
    EXPECT_EQ(complete, GetParam().stopAfter < 0);
}

INSTANTIATE_TEST_SUITE_P(Blocks, BlocksInOrder,
                         ::testing::Values(OrderCase{-1, "012345"}, OrderCase{3, "012"}));

} // namespace
} // namespace orvane
