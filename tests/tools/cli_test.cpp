#include "cli_test_support.h"

#include "files/carrier_file.h"
#include "report/intermod_report.h"

#include <filesystem>

namespace orvane::test {
namespace {

class Cli : public CliTest {
protected:
    Cli()
    {
        put("plan.txt", dataFile("reading/example.carriers.txt"));
        // Three carriers of 1000 kSps and 20 dBW 10 MHz apart, out of order, the last one
        // without a level.
        put("three.txt", "Plan\nR 1.35\nL\nS 6010 1000 1 4 0.5 20 B\nS 6000 1000 1 4 0.5 20 A\n"
                         "S 6020 1000 1 4 0.5 -999 C\n");
        put("empty.txt", "Only a title\n");
    }
};

TEST_F(Cli, DumpPrintsEveryValueOfThePlan)
{
    ASSERT_EQ(run({"dump", "@/plan.txt"}), 0) << errors;
    expectGolden(output, "cli/example.dump.json");
    EXPECT_EQ(errors, "");
    ASSERT_EQ(run({"dump", "@/three.txt", "--scrunch", "5900", "--shift", "-7000", "--sort"}), 0);
    EXPECT_NE(output.find("\"centreFrequencyMhz\": 1096.625,"), std::string::npos) << output;
    EXPECT_LT(output.find("\"label\": \"C\""), output.find("\"label\": \"A\"")) << output;
}

TEST_F(Cli, DumpNamesTheSkippedLinesInTheDocumentAndOnStandardError)
{
    put("bad.txt", "T\nC 6000 1000 0 4 0 1 bad\n6000 1000 good\n");
    ASSERT_EQ(run({"dump", "@/bad.txt"}), 0);
    EXPECT_NE(output.find("\"line\": 2,\n      \"reason\": \"the FEC rate is not above 0\""),
              std::string::npos)
        << output;
    EXPECT_NE(errors.find("Line 2: the FEC rate is not above 0."), std::string::npos) << errors;
}

TEST_F(Cli, ResaveWritesPlansAsTheProgramWritesThem)
{
    put("hand.txt", "Plan A\nF 5850 6425\n5900 36000 TV1\nL\nR 1.2\n"
                    "C 6000.5 2048 0 4 0.75 1.085106 10 DATA\nS 6100 1000 1.5 8 0.666667 12.5 SE");
    ASSERT_EQ(run({"resave", "@/hand.txt", "@/out.txt"}), 0) << errors;
    EXPECT_EQ(output, "");
    EXPECT_EQ(contentOf(pathOf("out.txt")), dataFile("reading/example.carriers.txt"));
    for (const char* name : {"c-band-36mhz.carriers.txt", "ku-band-dvb-s2.carriers.txt"}) {
        const std::string path = std::string(ORVANE_SOURCE_DIR) + "/examples/" + name;
        ASSERT_EQ(run({"resave", path, "@/again.txt"}), 0) << name << errors;
        EXPECT_EQ(errors, "") << name;
        EXPECT_EQ(contentOf(pathOf("again.txt")), contentOf(path)) << name << " is not byte-exact";
    }
}

TEST_F(Cli, ModcodPrintsTheCatalogue)
{
    put("example.modcod", dataFile("reading/example.modcod"));
    ASSERT_EQ(run({"modcod", "@/example.modcod"}), 0) << errors;
    expectGolden(output, "cli/example.modcod.json");
    const std::string examples = std::string(ORVANE_SOURCE_DIR) + "/examples/";
    EXPECT_EQ(run({"modcod", examples + "ku-band-dvb-s2.modcod"}), 0) << errors;
}

TEST_F(Cli, ReportIsTheProgramsReportInEitherLayout)
{
    std::filesystem::create_directory(pathOf("direct"));
    for (const std::string name : {"report.csv", "report.HTM"}) {
        ASSERT_EQ(run({"report", "@/three.txt", "@/" + name}), 0) << errors;
        EXPECT_EQ(errors, "");
        CarrierList plan;
        loadCarrierFile(plan, pathOf("three.txt"));
        saveIntermodReport(plan, pathOf("direct/" + name));
        EXPECT_EQ(contentOf(pathOf(name)), contentOf(pathOf("direct/" + name)));
    }
}

TEST_F(Cli, AnalyseGivesEveryCarrierInJsonOrCsv)
{
    ASSERT_EQ(run({"analyse", "@/three.txt", "--ip3", "40", "--guard-khz", "0"}), 0) << errors;
    expectGolden(output, "cli/three.analysis.json");
    ASSERT_EQ(run({"analyse", "--format", "csv", "--ip3", "40", "@/three.txt"}), 0) << errors;
    expectGolden(output, "cli/three.analysis.csv");
    ASSERT_EQ(run({"analyse", "@/three.txt"}), 0) << errors;
    expectGolden(output, "cli/three.hits.json");
}

TEST_F(Cli, OutputThatCannotBeWrittenIsAFailure)
{
    EXPECT_EQ(run({"dump", "@/plan.txt"}, " >/dev/full"), 1);
    EXPECT_NE(errors.find("could not be written"), std::string::npos) << errors;
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(output.find("Exit status"), std::string::npos);
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args; // "@" stands for the test's folder
    int status;                    // 1: an input failed, 2: a usage error
    const char* message;           // part of the standard error, "@" for the folder
};

class CliFailure : public Cli, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CliFailure, ExitsWithTheStatusAndTheMessageAndWritesNothing)
{
    EXPECT_EQ(run(GetParam().args), GetParam().status) << errors;
    std::string message = GetParam().message;
    if (message.find('@') != std::string::npos)
        message.replace(message.find('@'), 1, scratch.path());
    EXPECT_NE(errors.find(message), std::string::npos) << errors;
    EXPECT_EQ(output, "");
    EXPECT_EQ(scratch.names(), (std::vector<std::string>{"empty.txt", "plan.txt", "stderr.txt",
                                                         "stdout.txt", "three.txt"}));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliFailure,
    ::testing::Values(
        FailureCase{"NoCommand", {}, 2, "Usage: orvane-cli COMMAND"},
        FailureCase{"UnknownCommand", {"frobnicate"}, 2, "unknown command"},
        FailureCase{
            "DumpMissingPlan", {"dump", "@/missing.txt"}, 1, "@/missing.txt was not found."},
        FailureCase{"DumpNoCarriers", {"dump", "@/empty.txt"}, 1, "No carriers were found in @"},
        FailureCase{"DumpWithoutPlan", {"dump"}, 2, "Usage: orvane-cli dump"},
        FailureCase{"DumpUnknownOption", {"dump", "@/plan.txt", "--turn"}, 2, "unknown argument"},
        FailureCase{
            "ShiftWithoutNumber", {"dump", "@/plan.txt", "--shift"}, 2, "needs a frequency"},
        FailureCase{
            "ShiftWithText", {"dump", "@/plan.txt", "--scrunch", "ten"}, 2, "needs a frequency"},
        FailureCase{"ResaveUnwritable",
                    {"resave", "@/plan.txt", "@/no/out.txt"},
                    1,
                    "@/no/out.txt contains an invalid path."},
        FailureCase{"ResaveOneArgument", {"resave", "@/plan.txt"}, 2, "Usage: orvane-cli resave"},
        FailureCase{
            "NotAModcodFile", {"modcod", "@/plan.txt"}, 1, "No modcod entries were found in @"},
        FailureCase{"ModcodTwoArguments", {"modcod", "a", "b"}, 2, "Usage: orvane-cli modcod"},
        FailureCase{"ReportOneArgument", {"report", "@/plan.txt"}, 2, "Usage: orvane-cli report"},
        FailureCase{
            "ReportMissingPlan", {"report", "@/missing.txt", "@/r.csv"}, 1, "@/missing.txt"},
        FailureCase{"ReportNoCarriers", {"report", "@/empty.txt", "@/r.csv"}, 1, "@/empty.txt"},
        FailureCase{"ReportFullDisk",
                    {"report", "@/plan.txt", "/dev/full"},
                    1,
                    "Disk full while accessing /dev/full."},
        FailureCase{"AnalyseIp3NotANumber",
                    {"analyse", "@/plan.txt", "--ip3", "forty"},
                    2,
                    "--ip3 needs a finite number"},
        FailureCase{"AnalyseIp3Infinite",
                    {"analyse", "@/plan.txt", "--ip3", "inf"},
                    2,
                    "--ip3 needs a finite number"},
        FailureCase{"AnalyseGuardMissing",
                    {"analyse", "@/plan.txt", "--guard-khz"},
                    2,
                    "--guard-khz needs a finite number"},
        FailureCase{"AnalyseGuardNegative",
                    {"analyse", "@/plan.txt", "--guard-khz", "-1"},
                    2,
                    "must not be negative"},
        FailureCase{
            "AnalyseUnknownFormat", {"analyse", "@/plan.txt", "--format", "xml"}, 2, "json or csv"},
        FailureCase{
            "AnalyseWithoutPlan", {"analyse", "--ip3", "40"}, 2, "the carrier file is missing"},
        FailureCase{"AnalyseNoCarriers", {"analyse", "@/empty.txt"}, 1, "No carriers were found"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane::test
