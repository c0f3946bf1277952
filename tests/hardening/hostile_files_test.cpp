// Files no one should have to open: endless lines, NUL bytes, UTF-16, numbers at the edge of
// the range, a non-ASCII name, and a label written to break out of the report. None crashes,
// hangs or exhausts memory, and nothing in a label reaches a report unescaped. Random bytes are
// the fuzzers' part; these are inputs too large or too particular for them to find.
#include "fuzz_checks.h"
#include "sample_plan.h"
#include "support/temp_folder.h"

#include "files/carrier_file.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvane::test {
namespace {

std::string utf16(const std::string& text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : text)
        bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return bytes;
}

struct HostileBytes {
    const char* name;
    std::string bytes;
    bool loads;
};

void PrintTo(const HostileBytes& input, std::ostream* out)
{
    *out << input.name;
}

class HostileFile : public ::testing::TestWithParam<HostileBytes> {};

// Every promise the fuzz targets check: finite values, the refusal rules, UTF-8 text, and a
// plan that saves and loads back; the catalogue reader too.
TEST_P(HostileFile, KeepsEveryPromise)
{
    CarrierList plan;
    EXPECT_EQ(readCarrierText(plan, GetParam().bytes).loaded, GetParam().loads);
    EXPECT_EQ(fuzz::checkCarrierReader(GetParam().bytes), "");
    EXPECT_EQ(fuzz::checkRoundTrip(GetParam().bytes), "");
    EXPECT_EQ(fuzz::checkModcodReader("MODCOD\n" + GetParam().bytes), "");
}

const std::size_t tenMegabytes = 10u << 20;

INSTANTIATE_TEST_SUITE_P(
    Inputs, HostileFile,
    ::testing::Values(
        HostileBytes{"OnlyNul", std::string(1 << 20, '\0'), false},
        HostileBytes{"NulInLines", std::string("T\0itle\nF 1\0 2\n59\0 10 A\0B\nC\0 1 2\n", 33),
                     true},
        HostileBytes{"OnlyCarriageReturns", std::string(100000, '\r'), false},
        HostileBytes{"OnlyLineFeeds", std::string(100000, '\n'), false},
        HostileBytes{"LongTitleAfterCr", "T\r" + std::string(3 << 20, 'x'), true},
        HostileBytes{"LongTinyNumber", "T\n0." + std::string(1 << 20, '0') + "1 1000 tiny\n",
                     false},
        HostileBytes{"LongSeparators", "T\nC" + std::string(1 << 20, ' ') + "6000 1000 0 4 0.5 1\n",
                     true},
        HostileBytes{"NumbersAtTheEdge",
                     "T\nL\nR 1e-300\n6000 1e12 1e12 x\nC 1e12 1e12 1e12 1e12 1e-12 1e12 1e12\n",
                     true},
        HostileBytes{"TinyEfficiency", "T\nS 6000 1e12 1e-300 4 0.5 x\n", false},
        // A placeholder carrier without any data rate has no symbols and no efficiency.
        HostileBytes{"FecCarrierWithoutData", "P\r\nC 6000 0 0 4 0.5 1 no data yet\r\n", true},
        HostileBytes{"TenMegabyteLabel", "L\r\n5900 36 " + std::string(tenMegabytes, 'x') + "\r\n",
                     true},
        HostileBytes{"TenMegabyteTitle", std::string(tenMegabytes, 'T') + "\r\n5900 36 a\r\n",
                     true},
        HostileBytes{"TenMegabyteNumber", "N\r\n" + std::string(tenMegabytes, '9') + " 36 a\r\n",
                     false},
        HostileBytes{"TenMegabytesOfSeparators", "S\r\n" + std::string(tenMegabytes, ',') + "\r\n",
                     false},
        HostileBytes{"TenMegabytesWithoutLineEnd", std::string(tenMegabytes, 'F'), false},
        HostileBytes{"Utf16LittleEndian", utf16("P\r\n5900 36 a\r\n", true), true},
        HostileBytes{"Utf16BigEndian", utf16("P\r\n5900 36 a\r\n", false), true}),
    [](const auto& info) { return std::string(info.param.name); });

// Short lines cost a carrier each, refused lines a note each: reading stops at the most a
// plan holds rather than filling memory, and says where.
TEST(HostileFiles, ReadingStopsAtTheMostCarriersOrRefusedLines)
{
    std::string bytes = "Many carriers\n";
    for (int i = 0; i <= mostCarriersRead + 5; ++i)
        bytes += "1\n";
    CarrierList plan;
    FileReadResult result = readCarrierText(plan, bytes);
    EXPECT_EQ(plan.count(), mostCarriersRead);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].lineNumber, mostCarriersRead + 2);

    bytes = "Refused lines\n";
    for (std::size_t i = 0; i < mostLinesRefused + 5; ++i)
        bytes += "C\n";
    result = readCarrierText(plan, bytes + "5900 36 never read\n");
    EXPECT_FALSE(result.loaded);
    ASSERT_EQ(result.skipped.size(), mostLinesRefused + 1);
    EXPECT_EQ(result.skipped.back().lineNumber, static_cast<int>(mostLinesRefused) + 2);
}

// Markup, quotes, commas, a tab and a NUL byte in a label travel through the plan file
// unchanged and stay one quoted field of the CSV report, its quotes doubled (the HTML report's
// escaping has tests of its own). Files and folders may have non-ASCII names.
TEST(HostileFiles, ALabelInjectsNothingAndNamesNeedNotBeAscii)
{
    const std::string label = std::string("<script>alert(\"x&y\")</script>, \"a\",\"b\"\tT\0B", 42);
    CarrierList plan;
    ASSERT_TRUE(readCarrierText(plan, "Hostile label\r\nL\r\n5900 36000 10 " + label +
                                          "\r\n5910 36 10 b\r\n5930 36 10 c\r\n")
                    .loaded);
    EXPECT_EQ(plan[0].label, label);
    EXPECT_NE(writeCarrierText(plan).find(" 10.000 " + label + "\r\n"), std::string::npos);
    const TempFolder scratch;
    const std::string folder = scratch.file("Pläne ✓ €");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(writeResultText(saveCarrierFile(plan, folder + "/Überblick – Ku.txt")), "");
    ASSERT_EQ(reportResultText(saveIntermodReport(plan, folder + "/Bericht ö.csv")), "");
    CarrierList loaded;
    EXPECT_TRUE(loadCarrierFile(loaded, folder + "/Überblick – Ku.txt").loaded);
    EXPECT_EQ(scratch.names("Pläne ✓ €"),
              (std::vector<std::string>{"Bericht ö.csv", "Überblick – Ku.txt"}));
    EXPECT_NE(contentOf(folder + "/Bericht ö.csv")
                  .find(std::string("\r\n\"F1\",5900.00000,\"<script>alert(\"\"x&y\"\")</script>, "
                                    "\"\"a\"\",\"\"b\"\"\tT\0B\"\r\n",
                                    70)),
              std::string::npos);
}

} // namespace
} // namespace orvane::test
