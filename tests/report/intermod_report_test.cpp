#include "report/intermod_report.h"

#include "report/ordered_blocks.h"
#include "report/path_names.h"
#include "support/c_locale_printf.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace orvane::test {
namespace {

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

class SaveReportTest : public ::testing::Test {
protected:
    TempFolder folder;
};

// Two carriers entered out of order: the report numbers them by frequency and the plan keeps
// it. Then labels with markup, quotes, a comma, a tab and letters beyond ASCII, products below
// and at zero, and a file name with markup.
TEST_F(SaveReportTest, PlansGiveTheExpectedDocuments)
{
    const std::tuple<std::string, std::string, int> cases[] = {
        {"two-carriers.htm", "two-carriers.htm", 2},
        {"two-carriers.csv", "two-carriers.csv", 2},
        {"a<b>&\xC3\xA9.htm", "awkward.htm", 5},
        {"awkward.csv", "awkward.csv", 5}};
    for (const auto& [name, expected, carrierCount] : cases) {
        CarrierList plan = carrierCount == 2 ? planOf({{6010, "B"}, {6000, "A"}})
                                             : planOf({{6010, "\xC3\x9C-Band \xE2\x82\xAC"},
                                                       {100, "<script>alert(\"x\")</script>"},
                                                       {200, "R&D <b>"},
                                                       {300, "Say \"hi\", then"},
                                                       {6000, "Line1\tLine2"}});
        const ReportResult result = saveIntermodReport(plan, folder.file(name));
        EXPECT_TRUE(result.written);
        EXPECT_EQ(reportResultText(result), "");
        EXPECT_EQ(result.carrierCount, carrierCount);
        EXPECT_EQ(result.productCount, carrierCount == 2 ? 2 : 50);
        EXPECT_EQ(contentOf(folder.file(name)), expectedDocument("report/" + expected));
        EXPECT_EQ(plan[0].centreFrequencyMhz, carrierCount == 2 ? 6000 : 100);
    }
}

// Only ".htm" in any letter case gives HTML; names split at the last slash. Each path is shown
// with its layout, folder and file name, then open errors with their codes.
TEST(ReportPaths, LayoutFolderAndNameAndOpenErrors)
{
    std::string described;
    for (const std::string path :
         {"/r/plan.htm", "plan.Htm", "/r/plan.html", "/r/plan", "/r/plan.htmx", "/r/plan.xtm",
          "/r/plan.h", "/r.htm/plan", "/home/me/plan.htm", "/plan.htm", "reports/"})
        described += path + (reportLayoutForPath(path) == ReportLayout::html ? " html" : " csv") +
                     " [" + directoryOf(path) + "] [" + fileNameOf(path) + "]\n";
    for (const int code : {0, 31, 1})
        described += openErrorText(code, "/r/a.htm") + "|\n";
    expectGolden(described, "report/paths.txt");
}

// The product rows as the record-based products give them through printf's numbers.
std::string expectedProductRows(const CarrierList& sortedProducts, ReportLayout layout)
{
    std::string rows;
    for (const Carrier& product : sortedProducts) {
        const std::string frequency = printfInCLocale("%7.5f", product.centreFrequencyMhz);
        rows += layout == ReportLayout::html
                    ? "\r\n<TR>\r\n\r\n\t<TD><P>" + product.label + "\r\n\t<TD><P>" + frequency
                    : "\"" + product.label + "\"," + frequency + "\r\n";
    }
    return rows;
}

// Carriers on one frequency and on a grid, so that products coincide: the rows come in
// blocks from two threads and must read as the plain way gives them, in the same order.
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
        const std::string path = folder.file(layout == ReportLayout::html ? "r.htm" : "r.csv");
        WorkProgress progress;
        ASSERT_TRUE(saveIntermodReport(plan, path, &progress).written);
        EXPECT_DOUBLE_EQ(progress.fractionDone(), 1.0);
        const std::string document = contentOf(path);
        const std::string start =
            layout == ReportLayout::html ? "<B>Frequency</B>" : "\"F#\",\"Frequency\"\r\n";
        const std::string end = layout == ReportLayout::html ? "\r\n</TABLE>" : "\r\n\r\n";
        const std::size_t first = document.rfind(start) + start.size();
        const std::string rows = document.substr(first, document.rfind(end) - first);
        EXPECT_TRUE(rows == expectedProductRows(products, layout)) << "the rows differ";
    }
}

TEST_F(SaveReportTest, APlanWithTooManyProductsIsRefusedBeforeAnythingChanges)
{
    const int limitCarriers = maxReportCarriers();
    EXPECT_LE(intermodProductCount(limitCarriers), maxReportProducts);
    EXPECT_GT(intermodProductCount(limitCarriers + 1), maxReportProducts);

    CarrierList plan;
    for (int i = 0; i <= limitCarriers; ++i)
        plan.append(planOf({{5900.0 - 0.1 * i, "C" + std::to_string(i)}})[0]);
    const ReportResult result = saveIntermodReport(plan, folder.file("plan.htm"));
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.carrierCount, limitCarriers + 1);
    EXPECT_EQ(result.productCount, intermodProductCount(limitCarriers + 1));
    EXPECT_EQ(result.refusal, tooManyProductsText(limitCarriers + 1, result.productCount));
    EXPECT_EQ(reportResultText(result), result.refusal.value_or(""));
    EXPECT_TRUE(folder.names().empty());
    EXPECT_EQ(plan[0].label, "C0") << "not even sorted";

    EXPECT_EQ(tooManyProductsText(3000000, intermodProductCount(3000000)),
              "The plan has 3000000 carriers, which give more than 9223372036854775807 third "
              "order intermodulation products. A report can hold at most 200000000 products (" +
                  std::to_string(limitCarriers) + " carriers). Remove carriers and try again.");
}

// Six one-letter blocks; the first takes longest to format, so a block handed on as soon as it
// is ready would overtake it. Delivery stops when deliver has taken stopAfter blocks.
std::string deliveredBlocks(int stopAfter, bool& complete)
{
    std::string delivered;
    complete = deliverBlocksInOrder(
        6, 1,
        [](std::size_t block, char* out) {
            if (block == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            *out = static_cast<char>('0' + block);
            return out + 1;
        },
        [&](std::string_view text) {
            delivered += text;
            return static_cast<int>(delivered.size()) != stopAfter;
        });
    return delivered;
}

TEST(BlocksInOrder, AreDeliveredInBlockOrderUntilStopped)
{
    bool complete = false;
    EXPECT_EQ(deliveredBlocks(-1, complete), "012345");
    EXPECT_TRUE(complete);
    EXPECT_EQ(deliveredBlocks(3, complete), "012");
    EXPECT_FALSE(complete);
}

} // namespace
} // namespace orvane::test
