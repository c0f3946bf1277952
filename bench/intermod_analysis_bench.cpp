#include "analysis/intermod_analysis.h"
#include "analysis/intermod_products.h"

#include "bench_plans.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using orvane::bench::channelPlan;
using orvane::bench::irregularPlan;
using orvane::bench::peakMemoryMb;

// range(0): carriers; range(1): 1 with the density curve of the desktop's plot, else 0;
// range(2): 0 for the channel plan on its raster, 1 for it shaken off the raster.
void analyse(benchmark::State& state)
{
    const int carrierCount = static_cast<int>(state.range(0));
    const orvane::CarrierList plan =
        state.range(2) != 0 ? irregularPlan(carrierCount) : channelPlan(carrierCount);
    orvane::IntermodOptions options;
    options.ip3Dbw = 40.0;
    options.maxEvaluations.reset();
    if (state.range(1) != 0)
        options.density = orvane::DensityRange{5850.0, 5860.0 + 2.5 * carrierCount, 512};
    long long hitting = 0;
    double evaluations = 0.0;
    for (auto _ : state) {
        const orvane::IntermodAnalysis analysis = orvane::analyseIntermod(plan, options);
        hitting = analysis.productsHitting;
        evaluations = analysis.estimatedEvaluations;
        benchmark::DoNotOptimize(analysis.carriers.data());
    }
    state.counters["evaluations"] = evaluations;
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
    ->ArgsProduct({{200, 1000, 5000}, {0, 1}, {0}})
    ->ArgsProduct({{200, 1000}, {0, 1}, {1}})
    ->ArgNames({"carriers", "curve", "shaken"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The estimate the analysis and the desktop make before starting, on the shaken plan.
void estimate(benchmark::State& state)
{
    const orvane::CarrierList plan = irregularPlan(static_cast<int>(state.range(0)));
    orvane::IntermodOptions options;
    options.ip3Dbw = 40.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::estimateIntermodEvaluations(plan, options));
}

BENCHMARK(estimate)->Arg(1000)->Arg(5000)->ArgNames({"carriers"})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
