#include "cli_test_support.h"

#include "files/carrier_file.h"
#include "report/intermod_report.h"

#include <filesystem>

namespace orvane::test {
namespace {

class Cli : public CliTest {
protected:
    // Three carriers of 1000 kSps and 20 dBW 10 MHz apart, out of order, the last one without
    // a level.
    Cli() { put("three.txt", dataFile("cli/three.carriers.txt")); }
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

TEST_F(Cli, FailuresExitWithTheirStatusAndMessageAndWriteNothing)
{
    expectFailures("cli/failures.txt");
}

} // namespace
} // namespace orvane::test
