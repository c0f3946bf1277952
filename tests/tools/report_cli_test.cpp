#include "cli_test_support.h"

namespace orvane::test {
namespace {

class ReportCommandTest : public CliTest {
protected:
    ReportCommandTest() : CliTest("report") {}
};

// Entered out of frequency order: the report numbers the carriers by ascending frequency.
constexpr const char* twoCarrierPlan = "Plan A\r\n\r\nF 5850 6425\r\n6010 1000 B\r\n"
                                       "6000 1000 A\r\n";

TEST_F(ReportCommandTest, WritesTheReport)
{
    put("plan.txt", twoCarrierPlan);
    ASSERT_EQ(run({pathOf("plan.txt"), pathOf("report.csv")}), 0) << errors;
    EXPECT_EQ(contentOf(pathOf("report.csv")),
              "\"ORVANE INTERMODULATION REPORT\"\r\n\"Orvane Version 2.0\"\r\n\r\n"
              "\"Carriers:\",2\r\n\"Third Order Intermods:\",2\r\n\r\n\"CARRIER LIST\"\r\n"
              "\"F#\",\"Frequency\",\"Label\"\r\n\"F1\",6000.00000,\"A\"\r\n"
              "\"F2\",6010.00000,\"B\"\r\n\r\n\"THIRD ORDER INTERMOD LIST\"\r\n"
              "\"F#\",\"Frequency\"\r\n\"2*F1-F2\",5990.00000\r\n\"2*F2-F1\",6020.00000\r\n"
              "\r\n\r\n");
    EXPECT_EQ(errors, "");
}

TEST_F(ReportCommandTest, WrongArgumentsAreAUsageError)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_NE(errors.find("Usage: orvane-cli report PLAN OUT"), std::string::npos);
    EXPECT_EQ(run({"a", "b", "c"}), 2);
}

TEST_F(ReportCommandTest, AnUnreadableOrEmptyPlanFailsWithoutAReport)
{
    EXPECT_EQ(run({pathOf("missing.txt"), pathOf("report.csv")}), 1);
    EXPECT_NE(errors.find(pathOf("missing.txt") + " was not found."), std::string::npos);

    put("empty.txt", "Only a title\r\n");
    EXPECT_EQ(run({pathOf("empty.txt"), pathOf("report.csv")}), 1);
    EXPECT_NE(errors.find("empty.txt"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pathOf("report.csv")));
}

TEST_F(ReportCommandTest, AReportThatCannotBeWrittenFailsWithTheReason)
{
    put("plan.txt", twoCarrierPlan);
    EXPECT_EQ(run({pathOf("plan.txt"), "/dev/full"}), 1);
    EXPECT_NE(errors.find("Disk full while accessing /dev/full."), std::string::npos);
}

} // namespace
} // namespace orvane::test
