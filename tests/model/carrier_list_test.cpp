#include "model/carrier_list.h"
#include "model/number_text.h"
#include "model/side_by_side.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, const std::string& label = "")
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, 1.35, -999.0, 1.35);
    carrier.label = label;
    return carrier;
}

// The sort exactly as the plan's procedure states it, kept plain so that its order of equal
// frequencies is the reference for the list's own sort.
void referenceQuicksort(std::vector<std::pair<double, int>>& items, long low, long high)
{
    long i = low;
    long j = high;
    const double pivot = items[static_cast<std::size_t>((low + high) / 2)].first;
    while (i <= j) {
        while (items[static_cast<std::size_t>(i)].first < pivot)
            ++i;
        while (items[static_cast<std::size_t>(j)].first > pivot)
            --j;
        if (i <= j)
            std::swap(items[static_cast<std::size_t>(i++)], items[static_cast<std::size_t>(j--)]);
    }
    if (low < j)
        referenceQuicksort(items, low, j);
    if (i < high)
        referenceQuicksort(items, i, high);
}

void expectSortedAsTheProcedure(const std::vector<double>& frequencies)
{
    CarrierList list;
    std::vector<std::pair<double, int>> items;
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        list.appendWithoutBounds(carrierAt(frequencies[i], formatInteger(long(i))));
        items.emplace_back(frequencies[i], static_cast<int>(i));
    }
    list.sortByFrequency();
    referenceQuicksort(items, 0, static_cast<long>(items.size()) - 1);
    std::string expected;
    std::string sorted;
    for (std::size_t i = 0; i < items.size(); ++i) {
        expected += formatInteger(items[i].second) + " ";
        sorted += list[static_cast<int>(i)].label + " ";
    }
    ASSERT_EQ(sorted, expected);
}

TEST(SortByFrequency, OrdersEqualFrequenciesAsTheProcedureDoes)
{
    // Every sequence of up to seven carriers over three frequencies: all the ways equal
    // frequencies can meet the pivot.
    for (int length = 2, combinations = 9; length <= 7; ++length, combinations *= 3) {
        for (int code = 0; code < combinations; ++code) {
            std::vector<double> frequencies;
            for (int i = 0, rest = code; i < length; ++i, rest /= 3)
                frequencies.push_back(6000.0 + rest % 3);
            expectSortedAsTheProcedure(frequencies);
        }
    }
    std::vector<double> frequencies;
    unsigned state = 12345;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245u + 12345u;
        frequencies.push_back(5850.0 + (state >> 16) % 40);
    }
    expectSortedAsTheProcedure(frequencies);
    // Two equal frequencies are exchanged each time.
    expectSortedAsTheProcedure({6000, 6000});
}

TEST(SortByFrequency, ReversedInputStaysShallow)
{
    CarrierList list;
    for (int i = 0; i < 200000; ++i)
        list.appendWithoutBounds(carrierAt(200000.0 - i));
    list.sortByFrequency();
    EXPECT_EQ(list[0].centreFrequencyMhz, 1.0);
    EXPECT_EQ(list[199999].centreFrequencyMhz, 200000.0);
}

// A task failing on the helper thread must not end the program: the caller gets its exception.
TEST(SideBySide, HandsAnExceptionOfEitherTaskToTheCallerAfterBoth)
{
    for (const bool helperFails : {false, true}) {
        int done = 0;
        const auto fails = [] { throw std::runtime_error("failed"); };
        const auto works = [&done] { ++done; };
        EXPECT_THROW(helperFails ? runSideBySide(works, fails) : runSideBySide(fails, works),
                     std::runtime_error);
        EXPECT_EQ(done, helperFails || std::thread::hardware_concurrency() > 1 ? 1 : 0);
    }
}

} // namespace
} // namespace orvane
