#include "analysis/intermod_products.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

CarrierList planAt(const std::vector<double>& frequenciesMhz)
{
    CarrierList plan;
    for (const double frequencyMhz : frequenciesMhz) {
        Carrier carrier;
        carrier.setFixedBandwidth(frequencyMhz, 2.7, 15.0, 1.2);
        carrier.label = "TX";
        plan.append(carrier);
    }
    return plan;
}

std::vector<std::pair<double, std::string>> frequenciesAndLabels(const CarrierList& products)
{
    std::vector<std::pair<double, std::string>> result;
    for (const Carrier& product : products)
        result.emplace_back(product.centreFrequencyMhz, product.label);
    return result;
}

std::vector<std::pair<double, std::string>>
frequenciesAndLabels(const CompactIntermodProducts& products)
{
    std::vector<std::pair<double, std::string>> result;
    for (const CompactIntermodProduct& product : products)
        result.emplace_back(product.frequencyMhz, intermodLabel(product));
    return result;
}

void expectBoundsOfUpdateBounds(const CarrierList& products)
{
    CarrierList recomputed = products;
    recomputed.updateBounds();
    EXPECT_EQ(products.lowestEdgeMhz(), recomputed.lowestEdgeMhz());
    EXPECT_EQ(products.highestEdgeMhz(), recomputed.highestEdgeMhz());
    EXPECT_EQ(products.levelFloor(), recomputed.levelFloor());
    EXPECT_EQ(products.levelCeiling(), recomputed.levelCeiling());
}

TEST(IntermodProducts, ThreeCarriersGiveNineProductsInPairThenTripleOrder)
{
    CarrierList products;
    computeIntermodProducts(planAt({6000, 6010, 6030}), products);
    const std::vector<std::pair<double, std::string>> expected = {
        {5990, "2*F1-F2"},  {6020, "2*F2-F1"},  {5970, "2*F1-F3"},
        {6060, "2*F3-F1"},  {5990, "2*F2-F3"},  {6050, "2*F3-F2"},
        {5980, "F1+F2-F3"}, {6020, "F1-F2+F3"}, {6040, "F2+F3-F1"}};
    EXPECT_EQ(frequenciesAndLabels(products), expected);
}

TEST(IntermodProducts, ProductsAreRecordsAtDefaultsWhateverTheCarriers)
{
    CarrierList products;
    computeIntermodProducts(planAt({6000, 6010, 6030}), products);
    for (const Carrier& product : products) {
        EXPECT_EQ(product.powerDbw, 20.0);
        EXPECT_EQ(product.occupiedBandwidthMhz, 1.35);
    }
    expectBoundsOfUpdateBounds(products);
    EXPECT_DOUBLE_EQ(products.lowestEdgeMhz(), 5970 - 0.675);
    EXPECT_DOUBLE_EQ(products.highestEdgeMhz(), 6060 + 0.675);
}

TEST(IntermodProducts, FewerThanTwoCarriersLeaveAnEmptyListWithEmptyBounds)
{
    for (const std::vector<double>& frequencies : {std::vector<double>{}, {6000.0}}) {
        CarrierList products;
        computeIntermodProducts(planAt({6000, 6010}), products); // something to replace
        computeIntermodProducts(planAt(frequencies), products);
        EXPECT_EQ(products.count(), 0);
        EXPECT_EQ(products.highestEdgeMhz(), 0.0);
    }
}

TEST(IntermodProducts, EarlierProductsAreReplacedAndNegativeFrequenciesKept)
{
    CarrierList products;
    computeIntermodProducts(planAt({6000, 6010, 6030}), products);
    computeIntermodProducts(planAt({100, 300}), products);
    const std::vector<std::pair<double, std::string>> expected = {{-100, "2*F1-F2"},
                                                                  {500, "2*F2-F1"}};
    EXPECT_EQ(frequenciesAndLabels(products), expected);
    expectBoundsOfUpdateBounds(products);
}

TEST(IntermodProducts, CountGrowsWithTheCubeAndMatchesTheList)
{
    for (int n = 0; n <= 12; ++n) {
        std::vector<double> frequencies;
        for (int i = 0; i < n; ++i)
            frequencies.push_back(6000 + 7.5 * i);
        CarrierList products;
        computeIntermodProducts(planAt(frequencies), products);
        EXPECT_EQ(products.count(), intermodProductCount(n)) << n << " carriers";
    }
    EXPECT_EQ(intermodProductCount(1000), 499500000);
    EXPECT_EQ(intermodProductCount(2000000), 3999998000000000000LL);
    EXPECT_EQ(intermodProductCount(INT_MAX), LLONG_MAX);
}

TEST(IntermodProducts, LabelsOfManyCarriersUseWholeNumbers)
{
    std::vector<double> frequencies;
    for (int i = 0; i < 12; ++i)
        frequencies.push_back(6000 + 10.0 * i);
    CarrierList products;
    computeIntermodProducts(planAt(frequencies), products);
    const int pairProducts = 12 * 11;
    EXPECT_EQ(products[pairProducts - 1].label, "2*F12-F11");
    EXPECT_EQ(products[pairProducts].label, "F1+F2-F3");
    EXPECT_EQ(products[products.count() - 1].label, "F11+F12-F10");
    EXPECT_EQ(products[products.count() - 1].centreFrequencyMhz, 6110.0 + 6100.0 - 6090.0);
}

// Plans whose products coincide a lot: the compact products must sort into exactly the order
// of the sorted product list, or the report's rows would differ from the record-based path.
class CompactProductOrder : public ::testing::TestWithParam<std::vector<double>> {};

TEST_P(CompactProductOrder, MatchesTheSortedProductList)
{
    const CarrierList plan = planAt(GetParam());
    CarrierList products;
    computeIntermodProducts(plan, products);
    std::vector<double> frequencies;
    for (const Carrier& carrier : plan)
        frequencies.push_back(carrier.centreFrequencyMhz);
    CompactIntermodProducts compact = computeCompactIntermodProducts(frequencies);
    ASSERT_EQ(frequenciesAndLabels(compact), frequenciesAndLabels(products));

    products.sortByFrequency();
    sortByFrequency(compact);
    EXPECT_EQ(frequenciesAndLabels(compact), frequenciesAndLabels(products));

    products.sortByFrequency(); // a second sort moves equal products again
    sortByFrequency(compact);
    EXPECT_EQ(frequenciesAndLabels(compact), frequenciesAndLabels(products));
}

std::vector<double> evenlySpaced(int count, double stepMhz)
{
    std::vector<double> frequencies;
    for (int i = 0; i < count; ++i)
        frequencies.push_back(5900 + stepMhz * i);
    return frequencies;
}

std::vector<double> repeating(int count)
{
    std::vector<double> frequencies;
    for (int i = 0; i < count; ++i)
        frequencies.push_back(6000 + 5.0 * ((i * 7) % 3));
    return frequencies;
}

INSTANTIATE_TEST_SUITE_P(EqualFrequencies, CompactProductOrder,
                         ::testing::Values(evenlySpaced(24, 2.5), evenlySpaced(9, 0.0),
                                           repeating(17),
                                           std::vector<double>{6030, 6000, 6010, 6000, 6020}));

TEST(CompactProducts, SortExchangesTwoEqualProducts)
{
    CompactIntermodProducts products = computeCompactIntermodProducts({6000.0, 6000.0});
    sortByFrequency(products);
    EXPECT_EQ(intermodLabel(products[0]), "2*F2-F1");
    EXPECT_EQ(intermodLabel(products[1]), "2*F1-F2");
}

} // namespace
} // namespace orvane
