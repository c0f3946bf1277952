#include "report/ordered_blocks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace orvane {
namespace {

// Six one-letter blocks; the first takes longest to format, so a block handed on as soon as it
// is ready would overtake it. Delivery stops when deliver has taken stopAfter blocks.
std::string deliveredBlocks(int stopAfter, bool& complete)
{
    std::string delivered;
    complete = deliverBlocksInOrder(
        6, 1,
        [](std::size_t block, char* out) {
            if (block == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            *out = static_cast<char>('0' + block);
            return out + 1;
        },
        [&](std::string_view text) {
            delivered += text;
            return static_cast<int>(delivered.size()) != stopAfter;
        });
    return delivered;
}

TEST(BlocksInOrder, AreDeliveredInBlockOrderUntilStopped)
{
    bool complete = false;
    EXPECT_EQ(deliveredBlocks(-1, complete), "012345");
    EXPECT_TRUE(complete);
    EXPECT_EQ(deliveredBlocks(3, complete), "012");
    EXPECT_FALSE(complete);
}

} // namespace
} // namespace orvane
