// The undo history on a 100,000-carrier plan: what each kind of change costs to record, and how
// much memory the kept states take once the history is full (at most 100 steps or 256 MB).
#include "commands/plan_history.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int planSize = 100000;
constexpr int stepsRecorded = 150; // past the 100-step limit

orvane::CarrierList largePlan()
{
    orvane::CarrierList plan;
    plan.reserve(planSize);
    for (int i = 0; i < planSize; ++i) {
        orvane::Carrier carrier;
        carrier.setFecFromDataRate(3400.0 + i * 0.01, 512.0 + i % 4096, 16.0, 4, 0.75, 1.0, 1.0,
                                   8.5, 1.2);
        carrier.label = "Carrier " + std::to_string(i) + " feed";
        plan.appendWithoutBounds(std::move(carrier));
    }
    plan.updateBounds();
    return plan;
}

// The most memory the process has held, in MB.
double peakResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kilobytes = 0.0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0.0;
}

enum class Change { oneCarrier, deleteOne, everyCarrier, titleOnly };

void recordChanges(benchmark::State& state, Change change)
{
    orvane::CarrierList plan = largePlan();
    orvane::DisplaySettings settings;
    orvane::PlanHistory history;
    history.restart(plan, settings);
    const double planMb = history.keptBytes() / 1048576.0;
    std::mt19937 generator(3);
    int step = 0;
    for (auto _ : state) {
        switch (change) {
        case Change::oneCarrier: {
            const int index = static_cast<int>(generator() % planSize);
            orvane::Carrier carrier = plan[index];
            carrier.label += " changed";
            plan.replaceAt(*plan.findIndex(index), carrier);
            break;
        }
        case Change::deleteOne:
            plan.removeAt(*plan.findIndex(static_cast<int>(generator() % plan.count())));
            break;
        case Change::everyCarrier:
            plan.shift(0.001);
            break;
        case Change::titleOnly:
            settings.titleText = "Plan " + std::to_string(step);
            break;
        }
        ++step;
        benchmark::DoNotOptimize(history.record(plan, settings, "Change"));
    }
    state.counters["planMB"] = planMb;
    state.counters["historyMB"] = history.keptBytes() / 1048576.0;
    state.counters["undoSteps"] = static_cast<double>(history.undoSteps());
    state.counters["peakRssMB"] = peakResidentMb();
}

void modifyOneCarrier100k(benchmark::State& state)
{
    recordChanges(state, Change::oneCarrier);
}
BENCHMARK(modifyOneCarrier100k)->Iterations(stepsRecorded)->Unit(benchmark::kMillisecond);

void deleteOneCarrier100k(benchmark::State& state)
{
    recordChanges(state, Change::deleteOne);
}
BENCHMARK(deleteOneCarrier100k)->Iterations(stepsRecorded)->Unit(benchmark::kMillisecond);

void shiftEveryCarrier100k(benchmark::State& state)
{
    recordChanges(state, Change::everyCarrier);
}
BENCHMARK(shiftEveryCarrier100k)->Iterations(stepsRecorded)->Unit(benchmark::kMillisecond);

void changeTitleOnly100k(benchmark::State& state)
{
    recordChanges(state, Change::titleOnly);
}
BENCHMARK(changeTitleOnly100k)->Iterations(stepsRecorded)->Unit(benchmark::kMillisecond);

// Undo and redo put a whole 100,000-carrier plan back.
void undoRedo100k(benchmark::State& state)
{
    orvane::CarrierList plan = largePlan();
    orvane::DisplaySettings settings;
    orvane::PlanHistory history;
    history.restart(plan, settings);
    plan.shift(1.0);
    history.record(plan, settings, "Shift Carriers");
    for (auto _ : state) {
        history.undo(plan, settings);
        history.redo(plan, settings);
    }
    benchmark::DoNotOptimize(plan[0].centreFrequencyMhz);
}
BENCHMARK(undoRedo100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
