#include "analysis/intermod_products.h"
#include "report/intermod_report.h"

#include "bench_plans.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using orvane::bench::channelPlan;
using orvane::bench::peakMemoryMb;

// The report goes where ORVANE_BENCH_DIR says, else to the temporary folder.
std::string reportPath(const char* extension)
{
    const char* folder = std::getenv("ORVANE_BENCH_DIR");
    const std::filesystem::path base =
        folder ? std::filesystem::path(folder) : std::filesystem::temp_directory_path();
    return (base / (std::string("orvane-report-bench.") + extension)).string();
}

// The whole report as the program writes it: sort, compute, sort, write, put in place.
void reportToFile(benchmark::State& state, const char* extension)
{
    const int carrierCount = static_cast<int>(state.range(0));
    const std::string path = reportPath(extension);
    const long long products = orvane::intermodProductCount(carrierCount);
    for (auto _ : state) {
        state.PauseTiming();
        orvane::CarrierList plan = channelPlan(carrierCount);
        state.ResumeTiming();
        const orvane::ReportResult result = orvane::saveIntermodReport(plan, path);
        if (!result.written) {
            state.SkipWithError(orvane::reportResultText(result).c_str());
            break;
        }
    }
    const double fileMb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
    const double iterations = static_cast<double>(state.iterations());
    state.counters["products"] = static_cast<double>(products);
    state.counters["products/s"] =
        benchmark::Counter(static_cast<double>(products) * iterations, benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(fileMb * iterations, benchmark::Counter::kIsRate);
    state.counters["file_MB"] = fileMb;
    // Peak of the whole process: run one size per process (--benchmark_filter) for its own.
    state.counters["peak_MB"] = peakMemoryMb();
}

void htmlReport(benchmark::State& state)
{
    reportToFile(state, "htm");
}

void csvReport(benchmark::State& state)
{
    reportToFile(state, "csv");
}

// Computing and sorting alone, without any writing.
void productsOnly(benchmark::State& state)
{
    const int carrierCount = static_cast<int>(state.range(0));
    std::vector<double> frequencies;
    for (int i = 0; i < carrierCount; ++i)
        frequencies.push_back(5860.0 + 2.5 * i);
    for (auto _ : state) {
        orvane::CompactIntermodProducts products =
            orvane::computeCompactIntermodProducts(frequencies);
        orvane::sortByFrequency(products);
        benchmark::DoNotOptimize(products.data());
    }
    state.counters["products/s"] =
        benchmark::Counter(static_cast<double>(orvane::intermodProductCount(carrierCount)) *
                               static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = peakMemoryMb();
}

BENCHMARK(htmlReport)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(csvReport)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
// 400 carriers (31.8 million products) shows how memory grows towards the report's limit.
BENCHMARK(productsOnly)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
