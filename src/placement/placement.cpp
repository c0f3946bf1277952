#include "placement/placement.h"

#include "placement/placement_score.h"
#include "placement/placement_search.h"
#include "placement/placement_setup.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace orvane {

namespace {

using placement::Problem;
using placement::RunResult;
using placement::RunSettings;

// Independent runs, each from its own random stream: the result is the best of them, the
// lowest-numbered on a tie, whichever thread ran which. Large plans get fewer, longer runs:
// building a start alone costs O(n^3).
int runCountFor(std::size_t carrierCount)
{
    return carrierCount <= 60 ? 8 : carrierCount <= 120 ? 4 : 2;
}
// The work of all runs at effort 1, in products and carriers weighed: about four seconds on
// two idle cores.
constexpr double workPerEffort = 3e8;

IntermodOptions analysisOptions(const PlacementOptions& options)
{
    IntermodOptions analysis;
    analysis.ip3Dbw = options.ip3Dbw;
    analysis.guardKhz = options.guardKhz;
    analysis.threadCount = options.threadCount;
    analysis.cancel = options.cancel;
    return analysis;
}

// Tells the caller the share of the work done, never less than before, one call at a time.
class ProgressTally {
public:
    ProgressTally(const std::function<void(double)>& progress, long long total)
        : progress_(progress), total_(std::max(1LL, total))
    {
    }

    void add(long long work)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ += work;
        const double share =
            std::min(1.0, static_cast<double>(done_) / static_cast<double>(total_));
        if (progress_ && share > reported_) {
            reported_ = share;
            progress_(share);
        }
    }

private:
    const std::function<void(double)>& progress_;
    long long total_;
    long long done_ = 0;
    double reported_ = 0.0;
    std::mutex mutex_;
};

// Runs every run on up to threadCount threads; false when memory ran out.
bool runAll(const Problem& problem, const PlacementOptions& options,
            std::vector<RunResult>& results)
{
    const int runCount = static_cast<int>(results.size());
    const long long budget = static_cast<long long>(options.effort * workPerEffort / runCount);
    ProgressTally tally(options.progress, budget * runCount);
    std::atomic<int> nextRun{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        try {
            for (int run = nextRun.fetch_add(1); run < runCount && !failed.load();
                 run = nextRun.fetch_add(1)) {
                RunSettings settings;
                settings.runIndex = run;
                settings.seed = options.seed;
                settings.effort = options.effort;
                settings.workBudget = budget;
                settings.cancel = options.cancel;
                settings.workDone = [&tally](long long done) { tally.add(done); };
                results[static_cast<std::size_t>(run)] = placement::runSearch(problem, settings);
            }
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    };
    const int hardware = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int threadCount =
        std::max(1, std::min(runCount, options.threadCount > 0 ? options.threadCount : hardware));
    std::vector<std::thread> helpers;
    for (int i = 1; i < threadCount; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the threads already started do the rest
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return !failed.load();
}

bool cancelRequested(const PlacementOptions& options)
{
    return options.cancel && options.cancel->load();
}

const char* const outOfMemoryText = "There is not enough memory for the placement.";

PlacementResult refused(PlacementResult result, PlacementRefusalReason reason, std::string text)
{
    result.refusal = PlacementRefusal{reason, std::move(text)};
    return result;
}

} // namespace

PlacementOptions defaultPlacementOptions(const CarrierList& plan)
{
    PlacementOptions options;
    options.bandLowMhz = std::min(plan.viewStartMhz, plan.viewStopMhz);
    options.bandHighMhz = std::max(plan.viewStartMhz, plan.viewStopMhz);
    return options;
}

std::optional<PlacementRefusal> checkPlacement(const CarrierList& plan,
                                               const PlacementOptions& options)
{
    try {
        return placement::setUpPlacement(plan, options).refusal;
    } catch (const std::bad_alloc&) {
        return PlacementRefusal{PlacementRefusalReason::outOfMemory, outOfMemoryText};
    }
}

PlacementResult placeCarriers(const CarrierList& plan, const PlacementOptions& options)
{
    PlacementResult result;
    result.plan = plan;
    try {
        placement::Setup setup = placement::setUpPlacement(plan, options);
        if (setup.refusal) {
            result.refusal = setup.refusal;
            return result;
        }
        const Problem& problem = setup.problem;
        const IntermodOptions measured = analysisOptions(options);
        result.before = analyseIntermod(plan, measured);
        if (result.before.cancelled || cancelRequested(options)) {
            result.cancelled = true;
            return result;
        }

        std::vector<RunResult> runs(static_cast<std::size_t>(runCountFor(problem.carriers.size())));
        if (!runAll(problem, options, runs))
            return refused(std::move(result), PlacementRefusalReason::outOfMemory, outOfMemoryText);
        if (cancelRequested(options)) {
            result.cancelled = true;
            return result;
        }
        const bool levelled = options.ip3Dbw.has_value();
        std::size_t best = 0;
        for (std::size_t run = 0; run < runs.size(); ++run) {
            result.evaluations += runs[run].evaluations;
            if (run > 0 && !runs[run].abandoned &&
                comparePlacementScores(runs[run].score, runs[best].score, levelled) > 0)
                best = run;
        }
        // Moving carriers only for a better score; the plan given stays when it ties.
        const PlacementScore beforeScore = placementScoreOf(result.before);
        if (problem.inputMeetsConstraints &&
            comparePlacementScores(runs[best].score, beforeScore, levelled) <= 0) {
            result.after = result.before;
            return result;
        }
        CarrierList proposal = plan;
        for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
            Carrier carrier = plan[problem.listIndex[i]];
            carrier.centreFrequencyMhz = runs[best].centresMhz[i];
            proposal.replaceAt(*proposal.findIndex(problem.listIndex[i]), carrier);
        }
        result.after = analyseIntermod(proposal, measured);
        if (result.after.cancelled || cancelRequested(options)) {
            result.cancelled = true;
            return result;
        }
        // The analysis has the last word.
        if (problem.inputMeetsConstraints &&
            comparePlacementScores(placementScoreOf(result.after), beforeScore, levelled) < 0) {
            result.after = result.before;
            return result;
        }
        result.plan = std::move(proposal);
        for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
            const Carrier& from = problem.carriers[i];
            const double toMhz = runs[best].centresMhz[i];
            if (toMhz != from.centreFrequencyMhz)
                result.moved.push_back(MovedCarrier{static_cast<int>(i) + 1, problem.listIndex[i],
                                                    from.label, from.centreFrequencyMhz, toMhz});
        }
    } catch (const std::bad_alloc&) {
        PlacementResult failed;
        failed.plan = plan;
        return refused(std::move(failed), PlacementRefusalReason::outOfMemory, outOfMemoryText);
    }
    return result;
}

} // namespace orvane
