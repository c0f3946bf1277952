// Files no one should have to open: huge, one endless line, NUL bytes, UTF-16, a non-ASCII
// name, and a label written to break out of the report. None crashes, hangs or exhausts
// memory, and nothing in a label reaches a report unescaped.
#include "fuzz_checks.h"
#include "plan_samples.h"
#include "scratch_files.h"

#include "files/carrier_file.h"
#include "files/file_error.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace orvane::test {
namespace {

// Every promise the fuzz targets check, for one file's bytes.
void expectEveryPromiseKept(const std::string& bytes)
{
    EXPECT_EQ(fuzz::checkCarrierReader(bytes), "");
    EXPECT_EQ(fuzz::checkRoundTrip(bytes), "");
}

TEST(HostileFiles, A200MegabyteFileIsRefusedWithinMemory)
{
    const ScratchFolder scratch;
    const std::string path = scratch.file("huge.carriers.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << "Huge plan\r\n";
        std::string block;
        while (block.size() < (1u << 20))
            block += "C 6000.50000 2048.000 0.000 4 0.750000 1.085106 DATA\r\n";
        for (int megabyte = 0; megabyte < 200; ++megabyte)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        ASSERT_TRUE(out.good());
    }
    CarrierList plan;
    const FileReadResult result = loadCarrierFile(plan, path);
    EXPECT_FALSE(result.loaded);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(fileErrorText(*result.error),
              path + " is too large to be read: a plan or catalogue file may have at most 64 MB.");
    EXPECT_TRUE(plan.empty());
    EXPECT_LT(peakResidentMegabytes(), 1024);
}

TEST(HostileFiles, ADeviceThatNeverEndsIsRefused)
{
    CarrierList plan;
    const FileReadResult result = loadCarrierFile(plan, "/dev/zero");
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->cause, FileErrorCause::fileTooLarge);
}

// Short lines cost a carrier each: reading stops at the most a plan holds rather than
// filling memory, and says where.
TEST(HostileFiles, ReadingStopsAtTheMostCarriersAPlanHolds)
{
    std::string bytes = "Many carriers\n";
    for (int i = 0; i <= mostCarriersRead + 5; ++i)
        bytes += "1\n";
    CarrierList plan;
    const FileReadResult result = readCarrierText(plan, bytes);
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(plan.count(), mostCarriersRead);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].lineNumber, mostCarriersRead + 2);
}

TEST(HostileFiles, ReadingStopsAfterTooManyRefusedLines)
{
    std::string bytes = "Refused lines\n";
    for (std::size_t i = 0; i < mostLinesRefused + 5; ++i)
        bytes += "C\n";
    bytes += "5900 36 never read\n";
    CarrierList plan;
    const FileReadResult result = readCarrierText(plan, bytes);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.skipped.size(), mostLinesRefused + 1);
}

// A placeholder carrier without any data rate has no symbols and no efficiency, not 0/0.
TEST(HostileFiles, FecCarrierWithoutDataLoads)
{
    const std::string bytes = "Placeholder\r\nC 6000 0 0 4 0.5 1 no data yet\r\n";
    CarrierList plan;
    const FileReadResult result = readCarrierText(plan, bytes);
    ASSERT_TRUE(result.loaded);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(plan[0].spectralEfficiency, 0.0);
    expectEveryPromiseKept(bytes);
}

struct LongLine {
    const char* name;
    std::string bytes;
    bool loads;
};

void PrintTo(const LongLine& line, std::ostream* out)
{
    *out << line.name;
}

class OneTenMegabyteLine : public ::testing::TestWithParam<LongLine> {};

TEST_P(OneTenMegabyteLine, ReadsWithoutHarm)
{
    CarrierList plan;
    const FileReadResult result = readCarrierText(plan, GetParam().bytes);
    EXPECT_EQ(result.loaded, GetParam().loads);
    expectEveryPromiseKept(GetParam().bytes);
}

const std::size_t tenMegabytes = 10u << 20;

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, OneTenMegabyteLine,
    ::testing::Values(
        LongLine{"Label", "Long label\r\n5900 36 " + std::string(tenMegabytes, 'x') + "\r\n", true},
        LongLine{"Title", std::string(tenMegabytes, 'T') + "\r\n5900 36 a\r\n", true},
        LongLine{"Digits", "Long number\r\n" + std::string(tenMegabytes, '9') + " 36 a\r\n", false},
        LongLine{"Separators", "Only separators\r\n" + std::string(tenMegabytes, ',') + "\r\n",
                 false},
        LongLine{"NoLineEnd", std::string(tenMegabytes, 'F'), false}),
    [](const ::testing::TestParamInfo<LongLine>& info) { return std::string(info.param.name); });

TEST(HostileFiles, NulBytesLoadNothingOrKeepTheirBytes)
{
    const std::string onlyNul(1u << 20, '\0');
    CarrierList plan;
    EXPECT_FALSE(readCarrierText(plan, onlyNul).loaded);
    expectEveryPromiseKept(onlyNul);

    // NUL bytes inside a label stay in it and are saved back as they were.
    const std::string nulLabel = std::string("Title\r\n5900 36 a\0b\r\n", 21);
    ASSERT_TRUE(readCarrierText(plan, nulLabel).loaded);
    EXPECT_EQ(plan[0].label, std::string("a\0b", 3));
    expectEveryPromiseKept(nulLabel);
}

std::string utf16(const std::string& ascii, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : ascii) {
        bytes += littleEndian ? c : '\0';
        bytes += littleEndian ? '\0' : c;
    }
    return bytes;
}

TEST(HostileFiles, Utf16FilesKeepEveryPromise)
{
    const std::string plan = samplePlanText(3);
    for (const bool littleEndian : {true, false}) {
        SCOPED_TRACE(littleEndian ? "UTF-16LE" : "UTF-16BE");
        expectEveryPromiseKept(utf16(plan, littleEndian));
    }
}

TEST(HostileFiles, NonAsciiFileNamesWork)
{
    const ScratchFolder scratch;
    const std::string folder = scratch.file("Pläne ✓ €");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const std::string planPath = folder + "/Überblick – Ku.carriers.txt";

    CarrierList plan = samplePlan(3);
    EXPECT_EQ(writeResultText(saveCarrierFile(plan, planPath)), "");
    CarrierList loaded;
    EXPECT_TRUE(loadCarrierFile(loaded, planPath).loaded);
    EXPECT_EQ(loaded.count(), 3);

    const std::string reportPath = folder + "/Bericht ö.htm";
    EXPECT_EQ(reportResultText(saveIntermodReport(loaded, reportPath)), "");
    EXPECT_NE(readBytes(reportPath).find("ORVANE INTERMODULATION REPORT"), std::string::npos);

    const std::string missing = folder + "/fehlt-ä.txt";
    const FileReadResult result = loadCarrierFile(loaded, missing);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(fileErrorText(*result.error), missing + " was not found.");
}

// Splits one CSV line into its fields, undoubling quotes inside quoted fields.
std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(HostileFiles, MarkupQuotesCommasAndTabsInALabelInjectNothing)
{
    const std::string label = "<script>alert(\"x&y\")</script>, \"a\",\"b\"\tTAB";
    const std::string file = "Hostile label\r\nL\r\n5900 36000 10 " + label + "\r\n6000 36000 " +
                             "12 </TD></TABLE><IMG src=x onerror=alert(1)>\r\n";
    CarrierList plan;
    ASSERT_TRUE(readCarrierText(plan, file).loaded);
    ASSERT_EQ(plan.count(), 2);
    EXPECT_EQ(plan[0].label, label);
    expectEveryPromiseKept(file);

    const std::string saved = writeCarrierText(plan);
    EXPECT_NE(saved.find(" " + label + "\r\n"), std::string::npos) << saved;

    const ScratchFolder scratch;
    ASSERT_EQ(reportResultText(saveIntermodReport(plan, scratch.file("report.htm"))), "");
    const std::string html = readBytes(scratch.file("report.htm"));
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<IMG"), std::string::npos);
    EXPECT_EQ(html.find("</TD></TABLE>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;, "
                        "&quot;a&quot;,&quot;b&quot;"),
              std::string::npos);

    ASSERT_EQ(reportResultText(saveIntermodReport(plan, scratch.file("report.csv"))), "");
    const std::string csv = readBytes(scratch.file("report.csv"));
    const std::size_t start = csv.find("\"F1\",");
    ASSERT_NE(start, std::string::npos);
    const std::string line = csv.substr(start, csv.find("\r\n", start) - start);
    const std::vector<std::string> fields = csvFields(line);
    ASSERT_EQ(fields.size(), 3u) << line;
    EXPECT_EQ(fields[0], "F1");
    EXPECT_EQ(fields[1], "5900.00000");
    EXPECT_EQ(fields[2], label);
}

} // namespace
} // namespace orvane::test
