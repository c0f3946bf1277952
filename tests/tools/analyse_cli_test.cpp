#include "cli_test_support.h"

#include <nlohmann/json.hpp>

namespace orvane::test {
namespace {

// Three carriers of 1000 kSps and 20 dBW 10 MHz apart, the third without a level.
constexpr const char* threeCarriers = "Plan\n"
                                      "R 1.35\n"
                                      "L\n"
                                      "S 6010 1000 1 4 0.5 20 B\n"
                                      "S 6000 1000 1 4 0.5 20 A\n"
                                      "S 6020 1000 1 4 0.5 -999 C\n";

class AnalyseCommandTest : public CliTest {
protected:
    AnalyseCommandTest() : CliTest("analyse") { put("plan.txt", threeCarriers); }
    nlohmann::ordered_json outputJson() const { return nlohmann::ordered_json::parse(output); }
};

TEST_F(AnalyseCommandTest, JsonHasEveryKeyInOrderAndNullsWhereNoValueExists)
{
    ASSERT_EQ(run({pathOf("plan.txt"), "--ip3", "40", "--guard-khz", "0"}), 0) << errors;
    const nlohmann::ordered_json analysis = outputJson();
    std::vector<std::string> keys;
    for (auto item = analysis.begin(); item != analysis.end(); ++item)
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"ip3Dbw", "guardKhz", "products", "productsHitting",
                                              "worstCarrier", "minCimDb", "carriers"}));
    EXPECT_EQ(analysis["products"], 9);
    EXPECT_EQ(analysis["worstCarrier"], nullptr); // F2's only product has F3 in it
    const nlohmann::ordered_json& first = analysis["carriers"][0];
    keys.clear();
    for (auto item = first.begin(); item != first.end(); ++item)
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"f", "label", "centreFrequencyMhz", "hits2", "hits3",
                                              "imPowerDbw", "cimDb", "complete", "strongest"}));
    EXPECT_EQ(first["label"], "A");
    EXPECT_EQ(first["cimDb"], nullptr);
    EXPECT_EQ(first["complete"], false);
    EXPECT_EQ(first["strongest"]["label"], "2*F2-F3");
    EXPECT_EQ(first["strongest"]["powerDbw"], nullptr);
    const nlohmann::ordered_json& third = analysis["carriers"][2];
    EXPECT_NEAR(third["imPowerDbw"].get<double>(), -21.7609, 1e-4);
    EXPECT_EQ(third["cimDb"], nullptr);
    EXPECT_EQ(third["complete"], true);

    ASSERT_EQ(run({pathOf("plan.txt")}), 0) << errors;
    EXPECT_EQ(outputJson()["ip3Dbw"], nullptr);
    EXPECT_EQ(outputJson()["carriers"][2]["complete"], nullptr);
}

TEST_F(AnalyseCommandTest, CsvHasAHeaderAndOneRowPerCarrier)
{
    ASSERT_EQ(run({"--format", "csv", "--ip3", "40", pathOf("plan.txt")}), 0) << errors;
    EXPECT_EQ(output.substr(output.find('\n') + 1),
              "\"F1\",\"A\",6000.00000,1,0,,,\"no\",\"2*F2-F3\",6000.00000,\n"
              "\"F2\",\"B\",6010.00000,0,1,,,\"no\",\"F1-F2+F3\",6010.00000,\n"
              "\"F3\",\"C\",6020.00000,1,0,-21.7609,,\"yes\",\"2*F2-F1\",6020.00000,-21.7609\n");
}

struct BadArguments {
    const char* name;
    std::vector<std::string> args; // "@" stands for the plan
    int status;
    const char* message;
};

class AnalyseFailureTest : public AnalyseCommandTest,
                           public ::testing::WithParamInterface<BadArguments> {};

TEST_P(AnalyseFailureTest, ExitsWithTheStatusAndTheMessage)
{
    put("empty.txt", "Only a title\n");
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg == "@"        ? pathOf("plan.txt")
                       : arg == "@empty" ? pathOf("empty.txt")
                                         : arg);
    EXPECT_EQ(run(args), GetParam().status);
    EXPECT_NE(errors.find(GetParam().message), std::string::npos) << errors;
    EXPECT_EQ(output, "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AnalyseFailureTest,
    ::testing::Values(
        BadArguments{"Ip3NotANumber", {"@", "--ip3", "forty"}, 2, "--ip3 needs a finite number"},
        BadArguments{"Ip3Infinite", {"@", "--ip3", "inf"}, 2, "--ip3 needs a finite number"},
        BadArguments{"GuardMissing", {"@", "--guard-khz"}, 2, "--guard-khz needs a finite number"},
        BadArguments{"GuardNegative", {"@", "--guard-khz", "-1"}, 2, "must not be negative"},
        BadArguments{"UnknownFormat", {"@", "--format", "xml"}, 2, "json or csv"},
        BadArguments{"NoPlan", {"--ip3", "40"}, 2, "the carrier file is missing"},
        BadArguments{"MissingPlan", {"absent.txt"}, 1, "absent.txt was not found."},
        BadArguments{"NoCarriers", {"@empty"}, 1, "No carriers were found"}),
    [](const ::testing::TestParamInfo<BadArguments>& info) { return info.param.name; });

} // namespace
} // namespace orvane::test
