// Every input a fuzzer found a problem with, and every seed of the fuzz corpus, run through
// the same checks the fuzz targets make.
#include "fuzz_checks.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace orvane::test {
namespace {

struct FuzzTarget {
    const char* name; // the folder of its inputs under the corpus and the regressions
    std::function<std::string(std::string_view)> check;
};

class FuzzInputs : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzInputs, RegressionInputsAndSeedsKeepEveryPromise)
{
    // The regressions of a target may be none yet; its seeds never are.
    for (const auto& [folder, seeds] :
         {std::pair{"/tests/hardening/regressions/", false}, std::pair{"/fuzz/corpus/", true}}) {
        int checked = 0;
        const std::filesystem::path inputs =
            std::string(ORVANE_SOURCE_DIR) + folder + GetParam().name;
        for (const auto& entry : std::filesystem::directory_iterator(inputs)) {
            const std::string name = entry.path().filename().string();
            if (name == "README.md" || name.front() == '.')
                continue;
            EXPECT_EQ(GetParam().check(contentOf(entry.path().string())), "") << entry.path();
            ++checked;
        }
        EXPECT_TRUE(checked > 0 || !seeds) << "no seeds in " << inputs;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, FuzzInputs,
                         ::testing::Values(FuzzTarget{"carrier_file", fuzz::checkCarrierReader},
                                           FuzzTarget{"modcod_file", fuzz::checkModcodReader},
                                           FuzzTarget{"round_trip", fuzz::checkRoundTrip},
                                           FuzzTarget{"analysis", fuzz::checkAnalysis},
                                           FuzzTarget{"amplifier_table",
                                                      fuzz::checkAmplifierTableReader}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane::test
