#include "model/number_text.h"
#include "support/test_data.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace orvane::test {
namespace {

// Runs orvane-cli as a user would, in a folder of the test's own holding the example plan, a
// plan without carriers and three carriers of 1000 kSps 10 MHz apart, out of order, the last
// one without a level; keeps stdout and stderr.
class Cli : public ::testing::Test {
protected:
    Cli()
    {
        put("plan.txt", dataFile("reading/example.carriers.txt"));
        put("empty.txt", "Only a title\r\n");
        put("three.txt", dataFile("cli/three.carriers.txt"));
        put("bent.csv", "in,out,phase\n-20,-14,2\n-10,-5,8\n-15,-9,5\n");
    }

    // The text with every "@" standing for the folder.
    std::string inFolder(std::string text) const
    {
        for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@'))
            text.replace(at, 1, scratch.path());
        return text;
    }

    static std::string quoted(const std::string& text)
    {
        std::string result = "'";
        for (const char c : text)
            result += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return result + "'";
    }

    // The exit status of orvane-cli with these arguments; "@" in one stands for the folder.
    int run(const std::vector<std::string>& args, const std::string& redirect = "")
    {
        std::string command = quoted(ORVANE_CLI_PATH);
        for (const std::string& arg : args)
            command += " " + quoted(inFolder(arg));
        command += (redirect.empty() ? " >" + quoted(scratch.file("stdout.txt")) : redirect) +
                   " 2>" + quoted(scratch.file("stderr.txt"));
        const int status = std::system(command.c_str());
        output = contentOf(scratch.file("stdout.txt"));
        errors = contentOf(scratch.file("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Runs every line "status | part of the standard error | arguments" of a tests/data table:
    // each ends with that status and message, prints nothing and leaves no file behind.
    void expectFailures(const std::string& table)
    {
        std::vector<std::string> names = scratch.names();
        std::istringstream lines(dataFile(table));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t bar = line.find(" | ");
            const std::size_t secondBar = line.find(" |", bar + 3);
            std::istringstream words(line.substr(secondBar + 2));
            std::vector<std::string> args;
            for (std::string word; words >> word;)
                args.push_back(word);
            EXPECT_EQ(run(args), std::stoi(line.substr(0, bar))) << line << "\n" << errors;
            const std::string message = inFolder(line.substr(bar + 3, secondBar - bar - 3));
            EXPECT_NE(errors.find(message), std::string::npos) << line << "\n" << errors;
            EXPECT_EQ(output, "") << line;
        }
        names.insert(names.end(), {"stderr.txt", "stdout.txt"});
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        EXPECT_EQ(scratch.names(), names);
    }

    void put(const std::string& name, const std::string& bytes) const
    {
        test::put(scratch.file(name), bytes);
    }

    TempFolder scratch;
    std::string output;
    std::string errors;
};

// Each document as its golden file holds it: a plan, a catalogue, the analysis of three
// carriers with and without an intercept point in either layout, and the help page's budget
// example (its figures are the budget tests'), its 36 MHz the plan's view range, in either
// layout, then with a back-off and no Psat: over-driven, but no power share, C/N or margin.
TEST_F(Cli, CommandsPrintTheirDocuments)
{
    put("example.modcod", dataFile("reading/example.modcod"));
    put("budget.txt", dataFile("cli/budget.carriers.txt"));
    const std::pair<std::vector<std::string>, const char*> runs[] = {
        {{"dump", "@/plan.txt"}, "example.dump.json"},
        {{"modcod", "@/example.modcod"}, "example.modcod.json"},
        {{"analyse", "@/three.txt", "--ip3", "40", "--guard-khz", "0"}, "three.analysis.json"},
        {{"analyse", "--format", "csv", "--ip3", "40", "@/three.txt"}, "three.analysis.csv"},
        {{"analyse", "@/three.txt"}, "three.hits.json"},
        {{"analyse", "--format", "json", "--psat", "20", "--cn0-sat", "95", "@/budget.txt"},
         "budget.analysis.json"},
        {{"analyse", "--format", "csv", "--psat", "20", "--cn0-sat", "95", "@/budget.txt"},
         "budget.analysis.csv"},
        {{"analyse", "@/budget.txt", "--transponder-mhz", "72", "--obo", "-1"},
         "budget.over-driven.json"}};
    for (const auto& [args, golden] : runs) {
        ASSERT_EQ(run(args), 0) << golden << errors;
        EXPECT_EQ(errors, "") << golden;
        expectGolden(output, std::string("cli/") + golden);
    }
}

// A plan moved and sorted; skipped lines named in the document and on standard error.
TEST_F(Cli, DumpMovesAndSortsAndNamesSkippedLines)
{
    ASSERT_EQ(run({"dump", "@/three.txt", "--scrunch", "5900", "--shift", "-7000", "--sort"}), 0);
    EXPECT_NE(output.find("\"centreFrequencyMhz\": 1096.625,"), std::string::npos) << output;
    EXPECT_LT(output.find("\"label\": \"C\""), output.find("\"label\": \"A\"")) << output;
    put("bad.txt", "T\nC 6000 1000 0 4 0 1 bad\n6000 1000 good\n");
    ASSERT_EQ(run({"dump", "@/bad.txt"}), 0);
    expectGolden(output, "cli/bad.dump.json");
    EXPECT_NE(errors.find("Line 2: the FEC rate is not above 0."), std::string::npos) << errors;
}

TEST_F(Cli, ResaveWritesPlansAsTheProgramWritesThem)
{
    put("hand.txt", "Plan A\nF 5850 6425\n5900 36000 TV1\nL\nR 1.2\n"
                    "C 6000.5 2048 0 4 0.75 1.085106 10 DATA\nS 6100 1000 1.5 8 0.666667 12.5 SE");
    ASSERT_EQ(run({"resave", "@/hand.txt", "@/out.txt"}), 0) << errors;
    EXPECT_EQ(output, "");
    EXPECT_EQ(contentOf(scratch.file("out.txt")), dataFile("reading/example.carriers.txt"));
    for (const char* name : {"c-band-36mhz.carriers.txt", "ku-band-dvb-s2.carriers.txt"}) {
        const std::string path = std::string(ORVANE_SOURCE_DIR) + "/examples/" + name;
        ASSERT_EQ(run({"resave", path, "@/again.txt"}), 0) << name << errors;
        EXPECT_EQ(errors, "") << name;
        EXPECT_EQ(contentOf(scratch.file("again.txt")), contentOf(path))
            << name << " is not byte-exact";
    }
}

TEST_F(Cli, ReportIsTheProgramsReportInEitherLayout)
{
    for (const std::string name : {"report.csv", "report.HTM"}) {
        ASSERT_EQ(run({"report", "@/three.txt", "@/" + name}), 0) << errors;
        EXPECT_EQ(errors, "");
        EXPECT_EQ(contentOf(scratch.file(name)), expectedDocument("cli/three." + name));
    }
}

// The text of a JSON member "key": value, looked for from the first occurrence of within.
std::string member(const std::string& document, const std::string& key,
                   const std::string& within = "")
{
    const std::size_t from = document.find(within);
    const std::size_t at = document.find("\"" + key + "\": ", from);
    if (from == std::string::npos || at == std::string::npos)
        return "(no " + key + ")";
    const std::size_t start = at + key.size() + 4;
    return document.substr(start, document.find_first_of(",\n", start) - start);
}

// The placement's repeatability for a seed is its own tests' part.
TEST_F(Cli, PlaceWritesItsProposalAndAnalyseConfirmsIt)
{
    const std::vector<std::string> place = {
        "place",    "@/c-band.txt", "@/placed.txt", "--ip3",  "40",       "--lock",
        "6",        "--raster-khz", "100",          "--band", "5962",     "6004",
        "--forbid", "5990:5992.5",  "--seed",       "7",      "--effort", "0.05"};
    put("c-band.txt",
        contentOf(std::string(ORVANE_SOURCE_DIR) + "/examples/c-band-36mhz.carriers.txt"));
    ASSERT_EQ(run(place), 0) << errors;
    const std::string placed = contentOf(scratch.file("placed.txt"));
    const std::string document = output;
    // The locked carrier's line is as it was; every moved centre is on the raster.
    EXPECT_NE(placed.find("S 5989.00000 15000.000 2.228124 8 0.750000 16.000 DVB-S2"),
              std::string::npos);
    EXPECT_EQ(member(document, "seed"), "7");
    EXPECT_NE(member(document, "minCimDb", "\"before\""),
              member(document, "minCimDb", "\"after\""));
    for (std::size_t at = document.find("\"toMhz\": "); at != std::string::npos;
         at = document.find("\"toMhz\": ", at + 1)) {
        const double centreMhz = std::stod(document.substr(at + 9));
        EXPECT_NEAR(centreMhz * 10, std::round(centreMhz * 10), 1e-6) << centreMhz;
    }

    ASSERT_EQ(run({"analyse", "@/placed.txt", "--ip3", "40"}), 0) << errors;
    for (const char* key : {"minCimDb", "worstCarrier", "productsHitting"})
        EXPECT_EQ(member(output, key), member(document, key, "\"after\"")) << key;
    ASSERT_EQ(run({"analyse", "@/c-band.txt", "--ip3", "40"}), 0) << errors;
    EXPECT_EQ(member(output, "minCimDb"), member(document, "minCimDb", "\"before\""));
}

// 1500 carriers 36 MHz wide at random within 100 MHz: most products reach most carriers,
// thousands of billions of evaluations.
TEST_F(Cli, AnalyseRefusesWorkBeyondItsBudgetOrStopsAtTheTimeLimit)
{
    std::mt19937 random(7);
    std::string plan = "Dense\n";
    for (int i = 0; i < 1500; ++i)
        plan +=
            std::to_string(6000.0 + 1e-4 * static_cast<double>(random() % 1000000)) + " 36000 C\n";
    put("dense.txt", plan);
    EXPECT_EQ(run({"analyse", "@/dense.txt", "--ip3", "40"}), 1);
    EXPECT_NE(errors.find("evaluations of products on carriers, more than the 2e+11"),
              std::string::npos)
        << errors;
    EXPECT_EQ(run({"analyse", "@/dense.txt", "--max-seconds", "0.2"}), 1);
    EXPECT_NE(errors.find("did not finish within 0.2 seconds"), std::string::npos) << errors;
    EXPECT_EQ(output, "");
}

TEST_F(Cli, SimulatePrintsEveryCarrierAndWritesTheSpectrum)
{
    // Three tones whose bands each catch one third-order product of the cubic model, and a
    // carrier without a level.
    put("tones.txt", "Tones\r\nF 5990 6030\r\nL\r\nR 1.35\r\nS 6000 2000 1 4 0.5 10 A\r\n"
                     "S 6010.3 2000 1 4 0.5 13 B\r\nS 6020 2000 1 4 0.5 7 C\r\n"
                     "6025 100 -999 reserved\r\n");
    ASSERT_EQ(run({"simulate", "@/tones.txt", "--amplifier", "ip3", "--ip3", "40", "--carriers",
                   "tone", "--spectrum", "@/out.csv"}),
              0)
        << errors;
    EXPECT_EQ(errors, "");
    const nlohmann::ordered_json document = nlohmann::ordered_json::parse(output);
    std::vector<std::string> keys;
    for (auto item = document.begin(); item != document.end(); ++item)
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"amplifier", "iboDb", "oboDb", "totalOutputDbw",
                                              "precisionDb", "carriers"}));
    EXPECT_EQ(document["amplifier"], "ip3");
    EXPECT_TRUE(document["iboDb"].is_null() && document["oboDb"].is_null());
    const auto& carriers = document["carriers"];
    ASSERT_EQ(carriers.size(), 4u);
    // 2*F2-F3 in F1's band at 2 * 13 + 7 - 2 * 40 dBW, F1+F3-F2 in F2's 6.02 dB above the sum.
    EXPECT_NEAR(carriers[0]["imPowerDbw"].get<double>(), -47.0, 0.002);
    EXPECT_NEAR(carriers[1]["imPowerDbw"].get<double>(), -43.98, 0.002);
    EXPECT_EQ(carriers[1]["label"], "B");
    EXPECT_EQ(carriers[1]["centreFrequencyMhz"], 6010.3);
    EXPECT_EQ(carriers[3].dump(), "{\"f\":4,\"label\":\"reserved\",\"centreFrequencyMhz\":6025,"
                                  "\"outputPowerDbw\":null,\"imPowerDbw\":null,\"cimDb\":null,"
                                  "\"compressionDb\":null}");
    // The spectrum spans the view range 5990-6030 widened by its 40 MHz on each side.
    const std::string spectrum = contentOf(scratch.file("out.csv"));
    ASSERT_EQ(spectrum.rfind("frequencyMhz,dbwPerKhz\r\n", 0), 0u) << spectrum.substr(0, 40);
    EXPECT_EQ(spectrum.substr(spectrum.size() - 2), "\r\n");
    EXPECT_EQ(std::count(spectrum.begin(), spectrum.end(), '\n'),
              std::count(spectrum.begin(), spectrum.end(), '\r'));
    const std::size_t lastLine = spectrum.rfind('\n', spectrum.size() - 3) + 1;
    EXPECT_NEAR(readNumberPrefix(spectrum.substr(24)).value, 5950.0, 0.1);
    EXPECT_NEAR(readNumberPrefix(spectrum.substr(lastLine)).value, 6070.0, 0.1);

    // Modulated carriers through the tube repeat for a seed, and differ for another.
    std::vector<std::string> outputs;
    for (const char* seed : {"5", "5", "6"}) {
        ASSERT_EQ(run({"simulate", "@/three.txt", "--amplifier", "saleh", "--ibo", "3",
                       "--precision-db", "1", "--seed", seed}),
                  0)
            << errors;
        outputs.push_back(output);
    }
    EXPECT_NE(outputs[0].find("\"iboDb\": 3,"), std::string::npos) << outputs[0];
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_NE(outputs[2], outputs[0]);
}

TEST_F(Cli, FailuresExitWithTheirStatusAndMessageAndWriteNothing)
{
    expectFailures("cli/failures.txt");
#ifdef ORVANE_IMAGE_COMMAND
    expectFailures("cli/image-failures.txt");
#endif
    EXPECT_EQ(run({"dump", "@/plan.txt"}, " >/dev/full"), 1);
    EXPECT_NE(errors.find("could not be written"), std::string::npos) << errors;
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(output.find("Exit status"), std::string::npos);
}

#ifdef ORVANE_IMAGE_COMMAND
TEST_F(Cli, ImageWritesTheFormatTheExtensionNames)
{
    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.bmp"}), 0) << errors;
    const std::string bitmap = contentOf(scratch.file("plan.bmp"));
    EXPECT_EQ(bitmap.size(), 1925670u) << "801 x 601 pixels of 32 bits";
    EXPECT_EQ(bitmap.substr(0, 2), "BM");

    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.PNG", "--size", "400x300", "--edges"}), 0);
    const std::string png = contentOf(scratch.file("plan.PNG"));
    // The signature, then the header's width and height as big-endian 32-bit numbers.
    EXPECT_EQ(png.substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\x90\0\0\x01\x2c", 24));

    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.svg", "--size", "640x480"}), 0) << errors;
    const std::string drawing = contentOf(scratch.file("plan.svg"));
    for (const char* part : {"viewBox=\"0 0 640 480\"", ">Plan A</text>", ">TV1</text>"})
        EXPECT_NE(drawing.find(part), std::string::npos) << part;
}
#endif

} // namespace
} // namespace orvane::test
