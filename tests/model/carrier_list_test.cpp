#include "model/carrier_list.h"
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, const std::string& label = "", double bandwidthMhz = 1.35,
                  double powerDbw = -999.0)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, powerDbw, 1.35);
    carrier.label = label;
    return carrier;
}

Carrier withSymbolRate(double centreMhz, double symbolRateKsps, double powerDbw)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, symbolRateKsps, powerDbw, 1.35);
    return carrier;
}

// Lowest and highest edge, then level floor and ceiling.
std::string bounds(const CarrierList& list)
{
    return formatGeneral(list.lowestEdgeMhz(), 10) + ".." +
           formatGeneral(list.highestEdgeMhz(), 10) + " " + formatGeneral(list.levelFloor(), 10) +
           ".." + formatGeneral(list.levelCeiling(), 10);
}

std::string labels(const CarrierList& list)
{
    std::string text;
    for (const Carrier& carrier : list)
        text += carrier.label + " ";
    return text;
}

struct BoundsCase {
    const char* name;
    std::vector<Carrier> carriers;
    std::string bounds;
};

class CarrierListBounds : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(CarrierListBounds, GiveTheEdgesAndTheLevelScale)
{
    CarrierList appended;
    CarrierList recomputed;
    for (const Carrier& carrier : GetParam().carriers) {
        appended.append(carrier);
        recomputed.appendWithoutBounds(carrier);
    }
    EXPECT_EQ(bounds(appended), GetParam().bounds);
    recomputed.updateBounds();
    EXPECT_EQ(bounds(recomputed), GetParam().bounds);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CarrierListBounds,
    ::testing::Values(
        // The floor lies 20 dB below the lowest density, once that is below 20 dB above 0.
        BoundsCase{"OneDefaultCarrier", {Carrier()}, "5999.325..6000.675 -30..-10"},
        BoundsCase{"DensityJustAboveTwenty",
                   {withSymbolRate(6000, 1, 20.05)},
                   "5999.999325..6000.000675 0..20.05"},
        BoundsCase{"DensityJustBelowTwenty",
                   {withSymbolRate(6000, 1, 19.5)},
                   "5999.999325..6000.000675 -0.5..19.5"},
        BoundsCase{"ZeroWidthCarrier", {carrierAt(6000.0, "", 0.0)}, "0..0 0..20"},
        BoundsCase{"MixedDensities",
                   {withSymbolRate(6000, 1000, 20), withSymbolRate(6010, 100, -5),
                    carrierAt(6020, "", 1.0), withSymbolRate(6030, 100, -998.5)},
                   "5999.325..6030.0675 -45..-10"},
        BoundsCase{"AboveOneHundredGigahertz",
                   {carrierAt(120000.0, "", 2.0), carrierAt(110000.0, "", 4.0)},
                   "109998..120001 0..20"},
        // The running maximum starts at 0 MHz, so a plan below 0 MHz reaches up to 0.
        BoundsCase{"BelowZero", {carrierAt(-5.0, "", 2.0)}, "-6..0 0..20"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CarrierList, EveryChangeKeepsTheBoundsOfAFullRecomputation)
{
    CarrierList list;
    list.append(withSymbolRate(6000.0, 1000.0, 20.0));
    list.append(withSymbolRate(5950.0, 500.0, 30.0));
    list.append(carrierAt(6100.0, "", 4.0));
    const auto change = [&list](const std::string& expected) {
        CarrierList copy = list;
        copy.updateBounds();
        EXPECT_EQ(bounds(list), bounds(copy));
        EXPECT_EQ(bounds(list), expected);
    };
    change("5949.6625..6102 -30..3.010299957");
    list.replaceAt(*list.findIndex(1), carrierAt(5800.0, "", 10.0));
    change("5795..6102 -30..-10");
    list.removeAt(*list.findIndex(2));
    change("5795..6000.675 -30..-10");
    list.shift(10.0);
    change("5805..6010.675 -30..-10");
    list.scrunch(5000.0);
    change("5000..5011.35 -30..-10");
    // After appending without bounds, a later append publishes the whole list's bounds.
    list.appendWithoutBounds(carrierAt(4000.0, "", 2.0));
    list.append(carrierAt(7000.0, "", 2.0, 40.0));
    change("3999..7001 -30..8.293037728");
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(bounds(list), "3999..7001 -30..8.293037728") << "removing all keeps the bounds";
    list.append(carrierAt(8000.0, "", 2.0));
    EXPECT_EQ(bounds(list), "7999..8001 0..20") << "the next append starts afresh";
    list.removeAt(*list.findIndex(0));
    EXPECT_EQ(bounds(list), "0..0 0..20");
}

TEST(CarrierList, PositionsStayValidWhileOthersComeAndGo)
{
    CarrierList list;
    for (const char* label : {"A", "B", "C", "D"})
        list.append(carrierAt(6000.0, label));
    const CarrierPosition positionOfC = *list.findIndex(2);
    const CarrierPosition positionOfA = *list.findIndex(0);
    EXPECT_FALSE(list.findIndex(4));
    EXPECT_FALSE(list.findIndex(-1));
    list.removeAt(*list.findIndex(1));
    for (int i = 0; i < 50; ++i)
        list.append(carrierAt(6000.0 + i, "x"));
    list.removeAt(positionOfA);
    EXPECT_EQ(list.at(positionOfC).label, "C");
    EXPECT_EQ(list.indexOf(positionOfC), 0);
    EXPECT_EQ(list.indexOf(*list.findIndex(7)), 7);
    EXPECT_FALSE(list.indexOf(positionOfA)) << "a removed place is no longer in the list";
    EXPECT_EQ(list.at(positionOfA).label, "") << "nor its carrier";
    list.replaceAt(positionOfC, carrierAt(5000.0, "C2"));
    list.replaceAt(positionOfA, carrierAt(5000.0, "A2"));
    list.removeAt(positionOfA);
    EXPECT_EQ(list.count(), 52);
    EXPECT_EQ(labels(list).substr(0, 8), "C2 D x x");
    // A sort moves contents, not places.
    list.sortByFrequency();
    EXPECT_EQ(list.at(*list.findIndex(0)).label, "C2");
    EXPECT_EQ(list.at(positionOfC).label, "C2");
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
    for (const auto& item : items)
        expected += formatInteger(item.second) + " ";
    ASSERT_EQ(labels(list), expected);
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

TEST(CarrierList, ShiftMirrorsBelowZeroAndScrunchPacksFromTheStart)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A", 2.0));
    list.append(carrierAt(6100.0, "B", 2.0));
    list.shift(-7000.0);
    EXPECT_EQ(list[0].centreFrequencyMhz, 1000.0);
    EXPECT_EQ(list[1].centreFrequencyMhz, 900.0);
    // Edge to edge from the start up, centres rounded to 1 kHz; no width takes no room.
    list.append(carrierAt(950.0, "C", 0.0012345));
    list.append(carrierAt(950.0, "D", 0.0));
    list.scrunch(100.0);
    std::string placed;
    for (const Carrier& carrier : list)
        placed += carrier.label + formatGeneral(carrier.centreFrequencyMhz, 10) + " ";
    EXPECT_EQ(placed, "B101 D102 C102.001 A103.002 ");
    EXPECT_EQ(bounds(list), "100..104.002 0..20");
}

} // namespace
} // namespace orvane
