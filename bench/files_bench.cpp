#include "files/carrier_file.h"
#include "model/carrier_list.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// A plan of the three carrier kinds, with levels and changing roll-offs, as a user's plan.
orvane::CarrierList mixedPlan(int count)
{
    orvane::CarrierList plan;
    plan.title = "Benchmark plan";
    plan.viewStartMhz = 5850.0;
    plan.viewStopMhz = 6425.0;
    plan.reserve(static_cast<std::size_t>(count));
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> centre(5850.0, 6425.0);
    const double rolloffs[] = {1.35, 1.2, 1.25};
    for (int i = 0; i < count; ++i) {
        orvane::Carrier carrier;
        const double rolloff = rolloffs[(i / 7) % 3];
        switch (i % 3) {
        case 0:
            carrier.setFixedBandwidth(centre(generator), 0.5 + (i % 50) * 0.1, 10.0, rolloff);
            break;
        case 1:
            carrier.setFecFromDataRate(centre(generator), 512.0 + i % 4096, 16.0, 8, 0.75, 204.0,
                                       188.0, 8.5, rolloff);
            break;
        default:
            carrier.setSpectralFromDataRate(centre(generator), 2048.0, 2.228124, 8, 0.75, -999.0,
                                            rolloff);
            break;
        }
        carrier.label = "Carrier " + std::to_string(i) + " feed";
        plan.appendWithoutBounds(std::move(carrier));
    }
    plan.updateBounds();
    return plan;
}

std::string temporaryPath(const char* name)
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/orvane-bench-" + std::to_string(::getpid()) +
           "-" + name;
}

void loadCarrierFile100k(benchmark::State& state)
{
    orvane::CarrierList plan = mixedPlan(100000);
    const std::string path = temporaryPath("load.carriers.txt");
    if (!orvane::saveCarrierFile(plan, path).written) {
        state.SkipWithError("cannot write the plan to load");
        return;
    }
    for (auto _ : state) {
        orvane::CarrierList loaded;
        const orvane::FileReadResult result = orvane::loadCarrierFile(loaded, path);
        benchmark::DoNotOptimize(result.loaded);
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(loadCarrierFile100k)->Unit(benchmark::kMillisecond);

void saveCarrierFile100k(benchmark::State& state)
{
    orvane::CarrierList plan = mixedPlan(100000);
    const std::string path = temporaryPath("save.carriers.txt");
    for (auto _ : state) {
        const orvane::FileWriteResult result = orvane::saveCarrierFile(plan, path);
        benchmark::DoNotOptimize(result.written);
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(saveCarrierFile100k)->Unit(benchmark::kMillisecond);

void sortByFrequency1M(benchmark::State& state)
{
    const orvane::CarrierList unsorted = mixedPlan(1000000);
    for (auto _ : state) {
        state.PauseTiming();
        orvane::CarrierList plan = unsorted;
        state.ResumeTiming();
        plan.sortByFrequency();
        benchmark::DoNotOptimize(plan[0].centreFrequencyMhz);
        state.PauseTiming();
        plan = orvane::CarrierList();
        state.ResumeTiming();
    }
}
BENCHMARK(sortByFrequency1M)->Unit(benchmark::kMillisecond);

// Appending keeps the bounds up to date after each carrier; the whole run must stay O(n).
void appendCarriers(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    orvane::Carrier carrier;
    carrier.label = "appended";
    for (auto _ : state) {
        orvane::CarrierList plan;
        for (int i = 0; i < count; ++i) {
            carrier.centreFrequencyMhz = 5850.0 + (i % 5750) * 0.1;
            plan.append(carrier);
        }
        benchmark::DoNotOptimize(plan.highestEdgeMhz());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(appendCarriers)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
