#include "amplifier/amplifier_simulation.h"

#include "bench_plans.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using orvane::bench::peakMemoryMb;

// A 36 MHz transponder (5965-6001 MHz) filled with count carriers: a quarter each at 64, 128
// and 256 kSps, the rest sharing what is left of 34 MHz, at equal power density with a few dB
// of spread, QPSK, 8PSK and 16APSK in turn, roll-off 20 %.
orvane::CarrierList transponderPlan(int count)
{
    const int small[] = {64, 128, 256};
    double smallKsps = 0.0;
    int largeCount = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 4 < 3)
            smallKsps += small[i % 4];
        else
            ++largeCount;
    }
    const double largeKsps = (34000.0 / 1.2 - smallKsps) / std::max(largeCount, 1);
    orvane::CarrierList plan;
    double edgeMhz = 5966.0;
    for (int i = 0; i < count; ++i) {
        const double ksps = i % 4 < 3 ? small[i % 4] : largeKsps;
        const double widthMhz = ksps * 1.2 / 1000.0;
        orvane::Carrier carrier;
        carrier.setFixedSymbolRate(edgeMhz + widthMhz / 2, ksps,
                                   10.0 * std::log10(ksps / 1000.0) + 10.0 + (i % 5 - 2), 1.2);
        carrier.calcMode = orvane::calcModeFec;
        carrier.modulationOrder = 4 << (i % 3);
        carrier.label = "Carrier " + std::to_string(i + 1);
        plan.append(carrier);
        edgeMhz += widthMhz;
    }
    plan.viewStartMhz = 5960.0;
    plan.viewStopMhz = 6006.0;
    return plan;
}

// range(0): carriers. The tube at 6 dB input back-off, the default precision.
void simulate(benchmark::State& state)
{
    const orvane::CarrierList plan = transponderPlan(static_cast<int>(state.range(0)));
    orvane::SimulationOptions options;
    options.inputBackoffDb = 6.0;
    orvane::AmplifierSimulation simulation;
    for (auto _ : state) {
        simulation = orvane::simulateAmplifier(plan, options);
        benchmark::DoNotOptimize(simulation.carriers.data());
    }
    state.counters["frames"] = simulation.trials;
    state.counters["fft_size"] = static_cast<double>(simulation.fftSize);
    state.counters["precision_dB"] = simulation.precisionDb;
    state.counters["worst_cim_dB"] = simulation.minCimDb.value_or(0.0);
    // Peak of the whole process: run one size per process (--benchmark_filter) for its own.
    state.counters["peak_MB"] = peakMemoryMb();
}

// range(0): carriers; 21 points from 0 to 20 dB.
void sweep(benchmark::State& state)
{
    const orvane::CarrierList plan = transponderPlan(static_cast<int>(state.range(0)));
    const orvane::SimulationOptions options;
    const std::vector<double> backoffs = orvane::backoffSteps(0.0, 20.0, 1.0);
    orvane::BackoffSweep result;
    for (auto _ : state) {
        result = orvane::sweepInputBackoff(plan, options, backoffs);
        benchmark::DoNotOptimize(result.points.data());
    }
    state.counters["points"] = static_cast<double>(result.points.size());
    state.counters["peak_MB"] = peakMemoryMb();
}

} // namespace

BENCHMARK(simulate)
    ->Arg(50)
    ->Arg(200)
    ->ArgNames({"carriers"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(sweep)
    ->Arg(20)
    ->ArgNames({"carriers"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

BENCHMARK_MAIN();
