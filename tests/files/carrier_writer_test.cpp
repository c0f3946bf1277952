#include "files/carrier_file.h"

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane {
namespace {

Carrier fixedCarrier(double centreMhz, double bandwidthMhz, double powerDbw,
                     const std::string& label, double rolloff = 1.35)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, powerDbw, rolloff);
    carrier.label = label;
    return carrier;
}

// The plan whose file is tests/data/reading/example.carriers.txt.
CarrierList examplePlan()
{
    CarrierList list;
    list.title = "Plan A";
    list.viewStartMhz = 5850.0;
    list.viewStopMhz = 6425.0;
    list.append(fixedCarrier(5900.0, 36.0, noPowerLevelDbw, "TV1"));
    Carrier data;
    data.setFecFromDataRate(6000.5, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 10.0, 1.2);
    data.label = "DATA";
    list.append(data);
    Carrier spectral;
    spectral.setSpectralFromDataRate(6100.0, 1000.0, 1.5, 8, 0.666667, 12.5, 1.2);
    spectral.label = "SE";
    list.append(spectral);
    return list;
}

// The Reed-Solomon ratio 204/188 written to six decimals; that the file reads back to the same
// bytes the command-line tool's resave proves.
TEST(CarrierWriter, WritesTheExamplePlan)
{
    CarrierList list = examplePlan();
    EXPECT_EQ(writeCarrierText(list), test::dataFile("reading/example.carriers.txt"));
    EXPECT_EQ(list.currentRolloffFactor, 1.2) << "the last factor written stays in force";
}

struct WriterCase {
    const char* name;
    std::string title;
    std::vector<Carrier> carriers;
};

class CarrierWriterTest : public ::testing::TestWithParam<WriterCase> {};

// The file is compared with tests/data/writing/<name>.txt, its fixed header lines (after the
// title, up to the view range) as " | ".
TEST_P(CarrierWriterTest, WritesTheLinesAndReadsThemBack)
{
    CarrierList list;
    list.title = GetParam().title;
    list.viewStartMhz = 5.5;
    list.viewStopMhz = -1.0;
    for (const Carrier& carrier : GetParam().carriers)
        list.append(carrier);
    std::string bytes = writeCarrierText(list);
    const std::string header =
        "\r\n\r\n//Carrier file created by Orvane Version 2.0 \r\n\r\nF 5.50000 -1.00000\r\n";
    const std::size_t at = bytes.find(header);
    ASSERT_NE(at, std::string::npos) << bytes;
    test::expectGolden(bytes.substr(0, at) + " | " + bytes.substr(at + header.size()),
                       std::string("writing/") + GetParam().name + ".txt");
    // What the writer keeps, the reader gives back: written again, the same bytes.
    CarrierList back;
    readCarrierText(back, bytes);
    EXPECT_EQ(writeCarrierText(back), bytes);
}

Carrier bySymbolRate(bool fec)
{
    Carrier carrier;
    if (fec)
        carrier.setFecFromSymbolRate(6010.0, 1000.0, 0.0, 4, 0.5, 1.0, 1.0, noPowerLevelDbw, 1.35);
    else
        carrier.setFixedSymbolRate(6000.0, 1000.0, noPowerLevelDbw, 1.35);
    return carrier;
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CarrierWriterTest,
    ::testing::Values(
        WriterCase{
            "WithoutLevelsNoPowers",
            "T",
            {fixedCarrier(5900.0, 1.0, noPowerLevelDbw, ""), fixedCarrier(5.5, 0, -998, "B")}},
        // Level mode starts at the first carrier with a level (just above -998 counts) and
        // stays on; an R line precedes each change of roll-off factor.
        WriterCase{"LevelsFromTheFirstLevelOn",
                   "T",
                   {fixedCarrier(5900.0, 1.0, noPowerLevelDbw, "a"),
                    fixedCarrier(5910.0, 1.0, -997.5, "b"),
                    fixedCarrier(5920.0, 1.0, noPowerLevelDbw, "c", 1.5),
                    fixedCarrier(5930.0, 1.0, 4.0, "d")}},
        WriterCase{"CarriersBuiltFromTheirSymbolRateWrittenByTheirRates",
                   "T",
                   {bySymbolRate(false), bySymbolRate(true)}},
        WriterCase{"LineBreaksBecomeTabs",
                   "Plan\r\nB\nC\rD",
                   {fixedCarrier(5900.0, 1.0, noPowerLevelDbw, "a\r\nb\tc\nd")}},
        // The five bytes windows-1252 leaves undefined travel as the C1 code points, and a
        // character without a windows-1252 form becomes '?'.
        WriterCase{"TextAsWindows1252",
                   "Caf\xc3\xa9 \xe2\x82\xac \xdf\xbf",
                   {fixedCarrier(5900.0, 1.0, noPowerLevelDbw,
                                 "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d \xe6\xbc\xa2 \xc5\x93 "
                                 "\xc0\xaf \xf0\x9f\x98\x80 \xe2\x82")}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane
