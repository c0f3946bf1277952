#include "cli_test_support.h"

#include <nlohmann/json.hpp>

namespace orvane::test {
namespace {

constexpr const char* examplePlan =
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

class PlanCommandTest : public CliTest {
protected:
    nlohmann::json outputJson() const { return nlohmann::json::parse(output); }
};

TEST_F(PlanCommandTest, DumpPrintsThePlanWithEveryField)
{
    put("plan.txt", examplePlan);
    ASSERT_EQ(run({"dump", pathOf("plan.txt")}), 0) << errors;
    EXPECT_EQ(errors, "");
    const nlohmann::json plan = outputJson();
    EXPECT_EQ(plan["title"], "Plan A");
    EXPECT_EQ(plan["viewStopMhz"], 6425.0);
    EXPECT_EQ(plan["lowestEdgeMhz"], 5882.0);
    EXPECT_EQ(plan["skipped"], nlohmann::json::array());
    ASSERT_EQ(plan["carriers"].size(), 3u);

    const nlohmann::json& fec = plan["carriers"][1];
    EXPECT_EQ(fec["label"], "DATA");
    EXPECT_EQ(fec["rsN"], 1.085106);
    EXPECT_EQ(fec["centreFrequencyMhz"], 6000.5);
    EXPECT_EQ(plan["carriers"][0]["powerDensityDbw"], -999.0);
}

TEST_F(PlanCommandTest, DumpAppliesTheOperationsInOrder)
{
    put("plan.txt", "T\n6000 1350 A\n5990 2700 B\n");
    ASSERT_EQ(run({"dump", pathOf("plan.txt"), "--scrunch", "5900", "--shift", "-7000"}), 0)
        << errors;
    const nlohmann::json plan = outputJson();
    EXPECT_EQ(plan["carriers"][0]["label"], "B");
    EXPECT_DOUBLE_EQ(plan["carriers"][0]["centreFrequencyMhz"].get<double>(), 1098.65);
    EXPECT_DOUBLE_EQ(plan["carriers"][1]["centreFrequencyMhz"].get<double>(), 1096.625);
}

TEST_F(PlanCommandTest, DumpReportsSkippedLinesInJsonAndOnStandardError)
{
    put("plan.txt", "T\nC 6000 1000 0 4 0 1 bad\n6000 1000 good\n");
    ASSERT_EQ(run({"dump", pathOf("plan.txt")}), 0);
    const nlohmann::json plan = outputJson();
    ASSERT_EQ(plan["skipped"].size(), 1u);
    EXPECT_EQ(plan["skipped"][0]["line"], 2);
    EXPECT_EQ(plan["skipped"][0]["reason"], "the FEC rate is not above 0");
    EXPECT_NE(errors.find("Line 2: the FEC rate is not above 0."), std::string::npos) << errors;
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args; // "@" stands for the test's folder
    int status;
    const char* message; // part of the standard error, "@" for the folder
};

class PlanCommandFailureTest : public PlanCommandTest,
                               public ::testing::WithParamInterface<FailureCase> {};

std::string withFolder(std::string text, const std::string& folder)
{
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
        text.replace(at, 1, folder);
    return text;
}

TEST_P(PlanCommandFailureTest, ExitsWithTheStatusAndTheMessage)
{
    put("plan.txt", examplePlan);
    put("empty.txt", "Only a title\n");
    put("cat.modcod", "modcod\nT\nF 0 4 0.5 0 0 1 1 A\n");
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(withFolder(arg, folder));
    EXPECT_EQ(run(args), GetParam().status) << errors;
    EXPECT_NE(errors.find(withFolder(GetParam().message, folder)), std::string::npos) << errors;
    EXPECT_EQ(output, "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PlanCommandFailureTest,
    ::testing::Values(
        FailureCase{"MissingPlan", {"dump", "@/missing.txt"}, 1, "@/missing.txt was not found."},
        FailureCase{
            "NoCarriers", {"dump", "@/empty.txt"}, 1, "No carriers were found in @/empty.txt."},
        FailureCase{"UnwritableTarget",
                    {"resave", "@/plan.txt", "@/no/out.txt"},
                    1,
                    "@/no/out.txt contains an invalid path."},
        FailureCase{"NotAModcodFile",
                    {"modcod", "@/cat.modcod"},
                    1,
                    "No modcod entries were found in @/cat.modcod."},
        FailureCase{"DumpWithoutPlan", {"dump"}, 2, "Usage: orvane-cli dump"},
        FailureCase{"UnknownOption", {"dump", "@/plan.txt", "--turn"}, 2, "unknown argument"},
        FailureCase{
            "ShiftWithoutNumber", {"dump", "@/plan.txt", "--shift"}, 2, "needs a frequency"},
        FailureCase{
            "ShiftWithText", {"dump", "@/plan.txt", "--shift", "ten"}, 2, "needs a frequency"},
        FailureCase{"ModcodTwoArguments", {"modcod", "a", "b"}, 2, "Usage: orvane-cli modcod"},
        FailureCase{"UnknownCommand", {"frobnicate"}, 2, "unknown command"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(PlanCommandTest, OutputThatCannotBeWrittenIsAFailure)
{
    put("plan.txt", examplePlan);
    const std::string command = quoted(ORVANE_CLI_PATH) + " dump " + quoted(pathOf("plan.txt")) +
                                " >/dev/full 2>" + quoted(pathOf("stderr.txt"));
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(contentOf(pathOf("stderr.txt")).find("could not be written"), std::string::npos);
}

TEST_F(PlanCommandTest, ResaveWritesThePlanAsOrvaneWritesIt)
{
    put("hand.txt", "Plan A\nF 5850 6425\n5900 36000 TV1\nL\nR 1.2\n"
                    "C 6000.5 2048 0 4 0.75 1.085106 10 DATA\n"
                    "S 6100 1000 1.5 8 0.666667 12.5 SE");
    ASSERT_EQ(run({"resave", pathOf("hand.txt"), pathOf("out.txt")}), 0) << errors;
    EXPECT_EQ(output, "");
    EXPECT_EQ(contentOf(pathOf("out.txt")), examplePlan);
}

TEST_F(PlanCommandTest, ModcodPrintsTheCatalogue)
{
    put("cat.modcod", "MODCOD\r\nExample catalogue\r\nR 1.25\r\nC\r\n"
                      "F 16 4 0.5 0 0 4.5 1e-7 QPSK 1/2\r\nE\r\n"
                      "S 2.25 8 0.75 6.5 1e-7 8PSK SE\r\n");
    ASSERT_EQ(run({"modcod", pathOf("cat.modcod")}), 0) << errors;
    const nlohmann::json catalogue = outputJson();
    EXPECT_EQ(catalogue["title"], "Example catalogue");
    ASSERT_EQ(catalogue["entries"].size(), 2u);
    EXPECT_EQ(catalogue["entries"][0]["label"], "QPSK 1/2");
    EXPECT_EQ(catalogue["entries"][1]["overheadKbps"], 16.0);
    EXPECT_EQ(catalogue["entries"][1]["modcodSection"], 1);
}

TEST_F(PlanCommandTest, HelpDescribesTheCommands)
{
    ASSERT_EQ(run({"--help"}), 0);
    for (const char* text : {"dump PLAN", "resave PLAN OUT", "modcod FILE", "Exit status"})
        EXPECT_NE(output.find(text), std::string::npos) << text;
}

TEST_F(PlanCommandTest, ExamplesLoadAsTheyAreWritten)
{
    for (const char* name : {"c-band-36mhz.carriers.txt", "ku-band-dvb-s2.carriers.txt"}) {
        const std::string path = std::string(ORVANE_SOURCE_DIR) + "/examples/" + name;
        ASSERT_EQ(run({"dump", path}), 0) << name << errors;
        EXPECT_EQ(outputJson()["skipped"].size(), 0u) << name;
        EXPECT_GE(outputJson()["carriers"].size(), 4u) << name;
        ASSERT_EQ(run({"resave", path, pathOf("again.txt")}), 0) << errors;
        EXPECT_EQ(contentOf(pathOf("again.txt")), contentOf(path)) << name << " is not byte-exact";
    }
    ASSERT_EQ(run({"modcod", std::string(ORVANE_SOURCE_DIR) + "/examples/ku-band-dvb-s2.modcod"}),
              0)
        << errors;
    EXPECT_GE(outputJson()["entries"].size(), 4u);
}

} // namespace
} // namespace orvane::test
