#include "budget/required_esn0.h"
#include "files/modcod_file.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace orvane {
namespace {

struct Lookup {
    const char* name;
    int calcMode;
    int modulationOrder;
    double fecRate;
    std::optional<double> expectedDb; // ETSI EN 302 307-1 Table 13
};

void PrintTo(const Lookup& lookup, std::ostream* out)
{
    *out << lookup.name;
}

class RequiredEsN0 : public ::testing::TestWithParam<Lookup> {};

TEST_P(RequiredEsN0, FollowsTheDvbS2Table)
{
    const Lookup& lookup = GetParam();
    Carrier carrier;
    if (lookup.calcMode == calcModeFixed)
        carrier.setFixedSymbolRate(6000, 1000, 10, 1.2);
    else if (lookup.calcMode == calcModeFec)
        carrier.setFecFromDataRate(6000, 2000, 0, lookup.modulationOrder, lookup.fecRate, 1, 1, 10,
                                   1.2);
    else
        carrier.setSpectralFromDataRate(6000, 2000, 1.5, lookup.modulationOrder, lookup.fecRate, 10,
                                        1.2);
    EXPECT_EQ(requiredEsN0Db(carrier, shippedDvbS2Catalogue()), lookup.expectedDb);
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, RequiredEsN0,
    ::testing::Values(Lookup{"Qpsk2Over3", calcModeFec, 4, 2.0 / 3, 3.10},
                      Lookup{"Qpsk0666667", calcModeFec, 4, 0.666667, 3.10},
                      Lookup{"Qpsk0666668Within1e6", calcModeFec, 4, 0.6666675, 3.10},
                      Lookup{"Qpsk0666669Beyond", calcModeFec, 4, 0.666669, std::nullopt},
                      Lookup{"Qpsk1Over4", calcModeSpectral, 4, 0.25, -2.35},
                      Lookup{"Psk8ThreeQuarters", calcModeSpectral, 8, 0.75, 7.91},
                      Lookup{"Apsk32NineTenths", calcModeFec, 32, 0.9, 16.05},
                      Lookup{"SameRateOtherOrder", calcModeFec, 16, 0.6, std::nullopt},
                      Lookup{"BpskIsNotInTheTable", calcModeFec, 2, 0.5, std::nullopt},
                      Lookup{"FixedHasNoModcod", calcModeFixed, 4, 0.5, std::nullopt}),
    [](const ::testing::TestParamInfo<Lookup>& info) { return info.param.name; });

TEST(RequiredEsN0Catalogue, ACatalogueCarrierKeepsItsOwnValue)
{
    Carrier carrier;
    carrier.setFecFromDataRate(6000, 2000, 0, 4, 0.75, 1, 1, 10, 1.2);
    carrier.applyModcodFec(0, 4, 0.75, 204, 188, 1.35, 6.91, 2e-4, 0);
    EXPECT_EQ(requiredEsN0Db(carrier, shippedDvbS2Catalogue()), 6.91) << "not DVB-S2's 4.03";
    // Another reference catalogue is used as given: its first matching entry.
    CarrierList own;
    readModcodText(own, "MODCOD\nOwn\nS 1 4 0.75 5.5 0 first\nS 1 4 0.75 6 0 second\n");
    carrier.fromModcod = 0;
    EXPECT_EQ(requiredEsN0Db(carrier, own), 5.5);
}

TEST(RequiredEsN0Catalogue, TheCompiledInCatalogueIsTheShippedFile)
{
    EXPECT_EQ(std::string(shippedDvbS2CatalogueText()),
              test::contentOf(std::string(ORVANE_SOURCE_DIR) + "/data/modcod/dvb-s2.modcod"));
    EXPECT_EQ(shippedDvbS2Catalogue().count(), 28);
}

TEST(RequiredEsN0Catalogue, TheDvbSCatalogueHoldsEsN0)
{
    // ETSI EN 300 421 gives Eb/N0 per useful bit: Es/N0 adds 10·log10(2 · rate · 188/204).
    CarrierList catalogue;
    loadModcodFile(catalogue, std::string(ORVANE_SOURCE_DIR) + "/data/modcod/dvb-s.modcod");
    const double ebN0Db[] = {4.5, 5.0, 5.5, 6.0, 6.4};
    ASSERT_EQ(catalogue.count(), 5);
    for (int i = 0; i < catalogue.count(); ++i) {
        const Carrier& entry = catalogue[i];
        EXPECT_NEAR(*requiredEsN0Db(entry, CarrierList()),
                    ebN0Db[i] + 10 * std::log10(2 * entry.fecRate * entry.rsK / entry.rsN), 0.005)
            << entry.label;
    }
}

} // namespace
} // namespace orvane
