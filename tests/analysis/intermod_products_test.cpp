#include "analysis/intermod_products.h"
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
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

// Each product as its frequency and label, in list order.
std::string described(const CarrierList& products)
{
    std::string text;
    for (const Carrier& product : products)
        text += formatShortest(product.centreFrequencyMhz) + " " + product.label + "; ";
    return text;
}

std::string described(const CompactIntermodProducts& products)
{
    std::string text;
    for (const CompactIntermodProduct& product : products)
        text += formatShortest(product.frequencyMhz) + " " + intermodLabel(product) + "; ";
    return text;
}

TEST(IntermodProducts, PairsFirstThenTriplesReplacingWhatTheListHeld)
{
    CarrierList products;
    computeIntermodProducts(planAt({100, 300}), products);
    EXPECT_EQ(described(products), "-100 2*F1-F2; 500 2*F2-F1; ");
    computeIntermodProducts(planAt({6000, 6010, 6030}), products);
    EXPECT_EQ(described(products), "5990 2*F1-F2; 6020 2*F2-F1; 5970 2*F1-F3; 6060 2*F3-F1; "
                                   "5990 2*F2-F3; 6050 2*F3-F2; 5980 F1+F2-F3; 6020 F1-F2+F3; "
                                   "6040 F2+F3-F1; ");
    // The list's bounds are its records'.
    EXPECT_DOUBLE_EQ(products.lowestEdgeMhz(), 5970 - 0.675);
    EXPECT_DOUBLE_EQ(products.highestEdgeMhz(), 6060 + 0.675);
    computeIntermodProducts(planAt({6000}), products);
    EXPECT_EQ(products.count(), 0);
    EXPECT_EQ(products.highestEdgeMhz(), 0.0);
}

TEST(IntermodProducts, CountGrowsWithTheCubeAndSaturates)
{
    // Each plan replaces the products of the one before; the last has twelve carriers.
    std::vector<double> frequencies;
    CarrierList products;
    for (int n = 0; n <= 12; ++n) {
        computeIntermodProducts(planAt(frequencies), products);
        EXPECT_EQ(products.count(), intermodProductCount(n)) << n << " carriers";
        frequencies.push_back(6000 + 10.0 * n);
    }
    EXPECT_EQ(products[12 * 11 - 1].label, "2*F12-F11");
    EXPECT_EQ(products[12 * 11].label, "F1+F2-F3");
    EXPECT_EQ(products[products.count() - 1].label, "F11+F12-F10");
    EXPECT_EQ(products[products.count() - 1].centreFrequencyMhz, 6100.0 + 6110.0 - 6090.0);
    EXPECT_EQ(intermodProductCount(-1), 0);
    EXPECT_EQ(intermodProductCount(1000), 499500000);
    // The largest plan whose count fits, and the smallest that saturates.
    EXPECT_EQ(intermodProductCount(2642246), 2642246LL * (2642246LL * 2642245LL / 2));
    EXPECT_EQ(intermodProductCount(2642247), LLONG_MAX);
    EXPECT_EQ(intermodProductCount(3037000500LL), LLONG_MAX);
}

// Plans whose products coincide a lot: the compact products must come and sort into exactly
// the order of the product list, or the report's rows would differ from the list's.
class CompactProductOrder : public ::testing::TestWithParam<std::vector<double>> {};

TEST_P(CompactProductOrder, MatchesTheSortedProductList)
{
    CarrierList products;
    computeIntermodProducts(planAt(GetParam()), products);
    CompactIntermodProducts compact = computeCompactIntermodProducts(GetParam());
    ASSERT_EQ(described(compact), described(products));
    for (int sort = 0; sort < 2; ++sort) { // a second sort moves equal products again
        products.sortByFrequency();
        sortByFrequency(compact);
        EXPECT_EQ(described(compact), described(products));
    }
}

std::vector<double> spaced(int count, double stepMhz, int period = 1000)
{
    std::vector<double> frequencies;
    for (int i = 0; i < count; ++i)
        frequencies.push_back(5900 + stepMhz * ((i * 7) % period));
    return frequencies;
}

INSTANTIATE_TEST_SUITE_P(EqualFrequencies, CompactProductOrder,
                         ::testing::Values(spaced(24, 2.5), spaced(9, 0.0), spaced(17, 5.0, 3),
                                           std::vector<double>{6030, 6000, 6010, 6000, 6020},
                                           std::vector<double>{6000, 6000}));

} // namespace
} // namespace orvane
