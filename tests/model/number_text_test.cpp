#include "model/number_text.h"

#include "model/carrier.h"
#include "model/coding_tables.h"
#include "model/entry_text.h"

#include "support/c_locale_printf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>

namespace orvane {
namespace {

TEST(NumberReading, StopsAtNulReadsLongDigitRunsWholeAndSkipsLineEnds)
{
    const std::string withNul("12\0"
                              "34",
                              5);
    EXPECT_EQ(readNumberPrefix(withNul).consumed, 2u);
    const std::string digits = "1" + std::string(400, '0') + " label";
    const NumberPrefix number = readNumberPrefix(digits);
    EXPECT_EQ(number.consumed, 401u);
    EXPECT_TRUE(std::isinf(number.value));
    EXPECT_TRUE(number.outOfRange);
    // Texts the transcripts cannot hold: line ends around an entry are blanks too.
    EXPECT_EQ(readEntryInteger("\r\n7\r\n"), 7);
}

using Random = std::mt19937_64;

// Nudged by up to three representable steps either way.
double nudged(Random& random, double value)
{
    const int steps = static_cast<int>(random() % 7) - 3;
    for (int step = 0; step < std::abs(steps); ++step)
        value = std::nextafter(value, steps < 0 ? -HUGE_VAL : HUGE_VAL);
    return value;
}

// Families of values that printf's rounding sets apart, each with how to draw one.
const std::pair<const char*, double (*)(Random&, int precision)> families[] = {
    // Exactly half a unit of the last decimal: odd multiples of 2^-(decimals + 1).
    {"Halfway",
     [](Random& random, int precision) {
         const double odd = static_cast<double>((random() % (1ULL << 40)) | 1);
         return std::ldexp(odd, -(precision + 1));
     }},
    {"NextToHalfway",
     [](Random& random, int precision) {
         const double units = static_cast<double>(random() % 2000000000000ULL);
         return nudged(random, (units + 0.5) / std::pow(10.0, precision));
     }},
    {"JustBelowPowersOfTen",
     [](Random& random, int precision) {
         const double power = std::pow(10.0, static_cast<int>(random() % 22) - 6);
         const double value =
             (random() & 1) != 0 ? power : power - 0.5 * std::pow(10.0, -precision);
         return nudged(random, value);
     }},
    // Products of frequencies read from text with five decimals, up to the readers' limit.
    {"PlanProducts",
     [](Random& random, int) {
         const auto frequency = [&random] {
             const std::uint64_t units = random() % 100000000000000000ULL;
             const double scale = std::pow(10.0, static_cast<int>(random() % 8));
             return static_cast<double>(units) / 100000.0 / scale;
         };
         return 2 * frequency() - frequency();
     }},
    {"AnyBits", [](Random& random, int) {
         double value = NAN;
         while (!std::isfinite(value)) {
             const std::uint64_t bits = random();
             std::memcpy(&value, &bits, sizeof value);
         }
         return value;
     }}};

TEST(FixedText, LikePrintfOverRandomSamples)
{
    for (const auto& [name, draw] : families) {
        Random random(std::hash<std::string>()(name));
        int mismatches = 0;
        for (const int precision : {2, 3, 4, 5, 6}) {
            for (int i = 0; i < 12000; ++i) {
                const double drawn = draw(random, precision);
                const double value = (random() & 1) != 0 ? -drawn : drawn;
                const int width = precision + (i % 8 == 0 ? 9 : 2);
                const std::string expected =
                    test::printfInCLocale("%*.*f", width, precision, value);
                const std::string written = formatFixed(value, width, precision);
                if (written != expected && ++mismatches <= 5)
                    ADD_FAILURE() << std::hexfloat << value << " %" << width << "." << precision
                                  << "f: " << written << " instead of " << expected;
            }
        }
        EXPECT_EQ(mismatches, 0) << name;
    }
}

TEST(FixedText, SpecialValuesLikePrintf)
{
    for (const double value :
         {0.0, -0.0, 5e-324, -1e-7, 0.5, 1e300, -HUGE_VAL, HUGE_VAL, double{NAN}})
        for (const int precision : {0, 5, 9, 12})
            EXPECT_EQ(formatFixed(value, 7, precision),
                      test::printfInCLocale("%7.*f", precision, value));
}

TEST(ModelFunctions, RoundTripsOverTheirWholeRange)
{
    for (std::size_t i = 0; i < fecRateValues.size(); ++i)
        EXPECT_EQ(fecRateIndex(fecRateValues[i]), static_cast<int>(i)) << fecRateNames[i];
    EXPECT_DOUBLE_EQ(rolloffFactorFromPercent(35), 1.35);
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(rolloffPercentFromFactor(rolloffFactorFromPercent(percent)), percent);
    for (int bits = 1; bits <= 30; ++bits) {
        EXPECT_EQ(bitsPerSymbol(1 << bits), bits);
        EXPECT_EQ(powerOfTwo(static_cast<unsigned>(bits)), 1u << bits);
    }
}

} // namespace
} // namespace orvane
