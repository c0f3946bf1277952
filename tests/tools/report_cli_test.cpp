#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

// Runs orvane-cli with shell-quoted arguments; the exit status, stderr kept in a file.
class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-cli-report-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string pathOf(const std::string& name) const { return folder + "/" + name; }

    static std::string quoted(const std::string& text)
    {
        std::string result = "'";
        for (const char c : text)
            result += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return result + "'";
    }

    int run(const std::vector<std::string>& args)
    {
        std::string command = quoted(ORVANE_CLI_PATH) + " report";
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        command += " 2>" + quoted(pathOf("stderr.txt"));
        const int status = std::system(command.c_str());
        errors = contentOf(pathOf("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string contentOf(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    void writeFile(const std::string& name, const std::string& content) const
    {
        std::ofstream(pathOf(name), std::ios::binary) << content;
    }

    std::string folder;
    std::string errors;
};

// Entered out of frequency order: the report numbers the carriers by ascending frequency.
constexpr const char* twoCarrierPlan = "Plan A\r\n\r\nF 5850 6425\r\n6010 1000 B\r\n"
                                       "6000 1000 A\r\n";

TEST_F(ReportCommandTest, WritesTheReport)
{
    writeFile("plan.txt", twoCarrierPlan);
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

    writeFile("empty.txt", "Only a title\r\n");
    EXPECT_EQ(run({pathOf("empty.txt"), pathOf("report.csv")}), 1);
    EXPECT_NE(errors.find("empty.txt"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pathOf("report.csv")));
}

TEST_F(ReportCommandTest, AReportThatCannotBeWrittenFailsWithTheReason)
{
    writeFile("plan.txt", twoCarrierPlan);
    EXPECT_EQ(run({pathOf("plan.txt"), "/dev/full"}), 1);
    EXPECT_NE(errors.find("Disk full while accessing /dev/full."), std::string::npos);
}

} // namespace
