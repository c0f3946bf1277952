#include "model/carrier.h"
#include "model/coding_tables.h"
#include "model/entry_text.h"
#include "model/file_number_limit.h"
#include "model/number_text.h"
#include "model/rounding.h"
#include "support/c_locale_printf.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <sstream>
#include <string>
#include <vector>

// tests/data/model/functions.txt is a transcript of calls to the model's small functions, one
// a line ("function arguments..."), each followed by its answer ("> " line). The test makes
// the calls again and compares the answers it gets with the file's.
namespace orvane {
namespace {

using test::printfInCLocale;

double numberIn(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text.c_str(), nullptr, cLocale);
}

std::string shown(double value)
{
    return printfInCLocale("%.17g", value);
}

template <typename Number> std::string shown(const std::optional<Number>& value)
{
    return value ? shown(static_cast<double>(*value)) : "none";
}

std::string answerOf(const std::string& line)
{
    std::istringstream words(line);
    std::string call;
    words >> call;
    if (line.find('"') != std::string::npos) {
        const auto quote = line.find('"');
        const std::string text = line.substr(quote + 1, line.rfind('"') - quote - 1);
        if (call == "entry")
            return "number " + shown(readEntryNumber(text)) + " integer " +
                   shown(readEntryInteger(text)) + " leading " +
                   std::to_string(leadingInteger(text));
        if (call == "prefix") {
            const NumberPrefix prefix = readNumberPrefix(text);
            return "value " + shown(prefix.value) + " consumed " + std::to_string(prefix.consumed) +
                   (prefix.outOfRange ? " out of range" : "");
        }
        return "unknown call";
    }
    std::vector<double> x;
    for (std::string word; words >> word;)
        x.push_back(numberIn(word));
    const auto n = [&x](std::size_t at) { return static_cast<int>(x.at(at)); };
    if (call == "roundHalfUp")
        return std::to_string(roundHalfUp(x.at(0)));
    if (call == "roundHalfUpExact")
        return shown(roundHalfUpExact(x.at(0)));
    if (call == "roundToDecimals")
        return shown(roundToDecimals(x.at(0), n(1)));
    if (call == "integerPower")
        return shown(integerPower(x.at(0), n(1)));
    if (call == "fecRateIndex")
        return std::to_string(fecRateIndex(x.at(0)));
    if (call == "modulationPosition")
        return std::to_string(modulationPosition(n(0)));
    if (call == "fitsInFile")
        return fitsInFile(x.at(0)) ? "yes" : "no";
    if (call == "rolloffPercentFromFactor")
        return std::to_string(rolloffPercentFromFactor(x.at(0)));
    if (call == "bitsPerSymbol")
        return std::to_string(bitsPerSymbol(n(0)));
    if (call == "powerOfTwo")
        return std::to_string(powerOfTwo(static_cast<unsigned>(x.at(0))));
    if (call == "powerDensity") {
        Carrier carrier;
        carrier.setFixedSymbolRate(6000.0, x.at(1), x.at(0), 1.35);
        return shown(carrier.powerDensityDbw());
    }
    return "unknown call";
}

TEST(ModelFunctions, GiveTheRecordedAnswers)
{
    std::istringstream lines(test::dataFile("model/functions.txt"));
    std::string replayed;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(">", 0) == 0)
            continue;
        replayed += line + "\n";
        if (!line.empty() && line[0] != '#')
            replayed += "> " + answerOf(line) + "\n";
    }
    test::expectGolden(replayed, "model/functions.txt");
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

TEST(FileRange, LimitMessageNamesTheQuantityAndUnit)
{
    EXPECT_EQ(outsideFileRangeText("frequency", "MHz"),
              "The frequency must lie between -1000000000000 and 1000000000000 MHz.");
    EXPECT_EQ(outsideFileRangeText("FEC rate", "", 1e9),
              "The FEC rate must lie between -1000000000 and 1000000000.");
}

} // namespace
} // namespace orvane
