#include "model/carrier_list.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

Carrier carrierAt(double centreMhz, const std::string& label, double bandwidthMhz = 1.35,
                  double powerDbw = 20.0)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, powerDbw, 1.35);
    carrier.label = label;
    return carrier;
}

std::vector<std::string> labelsOf(const CarrierList& list)
{
    std::vector<std::string> labels;
    for (const Carrier& carrier : list)
        labels.push_back(carrier.label);
    return labels;
}

struct Bounds {
    double lowest, highest, floor, ceiling;
};

void expectBounds(const CarrierList& list, Bounds expected)
{
    EXPECT_DOUBLE_EQ(list.lowestEdgeMhz(), expected.lowest);
    EXPECT_DOUBLE_EQ(list.highestEdgeMhz(), expected.highest);
    EXPECT_DOUBLE_EQ(list.levelFloor(), expected.floor);
    EXPECT_DOUBLE_EQ(list.levelCeiling(), expected.ceiling);
}

struct BoundsCase {
    const char* name;
    std::vector<Carrier> carriers;
    Bounds expected;
};

class UpdateBoundsTest : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(UpdateBoundsTest, GivesTheEdgesAndTheLevelScale)
{
    CarrierList appended;
    for (const Carrier& carrier : GetParam().carriers)
        appended.append(carrier);
    expectBounds(appended, GetParam().expected);

    // The incremental bounds of append must equal a full recomputation.
    CarrierList recomputed;
    for (const Carrier& carrier : GetParam().carriers)
        recomputed.appendWithoutBounds(carrier);
    recomputed.updateBounds();
    expectBounds(recomputed, GetParam().expected);
}

Carrier withSymbolRate(double centreMhz, double kspsRate, double powerDbw)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(centreMhz, kspsRate, powerDbw, 1.35);
    return carrier;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateBoundsTest,
    ::testing::Values(
        BoundsCase{"OneDefaultCarrier", {Carrier()}, {5999.325, 6000.675, -30.0, -10.0}},
        // Density 25 is not below 0 + 20: the floor stays 0.
        BoundsCase{"DensityAboveTwenty",
                   {withSymbolRate(6000.0, 1.0, 25.0)},
                   {6000.0 - 0.000675, 6000.0 + 0.000675, 0.0, 25.0}},
        BoundsCase{"ZeroWidthCarrier", {carrierAt(6000.0, "", 0.0, -999.0)}, {0.0, 0.0, 0.0, 20.0}},
        BoundsCase{"NoLevels",
                   {carrierAt(5900.0, "", 36.0, -999.0), carrierAt(6100.0, "", 2.0, -999.0)},
                   {5882.0, 6101.0, 0.0, 20.0}},
        BoundsCase{"MixedDensities",
                   {withSymbolRate(6000.0, 1000.0, 20.0), withSymbolRate(6010.0, 100.0, -5.0),
                    carrierAt(6020.0, "", 1.0, -999.0)},
                   {5999.325, 6020.5, -45.0, -10.0}},
        // Plans above 100 GHz keep their real lowest edge.
        BoundsCase{"AboveOneHundredGigahertz",
                   {carrierAt(120000.0, "", 2.0, -999.0), carrierAt(110000.0, "", 4.0, -999.0)},
                   {109998.0, 120001.0, 0.0, 20.0}},
        // The running maximum starts at 0 MHz, so a plan below 0 MHz reaches up to 0.
        BoundsCase{"BelowZero", {carrierAt(-5.0, "", 2.0, -999.0)}, {-6.0, 0.0, 0.0, 20.0}}),
    [](const ::testing::TestParamInfo<BoundsCase>& info) { return info.param.name; });

TEST(CarrierList, EveryChangeKeepsTheBoundsOfAFullRecomputation)
{
    CarrierList list;
    list.append(withSymbolRate(6000.0, 1000.0, 20.0));
    list.append(withSymbolRate(5950.0, 500.0, 30.0));
    list.append(carrierAt(6100.0, "", 4.0, -999.0));
    const auto check = [&list] {
        CarrierList copy = list;
        copy.updateBounds();
        expectBounds(list, {copy.lowestEdgeMhz(), copy.highestEdgeMhz(), copy.levelFloor(),
                            copy.levelCeiling()});
    };
    check();
    list.replaceAt(*list.findIndex(1), carrierAt(5800.0, "", 10.0, -999.0));
    check();
    list.removeAt(*list.findIndex(2));
    check();
    list.shift(10.0);
    check();
    list.scrunch(5000.0);
    check();
    list.append(carrierAt(7000.0, "", 2.0, 40.0));
    check();
    // After appending without bounds, a later append still publishes the whole list's bounds.
    list.appendWithoutBounds(carrierAt(4000.0, "", 2.0, -999.0));
    list.append(carrierAt(4500.0, "", 2.0, -999.0));
    check();
    EXPECT_DOUBLE_EQ(list.lowestEdgeMhz(), 3999.0);
}

TEST(CarrierList, RemoveAllKeepsTheBoundsAndTheNextAppendStartsAfresh)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A", 2.0, 20.0));
    const double lowest = list.lowestEdgeMhz();
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.lowestEdgeMhz(), lowest);
    list.append(carrierAt(7000.0, "B", 2.0, -999.0));
    expectBounds(list, {6999.0, 7001.0, 0.0, 20.0});
}

TEST(CarrierList, RemovingTheOnlyCarrierGivesTheEmptyPlanBounds)
{
    CarrierList list;
    list.append(Carrier());
    list.removeAt(*list.findIndex(0));
    expectBounds(list, {0.0, 0.0, 0.0, 20.0});
    EXPECT_FALSE(list.findIndex(0));
}

TEST(CarrierList, PositionsStayValidWhileOthersComeAndGo)
{
    CarrierList list;
    for (const char* label : {"A", "B", "C", "D"})
        list.append(carrierAt(6000.0, label));
    const CarrierPosition positionOfC = *list.findIndex(2);
    const CarrierPosition positionOfA = *list.findIndex(0);

    list.removeAt(*list.findIndex(1));
    for (int i = 0; i < 50; ++i)
        list.append(carrierAt(6000.0 + i, "x"));
    list.removeAt(positionOfA);
    EXPECT_EQ(list.at(positionOfC).label, "C");
    EXPECT_EQ(list.indexOf(positionOfC), 0);
    EXPECT_FALSE(list.indexOf(positionOfA)) << "a removed place is no longer in the list";

    list.replaceAt(positionOfC, carrierAt(5000.0, "C2"));
    EXPECT_EQ(list.at(positionOfC).label, "C2");
    EXPECT_EQ(list[0].label, "C2");
    // Removing a place that is gone already changes nothing.
    const int before = list.count();
    list.removeAt(positionOfA);
    EXPECT_EQ(list.count(), before);
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
        if (i <= j) {
            std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
    }
    if (low < j)
        referenceQuicksort(items, low, j);
    if (i < high)
        referenceQuicksort(items, i, high);
}

std::vector<int> sortedWithList(const std::vector<double>& frequencies)
{
    CarrierList list;
    for (std::size_t i = 0; i < frequencies.size(); ++i)
        list.appendWithoutBounds(carrierAt(frequencies[i], std::to_string(i)));
    list.sortByFrequency();
    std::vector<int> order;
    for (const Carrier& carrier : list)
        order.push_back(std::stoi(carrier.label));
    return order;
}

std::vector<int> sortedWithReference(const std::vector<double>& frequencies)
{
    std::vector<std::pair<double, int>> items;
    for (std::size_t i = 0; i < frequencies.size(); ++i)
        items.emplace_back(frequencies[i], static_cast<int>(i));
    if (items.size() > 1)
        referenceQuicksort(items, 0, static_cast<long>(items.size()) - 1);
    std::vector<int> order;
    for (const auto& item : items)
        order.push_back(item.second);
    return order;
}

TEST(SortByFrequency, TwoEqualFrequenciesAreExchangedEachTime)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A"));
    list.append(carrierAt(6000.0, "B"));
    list.sortByFrequency();
    EXPECT_EQ(labelsOf(list), (std::vector<std::string>{"B", "A"}));
    list.sortByFrequency();
    EXPECT_EQ(labelsOf(list), (std::vector<std::string>{"A", "B"}));
}

TEST(SortByFrequency, PositionsKeepTheirPlaces)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A"));
    list.append(carrierAt(5000.0, "B"));
    const CarrierPosition first = *list.findIndex(0);
    list.sortByFrequency();
    EXPECT_EQ(list.at(first).label, "B") << "a sort moves contents, not places";
}

TEST(SortByFrequency, OrdersEqualFrequenciesAsTheProcedureDoes)
{
    // Every sequence of up to seven carriers over three frequencies: all the ways equal
    // frequencies can meet the pivot.
    for (int length = 2; length <= 7; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i)
            combinations *= 3;
        for (int code = 0; code < combinations; ++code) {
            std::vector<double> frequencies;
            for (int i = 0, rest = code; i < length; ++i, rest /= 3)
                frequencies.push_back(6000.0 + rest % 3);
            ASSERT_EQ(sortedWithList(frequencies), sortedWithReference(frequencies))
                << "length " << length << ", code " << code;
        }
    }
}

TEST(SortByFrequency, LargerListsMatchTheProcedureAndAscend)
{
    std::vector<double> frequencies;
    unsigned state = 12345;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245u + 12345u;
        frequencies.push_back(5850.0 + (state >> 16) % 40);
    }
    const std::vector<int> order = sortedWithList(frequencies);
    EXPECT_EQ(order, sortedWithReference(frequencies));
    for (std::size_t i = 1; i < order.size(); ++i)
        ASSERT_LE(frequencies[static_cast<std::size_t>(order[i - 1])],
                  frequencies[static_cast<std::size_t>(order[i])]);
}

TEST(SortByFrequency, SortedAndReversedInputsStayShallow)
{
    CarrierList list;
    for (int i = 0; i < 200000; ++i)
        list.appendWithoutBounds(carrierAt(200000.0 - i, ""));
    list.sortByFrequency();
    EXPECT_EQ(list[0].centreFrequencyMhz, 1.0);
    EXPECT_EQ(list[199999].centreFrequencyMhz, 200000.0);
}

TEST(Shift, MovesEveryCarrierAndMirrorsBelowZero)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A", 2.0, 20.0));
    list.append(carrierAt(6100.0, "B", 2.0, 20.0));
    list.shift(-7000.0);
    EXPECT_EQ(list[0].centreFrequencyMhz, 1000.0);
    EXPECT_EQ(list[1].centreFrequencyMhz, 900.0);
    EXPECT_EQ(list[0].occupiedBandwidthMhz, 2.0);
    expectBounds(list, {899.0, 1001.0, list.levelFloor(), list.levelCeiling()});
}

TEST(Scrunch, PlacesCarriersEdgeToEdgeFromTheStart)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A", 1.35, 20.0));
    list.append(carrierAt(5990.0, "B", 2.7, 20.0));
    list.scrunch(5900.0);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list[0].label, "B");
    EXPECT_DOUBLE_EQ(list[0].centreFrequencyMhz, 5901.35);
    EXPECT_DOUBLE_EQ(list[1].centreFrequencyMhz, 5903.375);
    EXPECT_DOUBLE_EQ(list.lowestEdgeMhz(), 5900.0);
    EXPECT_DOUBLE_EQ(list.highestEdgeMhz(), 5904.05);
}

TEST(Scrunch, RoundsCentresToOneKilohertzAndZeroWidthTakesNoRoom)
{
    CarrierList list;
    list.append(carrierAt(6000.0, "A", 0.0012345, -999.0));
    list.append(carrierAt(6001.0, "B", 0.0, -999.0));
    list.append(carrierAt(6002.0, "C", 1.0, -999.0));
    list.scrunch(100.0);
    EXPECT_DOUBLE_EQ(list[0].centreFrequencyMhz, 100.001);
    EXPECT_DOUBLE_EQ(list[1].centreFrequencyMhz, 100.002);
    EXPECT_DOUBLE_EQ(list[2].centreFrequencyMhz, 100.502);
}

} // namespace
} // namespace orvane
