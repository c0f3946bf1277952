#pragma once

#include "placement/placement_score.h"
#include "placement/placement_setup.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// One run of the search: a start (greedy, the plan given or a packing), then carriers taken
// out and put back where the score is best, with kicks when that stalls (docs/placement.md).
namespace orvane::placement {

struct RunSettings {
    int runIndex = 0; // run 0 breaks ties by the lowest position, run 1 starts from the plan given
    std::uint64_t seed = 1;
    double effort = 1.0;
    long long workBudget = 0; // in products weighed (Evaluator::work)
    const std::atomic<bool>* cancel = nullptr;
    // Told of work done now and then (units), from the run's thread.
    std::function<void(long long)> workDone;
};

struct RunResult {
    std::vector<double> centresMhz; // per carrier in F-number order
    PlacementScore score;
    long long evaluations = 0;
    bool abandoned = false; // the budget ran out before the start was built: no result
};

RunResult runSearch(const Problem& problem, const RunSettings& settings);

} // namespace orvane::placement
