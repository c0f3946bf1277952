#include "files/carrier_file.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

Carrier fixedCarrier(double centreMhz, double bandwidthMhz, double powerDbw, double rolloff,
                     const std::string& label)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, powerDbw, rolloff);
    carrier.label = label;
    return carrier;
}

CarrierList examplePlan()
{
    CarrierList list;
    list.title = "Plan A";
    list.viewStartMhz = 5850.0;
    list.viewStopMhz = 6425.0;
    list.append(fixedCarrier(5900.0, 36.0, noPowerLevelDbw, 1.35, "TV1"));
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

constexpr const char* examplePlanBytes =
    "Plan A\r\n"
    "\r\n"
    "//Carrier file created by Orvane Version 2.0 \r\n"
    "\r\n"
    "F 5850.00000 6425.00000\r\n"
    "5900.00000 36000.000 TV1\r\n"
    "\r\n"
    "L\r\n"
    "R 1.2000\r\n"
    "C 6000.50000 2048.000 0.000 4 0.750000 1.085106 10.000 DATA\r\n"
    "S 6100.00000 1000.000 1.500000 8 0.666667 12.500 SE\r\n"
    "\r\n"
    "\r\n";

TEST(CarrierWriter, WritesTheExamplePlanByteForByte)
{
    CarrierList list = examplePlan();
    EXPECT_EQ(writeCarrierText(list), examplePlanBytes);
    EXPECT_EQ(list.currentRolloffFactor, 1.2) << "the last factor written stays in force";
}

TEST(CarrierWriter, ExamplePlanReadsBackToTheWrittenDecimals)
{
    CarrierList list;
    const FileReadResult result = readCarrierText(list, examplePlanBytes);
    ASSERT_TRUE(result.loaded);
    EXPECT_TRUE(result.skipped.empty());
    ASSERT_EQ(list.count(), 3);
    const CarrierList original = examplePlan();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list[i].calcMode, original[i].calcMode);
        EXPECT_EQ(list[i].label, original[i].label);
        EXPECT_NEAR(list[i].centreFrequencyMhz, original[i].centreFrequencyMhz, 5e-6);
        EXPECT_NEAR(list[i].occupiedBandwidthMhz, original[i].occupiedBandwidthMhz, 1e-6);
        EXPECT_EQ(list[i].powerDbw, original[i].powerDbw);
        EXPECT_EQ(list[i].rolloffFactor, original[i].rolloffFactor);
        EXPECT_EQ(list[i].modulationOrder, original[i].modulationOrder);
        EXPECT_NEAR(list[i].fecRate, original[i].fecRate, 5e-7);
    }
    EXPECT_NEAR(list[1].rsN, 204.0 / 188.0, 5e-7);
    // Written again, the plan comes out the same.
    EXPECT_EQ(writeCarrierText(list), examplePlanBytes);
}

TEST(CarrierWriter, PlanWithoutLevelsHasNoLevelLineAndNoPowers)
{
    CarrierList list;
    list.title = "T";
    list.viewStartMhz = 5.5;
    list.viewStopMhz = -1.0;
    list.append(fixedCarrier(5900.0, 1.0, noPowerLevelDbw, 1.35, ""));
    list.append(fixedCarrier(5.5, 0.0, -998.0, 1.35, "B"));
    EXPECT_EQ(writeCarrierText(list),
              "T\r\n\r\n//Carrier file created by Orvane Version 2.0 \r\n\r\nF 5.50000 -1.00000\r\n"
              "5900.00000 1000.000 \r\n5.50000 0.000 B\r\n\r\n\r\n");
    // Just above -998 counts as a level: from there on every line carries a power.
    list.append(fixedCarrier(5.5, 0.0, -997.5, 1.35, ""));
    EXPECT_NE(writeCarrierText(list).find("B\r\n\r\nL\r\n5.50000 0.000 -997.500 \r\n"),
              std::string::npos);
}

TEST(CarrierWriter, LevelModeStartsAtTheFirstLevelAndStaysOn)
{
    CarrierList list;
    list.title = "T";
    list.append(fixedCarrier(5900.0, 1.0, noPowerLevelDbw, 1.35, "a"));
    list.append(fixedCarrier(5910.0, 1.0, 3.0, 1.35, "b"));
    list.append(fixedCarrier(5920.0, 1.0, noPowerLevelDbw, 1.5, "c"));
    list.append(fixedCarrier(5930.0, 1.0, 4.0, 1.35, "d"));
    const std::string bytes = writeCarrierText(list);
    EXPECT_NE(bytes.find("5900.00000 1000.000 a\r\n\r\nL\r\n5910.00000 1000.000 3.000 b\r\n"
                         "R 1.5000\r\n5920.00000 1000.000 -999.000 c\r\nR 1.3500\r\n"
                         "5930.00000 1000.000 4.000 d\r\n\r\n\r\n"),
              std::string::npos)
        << bytes;
    CarrierList back;
    readCarrierText(back, bytes);
    ASSERT_EQ(back.count(), 4);
    EXPECT_EQ(back[2].powerDbw, noPowerLevelDbw);
    EXPECT_EQ(back[2].rolloffFactor, 1.5);
    EXPECT_EQ(back[3].rolloffFactor, 1.35);
}

TEST(CarrierWriter, CarrierBuiltFromItsSymbolRateIsWrittenByItsRates)
{
    CarrierList list;
    Carrier fixedSymbols;
    fixedSymbols.setFixedSymbolRate(6000.0, 1000.0, noPowerLevelDbw, 1.35);
    list.append(fixedSymbols);
    Carrier fecSymbols;
    fecSymbols.setFecFromSymbolRate(6010.0, 1000.0, 0.0, 4, 0.5, 1.0, 1.0, noPowerLevelDbw, 1.35);
    list.append(fecSymbols);
    const std::string bytes = writeCarrierText(list);
    EXPECT_NE(bytes.find("\r\n6000.00000 1350.000 \r\nC 6010.00000 1000.000 0.000 4 0.500000 "
                         "1.000000 \r\n"),
              std::string::npos)
        << bytes;
}

TEST(CarrierWriter, LineBreaksInTitleAndLabelsBecomeTabs)
{
    CarrierList list;
    list.title = "Plan\r\nB\nC\rD";
    list.append(fixedCarrier(5900.0, 1.0, noPowerLevelDbw, 1.35, "a\r\nb\tc\nd"));
    const std::string bytes = writeCarrierText(list);
    EXPECT_EQ(bytes.rfind("Plan\tB\tC\tD\r\n", 0), 0u);
    EXPECT_NE(bytes.find("5900.00000 1000.000 a\tb\tc\td\r\n"), std::string::npos);
    CarrierList back;
    readCarrierText(back, bytes);
    EXPECT_EQ(back.title, "Plan\tB\tC\tD");
    EXPECT_EQ(back[0].label, "a\tb\tc\td");
}

TEST(CarrierWriter, TextIsWrittenAsWindows1252)
{
    CarrierList list;
    list.title = "Caf\xc3\xa9 \xe2\x82\xac";
    // The five bytes windows-1252 leaves undefined travel as the C1 code points, and a
    // character without a windows-1252 form becomes '?'.
    list.append(fixedCarrier(5900.0, 1.0, noPowerLevelDbw, 1.35,
                             "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d \xe6\xbc\xa2 \xc5\x93"));
    const std::string bytes = writeCarrierText(list);
    EXPECT_EQ(bytes.rfind("Caf\xe9 \x80\r\n", 0), 0u);
    EXPECT_NE(bytes.find(" \x81\x8d\x8f\x90\x9d ? \x9c\r\n"), std::string::npos);
    CarrierList back;
    readCarrierText(back, bytes);
    EXPECT_EQ(back.title, list.title);
    EXPECT_EQ(back[0].label, "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d ? \xc5\x93");
}

TEST(CarrierWriter, RoundTripKeepsEveryWrittenValue)
{
    CarrierList list;
    list.title = "Round trip";
    list.viewStartMhz = 3625.125;
    list.viewStopMhz = 4200.0;
    const double rolloffs[] = {1.2, 1.25, 1.35, 1.05};
    for (int i = 0; i < 60; ++i) {
        Carrier carrier;
        const double centre = 3700.0 + i * 7.31;
        const double power = i % 3 == 0 ? noPowerLevelDbw : -3.0 + i * 0.25;
        const double rolloff = rolloffs[i % 4];
        if (i % 3 == 0)
            carrier.setFixedBandwidth(centre, 0.5 + i * 0.125, power, rolloff);
        else if (i % 3 == 1)
            carrier.setFecFromDataRate(centre, 512.0 * i, 16.0, 2 << (i % 6), 0.75, 204.0, 188.0,
                                       power, rolloff);
        else
            carrier.setSpectralFromDataRate(centre, 1000.0 + i, 0.5 + i * 0.0625, 8, 0.8, power,
                                            rolloff);
        carrier.label = "carrier " + std::to_string(i);
        list.append(carrier);
    }
    const std::string first = writeCarrierText(list);
    CarrierList back;
    const FileReadResult result = readCarrierText(back, first);
    ASSERT_TRUE(result.loaded);
    ASSERT_EQ(back.count(), list.count());
    EXPECT_EQ(writeCarrierText(back), first);
}

} // namespace
} // namespace orvane
