// The analysis and the report when memory runs out: operator new is replaced so that the n-th
// allocation from now, on any thread, fails. Tried at each allocation in turn, each must refuse
// or answer as if nothing happened, never throw, hang or end the program from a thread.
#include "analysis/intermod_analysis.h"
#include "report/intermod_report.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>

namespace {

// Allocations left before one fails; -1 for none to fail.
std::atomic<long long> allocationsBeforeFailure{-1};
std::atomic<long long> bytesAllocated{0};

} // namespace

// The other forms of new and delete come to these. GCC, inlining them into their callers, takes
// the free below for one of a pointer from new.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure.load() >= 0 && allocationsBeforeFailure.fetch_sub(1) == 0)
        throw std::bad_alloc();
    bytesAllocated += static_cast<long long>(size);
    if (void* place = std::malloc(size > 0 ? size : 1))
        return place;
    throw std::bad_alloc();
}

void operator delete(void* place) noexcept
{
    std::free(place);
}

void operator delete(void* place, std::size_t) noexcept
{
    operator delete(place);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* place, const std::nothrow_t&) noexcept
{
    operator delete(place);
}

namespace orvane {
namespace {

CarrierList randomPlan(int count)
{
    std::mt19937 random(11);
    CarrierList plan;
    for (int i = 0; i < count; ++i) {
        Carrier carrier;
        carrier.setFixedSymbolRate(6000.0 + (random() % 5000) * 0.01, 200.0 + random() % 1500,
                                   random() % 7 == 0 ? -999.0 : 10.0, 1.35);
        plan.append(carrier);
    }
    return plan;
}

std::string summary(const IntermodAnalysis& analysis)
{
    std::string text = std::to_string(analysis.productsHitting);
    for (const CarrierIntermod& carrier : analysis.carriers)
        text += " " + std::to_string(carrier.twoToneHits + carrier.threeToneHits) + "/" +
                std::to_string(carrier.imPowerDbw.value_or(0.0));
    return text;
}

TEST(AllocationFailures, TheAnalysisRefusesOrAnswersOnEveryThread)
{
    const CarrierList plan = randomPlan(12);
    IntermodOptions options;
    options.ip3Dbw = 40.0;
    options.density = DensityRange{5990.0, 6060.0, 50};
    options.threadCount = 3;
    const std::string expected = summary(analyseIntermod(plan, options));
    const std::string refusal =
        "There is not enough memory for the intermodulation analysis of 12 carriers.";
    for (long long failing = 0;; ++failing) {
        ASSERT_LT(failing, 100000) << "the analysis never runs out of allocations";
        allocationsBeforeFailure = failing;
        IntermodAnalysis analysis;
        EXPECT_NO_THROW(analysis = analyseIntermod(plan, options)) << failing;
        const bool failed = allocationsBeforeFailure.exchange(-1) < 0;
        EXPECT_EQ(analysis.refusal ? refusal : summary(analysis),
                  analysis.refusal.value_or(expected));
        if (!failed)
            break;
    }
}

// A cancel already given stops the analysis before it builds anything of the plan's size
// beyond the sorted copy of the plan.
TEST(AllocationFailures, ACancelledAnalysisBuildsNothing)
{
    const CarrierList plan = randomPlan(2000);
    std::atomic<bool> cancel{true};
    IntermodOptions options;
    options.ip3Dbw = 40.0;
    options.cancel = &cancel;
    bytesAllocated = 0;
    const IntermodAnalysis analysis = analyseIntermod(plan, options);
    EXPECT_TRUE(analysis.cancelled);
    EXPECT_LT(bytesAllocated.load(), 2 * 2000 * static_cast<long long>(sizeof(Carrier)));
}

TEST(AllocationFailures, TheReportRefusesOrIsWrittenAndNoThreadEndsTheProgram)
{
    test::TempFolder folder;
    const std::string refusal = notEnoughMemoryForReportText(60);
    for (const char* name : {"report.csv", "report.htm"}) {
        const std::string path = folder.file(name);
        for (long long failing = 0;; ++failing) {
            ASSERT_LT(failing, 100000) << "the report never runs out of allocations";
            CarrierList plan = randomPlan(60);
            allocationsBeforeFailure = failing;
            ReportResult result;
            EXPECT_NO_THROW(result = saveIntermodReport(plan, path)) << failing;
            const bool failed = allocationsBeforeFailure.exchange(-1) < 0;
            EXPECT_TRUE(result.written || result.refusal == refusal || result.error) << failing;
            EXPECT_EQ(std::filesystem::exists(path), result.written) << failing;
            std::filesystem::remove(path);
            if (!failed)
                break;
        }
    }
}

} // namespace
} // namespace orvane
