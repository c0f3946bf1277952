#include "analysis/intermod_analysis.h"
#include "analysis/intermod_products.h"

#include "bench_plans.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using orvane::bench::channelPlan;
using orvane::bench::peakMemoryMb;

// range(0): carriers; range(1): 1 with the density curve of the desktop's plot, else 0.
void analyse(benchmark::State& state)
{
    const int carrierCount = static_cast<int>(state.range(0));
    const orvane::CarrierList plan = channelPlan(carrierCount);
    orvane::IntermodOptions options;
    options.ip3Dbw = 40.0;
    if (state.range(1) != 0)
        options.density = orvane::DensityRange{5850.0, 5860.0 + 2.5 * carrierCount, 512};
    long long hitting = 0;
    for (auto _ : state) {
        const orvane::IntermodAnalysis analysis = orvane::analyseIntermod(plan, options);
        hitting = analysis.productsHitting;
        benchmark::DoNotOptimize(analysis.carriers.data());
    }
    const long long products = orvane::intermodProductCount(carrierCount);
    state.counters["products"] = static_cast<double>(products);
    state.counters["hitting"] = static_cast<double>(hitting);
    state.counters["products/s"] =
        benchmark::Counter(static_cast<double>(products) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    // Peak of the whole process: run one size per process (--benchmark_filter) for its own.
    state.counters["peak_MB"] = peakMemoryMb();
}

} // namespace

BENCHMARK(analyse)
    ->ArgsProduct({{200, 1000}, {0, 1}})
    ->ArgNames({"carriers", "curve"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
