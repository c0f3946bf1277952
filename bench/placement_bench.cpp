#include "analysis/intermod_analysis.h"
#include "placement/placement.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

// The placement at its default effort on every core: the Golomb anchors, realistic
// transponders, the plain layouts it has to beat, and how soon Cancel returns.
namespace {

using orvane::Carrier;
using orvane::CarrierList;
using orvane::PlacementOptions;
using orvane::PlacementResult;

// OEIS A003022 (shortest Golomb rulers) and A005282 less 1 (Mian-Chowla), by marks.
constexpr int optimumSpan[] = {0, 0, 1, 3, 6, 11, 17, 25, 34, 44, 55, 72, 85};
constexpr int mianChowlaSpan[] = {0, 0, 1, 3, 7, 12, 20, 30, 44, 65, 80, 96, 122};

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of all the process's threads: on a loaded machine the time an idle one
// would take is about this over the number of cores.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec) * 1e-6;
}

PlacementResult placeTimed(benchmark::State& state, const CarrierList& plan,
                           const PlacementOptions& options)
{
    PlacementResult result;
    const double processorBefore = processorSeconds();
    for (auto _ : state)
        result = orvane::placeCarriers(plan, options);
    if (result.refusal)
        state.SkipWithError(result.refusal->text.c_str());
    state.counters["evaluations"] = static_cast<double>(result.evaluations);
    state.counters["all_threads_s"] = processorSeconds() - processorBefore;
    return result;
}

// range(0): marks; range(1): 1 for the band of the shortest ruler, 0 for the Mian-Chowla
// one. Equal 1 kHz carriers on a 1 MHz raster, band exactly the span.
void golomb(benchmark::State& state)
{
    const int marks = static_cast<int>(state.range(0));
    const int span = state.range(1) ? optimumSpan[marks] : mianChowlaSpan[marks];
    CarrierList plan;
    for (int i = 0; i < marks; ++i) {
        Carrier carrier;
        carrier.setFixedBandwidth(2000 + i, 0.001, 20, 1.0);
        plan.append(carrier);
    }
    PlacementOptions options;
    options.bandLowMhz = 1999.9995;
    options.bandHighMhz = 2000.0005 + span;
    options.rasterKhz = 1000;
    const PlacementResult result = placeTimed(state, plan, options);
    state.counters["span"] = span;
    state.counters["hitting"] = static_cast<double>(result.after.productsHitting);
}

// Carriers of mixed symbol rates (0.3 to 8 Msps, a few wide) at about equal power density
// (+-3 dB), 20 % roll-off, filling three quarters of the band with uneven gaps from its low
// edge, on a 125 kHz raster: the plan an operator might have grown by hand.
CarrierList transponder(int count, double bandMhz, double lowMhz)
{
    std::mt19937 random(static_cast<unsigned>(count * 1000 + bandMhz));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> rates;
    double total = 0;
    for (int i = 0; i < count; ++i) {
        rates.push_back(std::exp(std::log(0.3) + unit(random) * std::log(8.0 / 0.3)));
        total += rates.back() * 1.2;
    }
    const double scale = 0.75 * bandMhz / total;
    const double gapMhz = 0.25 * bandMhz / count;
    CarrierList plan;
    plan.title = std::to_string(count) + " carriers";
    plan.viewStartMhz = lowMhz;
    plan.viewStopMhz = lowMhz + bandMhz;
    double edgeMhz = lowMhz;
    for (int i = 0; i < count; ++i) {
        const double rateMsps = std::round(rates[i] * scale * 1000) / 1000;
        Carrier carrier;
        carrier.setFixedSymbolRate(
            0, rateMsps * 1000, std::round(10 + 10 * std::log10(rateMsps) + 6 * unit(random) - 3),
            1.2);
        const double half = carrier.occupiedBandwidthMhz / 2;
        carrier.centreFrequencyMhz =
            0.125 * std::ceil((edgeMhz + gapMhz * 2 * unit(random) + half) / 0.125);
        edgeMhz = carrier.centreFrequencyMhz + half;
        carrier.label = "C" + std::to_string(i + 1);
        plan.append(carrier);
    }
    return plan;
}

// The IP3 puts the plans' lowest C/IM in the 20 to 40 dB a planner sees.
constexpr double ip3Dbw = 40.0;

// range(0): carriers; range(1): band in MHz. Two carriers locked, raster 125 kHz.
void realistic(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const CarrierList plan = transponder(count, static_cast<double>(state.range(1)), 3700);
    PlacementOptions options = orvane::defaultPlacementOptions(plan);
    options.rasterKhz = 125;
    options.ip3Dbw = ip3Dbw;
    options.lockedFNumbers = {2, count - 3};
    const PlacementResult result = placeTimed(state, plan, options);
    state.counters["before_dB"] = result.before.minCimDb.value_or(0);
    state.counters["after_dB"] = result.after.minCimDb.value_or(0);
    state.counters["hitting_before"] = static_cast<double>(result.before.productsHitting);
    state.counters["hitting_after"] = static_cast<double>(result.after.productsHitting);
}

CarrierList laidOut(CarrierList plan, double lowMhz, double gapMhz)
{
    double edgeMhz = lowMhz;
    for (int i = 0; i < plan.count(); ++i) {
        Carrier carrier = plan[i];
        carrier.centreFrequencyMhz = edgeMhz + carrier.occupiedBandwidthMhz / 2;
        edgeMhz = carrier.centreFrequencyMhz + carrier.occupiedBandwidthMhz / 2 + gapMhz;
        plan.replaceAt(*plan.findIndex(i), carrier);
    }
    return plan;
}

// range(0): carriers; range(1): band. The same carriers side by side from the band's low
// edge and with equal gaps (the band's ends included), and the placement, free, unlocked.
void baselines(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const double bandMhz = static_cast<double>(state.range(1));
    const CarrierList plan = transponder(count, bandMhz, 3700);
    double occupiedMhz = 0;
    for (const Carrier& carrier : plan)
        occupiedMhz += carrier.occupiedBandwidthMhz;
    orvane::IntermodOptions measured;
    measured.ip3Dbw = ip3Dbw;
    const CarrierList sideBySide = laidOut(plan, 3700, 0);
    const double gapMhz = (bandMhz - occupiedMhz) / (count + 1);
    const CarrierList equalGaps = laidOut(plan, 3700 + gapMhz, gapMhz);
    const double sideBySideDb = orvane::analyseIntermod(sideBySide, measured).minCimDb.value_or(0);
    const double equalGapsDb = orvane::analyseIntermod(equalGaps, measured).minCimDb.value_or(0);
    PlacementOptions options = orvane::defaultPlacementOptions(plan);
    options.ip3Dbw = ip3Dbw;
    const PlacementResult result = placeTimed(state, sideBySide, options);
    const double placedDb = result.after.minCimDb.value_or(0);
    state.counters["side_by_side_dB"] = sideBySideDb;
    state.counters["equal_gaps_dB"] = equalGapsDb;
    state.counters["placed_dB"] = placedDb;
    state.counters["gain_over_equal_gaps_dB"] = placedDb - std::max(sideBySideDb, equalGapsDb);
}

// How long Cancel takes to return: a long placement cancelled after half a second.
void cancel(benchmark::State& state)
{
    const CarrierList plan = transponder(40, 72, 3700);
    PlacementOptions options = orvane::defaultPlacementOptions(plan);
    options.ip3Dbw = ip3Dbw;
    options.effort = 100;
    std::atomic<bool> stop{false};
    options.cancel = &stop;
    double latency = 0;
    for (auto _ : state) {
        stop = false;
        std::chrono::steady_clock::time_point cancelledAt;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            cancelledAt = std::chrono::steady_clock::now();
            stop = true;
        });
        const PlacementResult result = orvane::placeCarriers(plan, options);
        canceller.join();
        latency = seconds(cancelledAt);
        if (!result.cancelled)
            state.SkipWithError("not cancelled");
    }
    state.counters["cancel_ms"] = latency * 1000;
}

} // namespace

BENCHMARK(golomb)
    ->ArgsProduct({benchmark::CreateDenseRange(3, 8, 1), {1}})
    ->ArgsProduct({benchmark::CreateDenseRange(9, 12, 1), {0, 1}})
    ->ArgNames({"marks", "shortest"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(realistic)
    ->Args({10, 36})
    ->Args({20, 54})
    ->Args({30, 72})
    ->Args({40, 72})
    ->ArgNames({"carriers", "MHz"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(baselines)
    ->Args({10, 36})
    ->Args({20, 54})
    ->Args({40, 72})
    ->ArgNames({"carriers", "MHz"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(cancel)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
