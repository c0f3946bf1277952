#include "files/carrier_file.h"
#include "files/modcod_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace orvane {
namespace {

// Whatever the bytes, every carrier that comes out has finite values and the bounds too.
void expectSoundPlan(const CarrierList& list)
{
    for (const Carrier& carrier : list) {
        ASSERT_TRUE(std::isfinite(carrier.centreFrequencyMhz));
        ASSERT_TRUE(std::isfinite(carrier.occupiedBandwidthMhz));
        ASSERT_TRUE(std::isfinite(carrier.symbolRateKsps));
        ASSERT_TRUE(std::isfinite(carrier.powerDensityDbw()));
        ASSERT_TRUE(std::isfinite(carrier.rolloffFactor));
        ASSERT_GT(carrier.rolloffFactor, 0.0);
    }
    EXPECT_TRUE(std::isfinite(list.lowestEdgeMhz()));
    EXPECT_TRUE(std::isfinite(list.highestEdgeMhz()));
    EXPECT_TRUE(std::isfinite(list.levelFloor()));
    EXPECT_TRUE(std::isfinite(list.levelCeiling()));
    EXPECT_TRUE(std::isfinite(list.viewStartMhz));
    EXPECT_TRUE(std::isfinite(list.viewStopMhz));
}

std::string randomBytes(std::size_t size, unsigned seed, const std::string& alphabet = {})
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        const int value = byte(generator);
        c = alphabet.empty() ? static_cast<char>(value)
                             : alphabet[static_cast<std::size_t>(value) % alphabet.size()];
    }
    return bytes;
}

class BadInputTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BadInputTest, ReadersNeverFailOnAnyBytes)
{
    CarrierList plan;
    readCarrierText(plan, GetParam());
    expectSoundPlan(plan);
    // What was read can be written and read again; values beyond the written decimals (a
    // FEC rate of 1e-12 is written as 0.000000) may then be refused, but soundly.
    CarrierList again;
    readCarrierText(again, writeCarrierText(plan));
    expectSoundPlan(again);
    CarrierList catalogue;
    readModcodText(catalogue, "MODCOD\n" + GetParam());
    for (const Carrier& entry : catalogue)
        ASSERT_TRUE(std::isfinite(entry.rolloffFactor) && std::isfinite(entry.fecRate));
}

// Bytes that look like plan lines: tags, digits, signs, exponents, separators, line ends.
const std::string planAlphabet = "FfLlRrCcSs0123456789+-.eE,\t \n\r/;xinfa";

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInputTest,
    ::testing::Values(randomBytes(1 << 20, 1), randomBytes(1 << 18, 2, planAlphabet),
                      randomBytes(1 << 18, 3, planAlphabet), std::string(1 << 16, '\0'),
                      std::string("T\0itle\nF 1\0 2\n59\0 10 A\0B\nC\0 1 2\n", 33),
                      std::string(100000, '\r'), std::string(100000, '\n'),
                      "T\r" + std::string(3 << 20, 'x'),
                      "T\n0." + std::string(1 << 20, '0') + "1 1000 tiny\n",
                      "T\nC" + std::string(1 << 20, ' ') + "6000 1000 0 4 0.5 1\n",
                      "T\nL\nR 1e-300\n6000 1e12 1e12 x\nC 1e12 1e12 1e12 1e12 1e-12 1e12 1e12\n",
                      "T\nS 6000 1e12 1e-300 4 0.5 x\n"));

TEST(BadInput, TinyRolloffFactorsGiveSkippedLinesNotInfinity)
{
    CarrierList list;
    // A factor a saved file cannot keep is refused itself, so both carriers keep the default.
    const FileReadResult result = readCarrierText(list, "T\nR 1e-300\n6000 1e12 x\n6000 1 y\n");
    EXPECT_EQ(list.count(), 2);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].lineNumber, 2);
}

} // namespace
} // namespace orvane
