// Every input a fuzzer found a problem with, and every seed of the fuzz corpus, run through
// the same checks the fuzz targets make.
#include "fuzz_checks.h"
#include "scratch_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

namespace orvane::test {
namespace {

struct FuzzTarget {
    const char* name; // the folder of its inputs under the corpus and the regressions
    std::function<std::string(std::string_view)> check;
};

class FuzzInputs : public ::testing::TestWithParam<FuzzTarget> {
protected:
    // Runs the check on every file in folder; the number of files.
    int checkEveryFile(const std::string& folder)
    {
        int checked = 0;
        for (const std::string& name : namesIn(folder)) {
            if (name == "README.md" || name.front() == '.')
                continue;
            const std::string path = folder + "/" + name;
            EXPECT_EQ(GetParam().check(readBytes(path)), "") << path;
            ++checked;
        }
        return checked;
    }
};

TEST_P(FuzzInputs, RegressionInputsKeepEveryPromise)
{
    const std::string folder =
        std::string(ORVANE_SOURCE_DIR) + "/tests/hardening/regressions/" + GetParam().name;
    ASSERT_TRUE(exists(folder)) << folder;
    checkEveryFile(folder);
}

TEST_P(FuzzInputs, SeedCorpusKeepsEveryPromise)
{
    const std::string folder = std::string(ORVANE_SOURCE_DIR) + "/fuzz/corpus/" + GetParam().name;
    EXPECT_GT(checkEveryFile(folder), 0) << "no seeds in " << folder;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, FuzzInputs,
                         ::testing::Values(FuzzTarget{"carrier_file", fuzz::checkCarrierReader},
                                           FuzzTarget{"modcod_file", fuzz::checkModcodReader},
                                           FuzzTarget{"round_trip", fuzz::checkRoundTrip}),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace orvane::test
