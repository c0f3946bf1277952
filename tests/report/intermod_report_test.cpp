#include "report/intermod_report.h"

#include "report/byte_sink.h"
#include "report/path_names.h"
#include "report_test_support.h"
#include "support/c_locale_printf.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

using orvane::testing::withCrLf;

CarrierList planOf(const std::vector<std::pair<double, std::string>>& carriers)
{
    CarrierList plan;
    for (const auto& [frequencyMhz, label] : carriers) {
        Carrier carrier;
        carrier.setFixedBandwidth(frequencyMhz, 1.0, 10.0, 1.35);
        carrier.label = label;
        plan.append(carrier);
    }
    return plan;
}

CarrierList evenlySpacedPlan(int count, double stepMhz)
{
    std::vector<std::pair<double, std::string>> carriers;
    for (int i = 0; i < count; ++i)
        carriers.emplace_back(5900 + stepMhz * i, "C" + std::to_string(i));
    return planOf(carriers);
}

CompactIntermodProducts sortedCompactProducts(const CarrierList& sortedPlan)
{
    std::vector<double> frequencies;
    for (const Carrier& carrier : sortedPlan)
        frequencies.push_back(carrier.centreFrequencyMhz);
    CompactIntermodProducts products = computeCompactIntermodProducts(frequencies);
    sortByFrequency(products);
    return products;
}

// The whole document as the report writes it for these carriers, from compact products.
std::string reportText(const CarrierList& plan, ReportLayout layout,
                       const std::string& path = "/tmp/r.htm")
{
    StringSink sink;
    HtmlWriter writer(sink, path);
    const CompactIntermodProducts products = sortedCompactProducts(plan);
    if (layout == ReportLayout::html)
        writeHtmlReport(writer, plan, products);
    else
        writeCsvReport(writer, plan, products);
    EXPECT_FALSE(writer.flush());
    return sink.text();
}

std::string bodyAfterHead(const std::string& document)
{
    const std::string headEnd = withCrLf("<BR></P>\n\n");
    const std::size_t at = document.find(headEnd);
    return at == std::string::npos ? std::string() : document.substr(at + headEnd.size());
}

const char* const twoCarrierCsv =
    "\"ORVANE INTERMODULATION REPORT\"\n\"Orvane Version 2.0\"\n\n\"Carriers:\",2\n\"Third "
    "Order Intermods:\",2\n\n\"CARRIER LIST\"\n\"F#\",\"Frequency\",\"Label\"\n\"F1\","
    "6000.00000,\"A\"\n\"F2\",6010.00000,\"B\"\n\n\"THIRD ORDER INTERMOD "
    "LIST\"\n\"F#\",\"Frequency\"\n\"2*F1-F2\",5990.00000\n\"2*F2-F1\",6020.00000\n\n\n";

const char* const twoCarrierHtmlBody =
    "<P class=\"nomarg\"><BR>\n<B>Carriers : </B>2\n<BR>\n<B>Third Order Intermodulation "
    "Products : </B>2\n<BR>\n</P>\n<H3>CARRIER LIST</H3>\n\n<TABLE ALIGN=left CELLPADDING=0 "
    "CELLSPACING=0 >\n\n<TR>\n\n\t<TD><P><B>F#</B>\n\t<TD><P><B>Frequency</B>\n\t<TD><P><B>"
    "Label</B>\n<TR>\n\n\t<TD><P>F1\n\t<TD><P>6000.00000\n\t<TD><P>A\n<TR>\n\n\t<TD><P>F2\n\t<"
    "TD><P>6010.00000\n\t<TD><P>B\n</TABLE>&nbsp;\n<BR CLEAR=left>\n<BR>\n<H3>THIRD ORDER "
    "INTERMOD LIST</H3>\n\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 "
    ">\n\n<TR>\n\n\t<TD><P><B>F#</B>\n\t<TD><P><B>Frequency</B>\n<TR>\n\n\t<TD><P>2*F1-F2\n\t<"
    "TD><P>5990.00000\n<TR>\n\n\t<TD><P>2*F2-F1\n\t<TD><P>6020.00000\n</TABLE>&nbsp;\n<BR "
    "CLEAR=left>\n<BR>\n<BR>\n\n</BODY>\n</HTML>\n";

TEST(ReportLayouts, TwoCarriersAsHtml)
{
    const std::string document =
        reportText(planOf({{6000, "A"}, {6010, "B"}}), ReportLayout::html, "/x/y/plan.htm");
    EXPECT_EQ(bodyAfterHead(document), withCrLf(twoCarrierHtmlBody));
    EXPECT_NE(document.find(withCrLf("\t\t<TITLE>plan.htm - ORVANE INTERMODULATION REPORT - "
                                     "Orvane Version 2.0</TITLE>\n")),
              std::string::npos);
    EXPECT_NE(document.find(withCrLf("body { background:#e0ffff; color:black;")),
              std::string::npos);
    EXPECT_NE(document.find(withCrLf("<P class=\"ver\">Orvane Version 2.0<BR></P>\n")),
              std::string::npos);
}

struct LabelCase {
    const char* name;
    const char* label;
    ReportLayout layout;
    const char* expected; // a fragment of the document, CR LF as stored
};

class LabelsInReports : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelsInReports, AreEscapedQuotedAndReencoded)
{
    const std::string document =
        reportText(planOf({{6000, GetParam().label}, {6010, "B"}}), GetParam().layout);
    EXPECT_NE(document.find(GetParam().expected), std::string::npos) << document;
    if (GetParam().layout == ReportLayout::html) {
        EXPECT_EQ(bodyAfterHead(document).find("<script>"), std::string::npos);
        EXPECT_EQ(bodyAfterHead(document).find("<b>"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelsInReports,
    ::testing::Values(LabelCase{"HtmlMarkup", "<script>alert(\"x\")</script>", ReportLayout::html,
                                "<TD><P>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;\r\n"},
                      LabelCase{"HtmlAmpersand", "R&D <b>", ReportLayout::html,
                                "<TD><P>R&amp;D &lt;b&gt;\r\n"},
                      LabelCase{"CsvQuotesAndComma", "Say \"hi\", then", ReportLayout::csv,
                                "\"F1\",6000.00000,\"Say \"\"hi\"\", then\"\r\n"},
                      LabelCase{"HtmlTabSpreadsOverCells", "Line1\tLine2", ReportLayout::html,
                                "\t<TD><P>6000.00000\r\n\t<TD><P>Line1\r\n\t<TD><P>Line2\r\n<TR>"},
                      LabelCase{"CsvTabStaysInTheField", "Line1\tLine2", ReportLayout::csv,
                                "\"F1\",6000.00000,\"Line1\tLine2\"\r\n"},
                      LabelCase{"CsvWindows1252", "\xC3\x9C-Band \xE2\x82\xAC", ReportLayout::csv,
                                "\"\xDC-Band \x80\""},
                      LabelCase{"HtmlWindows1252", "\xC3\x9C-Band \xE2\x82\xAC", ReportLayout::html,
                                "<TD><P>\xDC-Band \x80\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportLayouts, ProductsAtAndBelowZeroKeepFiveDecimals)
{
    EXPECT_NE(reportText(planOf({{100, "A"}, {300, "B"}}), ReportLayout::csv)
                  .find("\"2*F1-F2\",-100.00000\r\n"),
              std::string::npos);
    EXPECT_NE(reportText(planOf({{100, "A"}, {200, "B"}}), ReportLayout::csv)
                  .find("\"2*F1-F2\",0.00000\r\n"),
              std::string::npos);
}

struct LayoutCase {
    const char* path;
    ReportLayout layout;
};

class LayoutByExtension : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutByExtension, OnlyHtmInAnyCaseGivesHtml)
{
    EXPECT_EQ(reportLayoutForPath(GetParam().path), GetParam().layout) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, LayoutByExtension,
                         ::testing::Values(LayoutCase{"/r/plan.htm", ReportLayout::html},
                                           LayoutCase{"plan.Htm", ReportLayout::html},
                                           LayoutCase{"/r/plan.html", ReportLayout::csv},
                                           LayoutCase{"/r/plan", ReportLayout::csv},
                                           LayoutCase{"/r/plan.htmx", ReportLayout::csv},
                                           LayoutCase{"/r.htm/plan", ReportLayout::csv}));

struct PathCase {
    const char* path;
    const char* directory;
    const char* fileName;
};

class PathNames : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathNames, SplitAtTheLastSlash)
{
    EXPECT_EQ(directoryOf(GetParam().path), GetParam().directory);
    EXPECT_EQ(fileNameOf(GetParam().path), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathNames,
                         ::testing::Values(PathCase{"/home/me/plan.htm", "/home/me", "plan.htm"},
                                           PathCase{"plan.htm", "", "plan.htm"},
                                           PathCase{"/plan.htm", "", "plan.htm"},
                                           PathCase{"reports/", "reports", ""}));

struct OpenErrorCase {
    int code;
    const char* reason;
};

class OpenErrorTexts : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(OpenErrorTexts, NameTheCodeThePathAndTheReason)
{
    EXPECT_EQ(openErrorText(GetParam().code, "/r/plan.htm"),
              "Error Number " + std::to_string(GetParam().code) + " while opening /r/plan.htm  \n" +
                  GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OpenErrorTexts,
    ::testing::Values(
        OpenErrorCase{0, "Operating system is out of memory or resources."},
        OpenErrorCase{2, "File not found."}, OpenErrorCase{3, "Path not found."},
        OpenErrorCase{5, "Access was denied."},
        OpenErrorCase{8, "Not enough memory to complete the operation."},
        OpenErrorCase{11, "Invalid .exe file."}, OpenErrorCase{26, "Sharing violation."},
        OpenErrorCase{27, "File name association is incomplete or invalid."},
        OpenErrorCase{28, "DDE request timed out."}, OpenErrorCase{29, "DDE transaction failed."},
        OpenErrorCase{30, "DDE application was busy."},
        OpenErrorCase{31, "No application associated with the given file name extension."},
        OpenErrorCase{32, "Specified DLL was not found."}, OpenErrorCase{1, ""},
        OpenErrorCase{33, ""}, OpenErrorCase{-1, ""}));

class SaveReportTest : public ::testing::Test {
protected:
    std::string pathOf(const std::string& name) const { return folder.file(name); }
    test::TempFolder folder;
};

TEST_F(SaveReportTest, SortsThePlanAndWritesTheLayoutTheExtensionPicks)
{
    CarrierList plan = planOf({{6010, "B"}, {6000, "A"}});
    const ReportResult csv = saveIntermodReport(plan, pathOf("plan.csv"));
    EXPECT_TRUE(csv.written);
    EXPECT_EQ(reportResultText(csv), "");
    EXPECT_EQ(csv.carrierCount, 2);
    EXPECT_EQ(csv.productCount, 2);
    EXPECT_EQ(test::contentOf(pathOf("plan.csv")), withCrLf(twoCarrierCsv));
    EXPECT_EQ(plan[0].label, "A"); // the plan stays sorted
    EXPECT_EQ(plan[1].label, "B");

    const ReportResult html = saveIntermodReport(plan, pathOf("Plan.HTM"));
    EXPECT_TRUE(html.written);
    const std::string document = test::contentOf(pathOf("Plan.HTM"));
    EXPECT_EQ(bodyAfterHead(document), withCrLf(twoCarrierHtmlBody));
    EXPECT_NE(document.find("<TITLE>Plan.HTM - ORVANE"), std::string::npos);
}

// The product rows as the record-based products give them through the writer's rows and
// printf's numbers, once sorted by the plan's own sort.
std::string expectedProductRows(const CarrierList& sortedProducts, ReportLayout layout)
{
    StringSink sink;
    HtmlWriter writer(sink, "/r/plan");
    for (const Carrier& product : sortedProducts) {
        const std::string frequency = test::printfInCLocale("%7.5f", product.centreFrequencyMhz);
        if (layout == ReportLayout::html)
            writer.writeRow(product.label + "\t" + frequency, false, "", true);
        else
            writer.writeString("\"" + product.label + "\"," + frequency + "\n");
    }
    writer.flush();
    return sink.text();
}

// A plan of many carriers, some on one frequency and many on a grid, so that products
// coincide: the rows come in blocks from two threads and must read exactly as the plain way
// gives them, in the same order.
TEST_F(SaveReportTest, ManyProductsReadAsTheRecordBasedProductsGiveThem)
{
    std::mt19937 random(11);
    std::vector<std::pair<double, std::string>> carriers;
    for (int i = 0; i < 52; ++i)
        carriers.emplace_back(i % 3 == 0 ? 5850.0 + (random() % 100000) * 0.00573
                                         : 5900.0 + 2.5 * (random() % 30),
                              "C" + std::to_string(i));
    CarrierList plan = planOf(carriers);
    plan.sortByFrequency();
    CarrierList products;
    computeIntermodProducts(plan, products);
    products.sortByFrequency();
    for (const ReportLayout layout : {ReportLayout::html, ReportLayout::csv}) {
        const std::string path = pathOf(layout == ReportLayout::html ? "r.htm" : "r.csv");
        WorkProgress progress;
        ASSERT_TRUE(saveIntermodReport(plan, path, &progress).written);
        EXPECT_DOUBLE_EQ(progress.fractionDone(), 1.0);
        const std::string document = test::contentOf(path);
        const std::string start =
            layout == ReportLayout::html ? "<B>Frequency</B>" : "\"F#\",\"Frequency\"\r\n";
        const std::string end = layout == ReportLayout::html ? "\r\n</TABLE>" : "\r\n\r\n";
        const std::size_t first = document.rfind(start) + start.size();
        const std::string rows = document.substr(first, document.rfind(end) - first);
        const std::string expected = expectedProductRows(products, layout);
        ASSERT_EQ(rows.size(), expected.size());
        const auto difference = std::mismatch(rows.begin(), rows.end(), expected.begin());
        EXPECT_TRUE(difference.first == rows.end())
            << "first difference at byte " << difference.first - rows.begin() << ": "
            << rows.substr(static_cast<std::size_t>(difference.first - rows.begin()), 60);
    }
}

TEST_F(SaveReportTest, TheFileNameInTheTitleIsEscapedAndInThePageEncoding)
{
    CarrierList plan = planOf({{6000, "A"}, {6010, "B"}});
    ASSERT_TRUE(saveIntermodReport(plan, pathOf("a<b>&\xC3\xA9.htm")).written);
    const std::string document = test::contentOf(pathOf("a<b>&\xC3\xA9.htm"));
    EXPECT_NE(document.find("<TITLE>a&lt;b&gt;&amp;\xE9.htm - ORVANE"), std::string::npos);
}

TEST_F(SaveReportTest, APlanWithTooManyProductsIsRefusedBeforeAnythingChanges)
{
    const int limitCarriers = maxReportCarriers();
    EXPECT_LE(intermodProductCount(limitCarriers), maxReportProducts);
    EXPECT_GT(intermodProductCount(limitCarriers + 1), maxReportProducts);

    CarrierList plan = evenlySpacedPlan(limitCarriers + 1, -0.1); // descending frequencies
    const ReportResult result = saveIntermodReport(plan, pathOf("plan.htm"));
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.error.has_value());
    ASSERT_TRUE(result.refusal.has_value());
    EXPECT_EQ(result.carrierCount, limitCarriers + 1);
    EXPECT_EQ(result.productCount, intermodProductCount(limitCarriers + 1));
    const std::string text = reportResultText(result);
    EXPECT_NE(text.find(std::to_string(limitCarriers + 1) + " carriers"), std::string::npos);
    EXPECT_NE(text.find(std::to_string(result.productCount)), std::string::npos);
    EXPECT_NE(text.find(std::to_string(maxReportProducts)), std::string::npos);
    EXPECT_TRUE(folder.names().empty());
    EXPECT_EQ(plan[0].label, "C0"); // not even sorted

    EXPECT_NE(tooManyProductsText(3000000, intermodProductCount(3000000))
                  .find("3000000 carriers, which give more than 9223372036854775807 third"),
              std::string::npos);
}

} // namespace
} // namespace orvane
