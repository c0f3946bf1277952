#include "budget/required_esn0.h"
#include "files/modcod_file.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane {
namespace {

TEST(RequiredEsN0, FollowsTheDvbS2TableWithinAMillionthOfTheRate)
{
    // {mode, order, FEC rate, ETSI EN 302 307-1 Table 13's Es/N0 or none}
    const struct {
        int calcMode, order;
        double fecRate;
        std::optional<double> expectedDb;
    } lookups[] = {{calcModeFec, 4, 2.0 / 3, 3.10},     {calcModeFec, 4, 0.666667, 3.10},
                   {calcModeFec, 4, 0.6666675, 3.10},   {calcModeFec, 4, 0.666669, std::nullopt},
                   {calcModeSpectral, 4, 0.25, -2.35},  {calcModeSpectral, 8, 0.75, 7.91},
                   {calcModeFec, 32, 0.9, 16.05},       {calcModeFec, 16, 0.6, std::nullopt},
                   {calcModeFec, 2, 0.5, std::nullopt}, {calcModeFixed, 4, 0.5, std::nullopt}};
    for (const auto& lookup : lookups) {
        Carrier carrier;
        if (lookup.calcMode == calcModeSpectral)
            carrier.setSpectralFromDataRate(6000, 2000, 1.5, lookup.order, lookup.fecRate, 10, 1.2);
        else
            carrier.setFecFromDataRate(6000, 2000, 0, lookup.order, lookup.fecRate, 1, 1, 10, 1.2);
        if (lookup.calcMode == calcModeFixed)
            carrier.calcMode = calcModeFixed;
        EXPECT_EQ(requiredEsN0Db(carrier, shippedDvbS2Catalogue()), lookup.expectedDb)
            << lookup.order << " " << lookup.fecRate;
    }
}

TEST(RequiredEsN0, ACatalogueCarrierKeepsItsOwnValue)
{
    Carrier carrier;
    carrier.setFecFromDataRate(6000, 2000, 0, 4, 0.75, 1, 1, 10, 1.2);
    carrier.applyModcodFec(0, 4, 0.75, 204, 188, 1.35, 6.91, 2e-4, 0);
    EXPECT_EQ(requiredEsN0Db(carrier, shippedDvbS2Catalogue()), 6.91) << "not DVB-S2's 4.03";
    // Another reference is used as given: its first matching entry.
    CarrierList own;
    readModcodText(own, "MODCOD\nOwn\nS 1 4 0.75 5.5 0 first\nS 1 4 0.75 6 0 second\n");
    carrier.fromModcod = 0;
    EXPECT_EQ(requiredEsN0Db(carrier, own), 5.5);
}

TEST(RequiredEsN0, ShippedCatalogues)
{
    const std::string folder = std::string(ORVANE_SOURCE_DIR) + "/data/modcod/";
    EXPECT_EQ(std::string(shippedDvbS2CatalogueText()), test::contentOf(folder + "dvb-s2.modcod"));
    EXPECT_EQ(shippedDvbS2Catalogue().count(), 28);
    // ETSI EN 300 421 gives Eb/N0 per useful bit: Es/N0 adds 10·log10(2 · rate · 188/204).
    CarrierList dvbS;
    loadModcodFile(dvbS, folder + "dvb-s.modcod");
    const double ebN0Db[] = {4.5, 5.0, 5.5, 6.0, 6.4};
    ASSERT_EQ(dvbS.count(), 5);
    for (int i = 0; i < dvbS.count(); ++i)
        EXPECT_NEAR(*requiredEsN0Db(dvbS[i], CarrierList()),
                    ebN0Db[i] + 10 * std::log10(2 * dvbS[i].fecRate * dvbS[i].rsK / dvbS[i].rsN),
                    0.005);
}

} // namespace
} // namespace orvane
