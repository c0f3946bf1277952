#include "analysis/intermod_analysis.h"

#include "analysis/hit_rule.h"
#include "analysis/intermod_input.h"
#include "analysis/intermod_products.h"
#include "analysis/intermod_sweep.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

namespace orvane {

namespace {

using intermod::Bins;
using intermod::Carriers;
using intermod::ProductKey;
using intermod::SweepPlan;
using intermod::Tallies;

constexpr double infinity = std::numeric_limits<double>::infinity();
// The work is split into this many chunks at most, whatever the threads, so that the sums
// come out the same for any thread count.
constexpr std::size_t mostChunks = 64;
// Carriers fall into at most this many classes of similar reach.
constexpr std::size_t mostClasses = 4;

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

std::optional<double> finiteValue(double value)
{
    if (std::isfinite(value))
        return value;
    return std::nullopt;
}

bool cancelled(const IntermodOptions& options)
{
    return options.cancel && options.cancel->load(std::memory_order_relaxed);
}

// The usable carriers (a finite centre) of the sorted plan, by centre.
Carriers carriersOf(const CarrierList& sorted, bool levelled, double& strongestPowerDbw)
{
    std::vector<int> order;
    for (int i = 0; i < sorted.count(); ++i) {
        if (std::isfinite(sorted[i].centreFrequencyMhz))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&sorted](int a, int b) {
        return sorted[a].centreFrequencyMhz < sorted[b].centreFrequencyMhz;
    });
    Carriers carriers;
    strongestPowerDbw = -infinity;
    for (const int i : order) {
        const Carrier& carrier = sorted[i];
        const bool rated = levelled && hasRatedPowerLevel(carrier);
        carriers.index.push_back(i);
        carriers.centreMhz.push_back(carrier.centreFrequencyMhz);
        carriers.halfOccupiedMhz.push_back(0.5 *
                                           finiteOr(std::fabs(carrier.occupiedBandwidthMhz), 0.0));
        const double symbolMhz = finiteOr(std::fabs(carrier.symbolRateMsps), 0.0);
        carriers.symbolMhz.push_back(symbolMhz);
        carriers.inverseSymbolMhz.push_back(symbolMhz > 0.0 ? 1.0 / symbolMhz : 0.0);
        carriers.powerDbw.push_back(rated ? carrier.powerDbw : 0.0);
        carriers.rated.push_back(rated);
        if (rated)
            strongestPowerDbw = std::max(strongestPowerDbw, carrier.powerDbw);
    }
    // Powers relative to the strongest keep plans with extreme levels inside the range of
    // doubles; those that underflow are taken in decibels by the sweep.
    for (std::size_t u = 0; u < carriers.count(); ++u)
        carriers.relativePower.push_back(
            carriers.rated[u] ? std::pow(10.0, (carriers.powerDbw[u] - strongestPowerDbw) / 10.0)
                              : 0.0);
    return carriers;
}

// The carriers' reaches as factors and victims, and their classes: reaches within a factor
// `spread` of each other share one (a class of its own for a reach of 0); fewer, wider classes
// when the reaches vary enormously.
void addReaches(Carriers& carriers, double guardMhz, int& classCount)
{
    std::vector<double> reaches;
    for (std::size_t u = 0; u < carriers.count(); ++u) {
        const double centre = carriers.centreMhz[u];
        const double halfOccupied = carriers.halfOccupiedMhz[u];
        const double halfSymbol = 0.5 * carriers.symbolMhz[u];
        const double halfBand = halfOccupied + guardMhz;
        carriers.factorReachMhz.push_back(std::max(halfOccupied, halfSymbol));
        carriers.victimReachMhz.push_back(std::max(halfBand, halfSymbol));
        carriers.hitLowMhz.push_back((centre - halfBand) + touchToleranceMhz);
        carriers.hitHighMhz.push_back((centre + halfBand) - touchToleranceMhz);
        carriers.symbolLowMhz.push_back(centre - halfSymbol);
        carriers.symbolHighMhz.push_back(centre + halfSymbol);
        reaches.push_back(carriers.factorReachMhz.back());
    }
    std::vector<double> sortedReaches = reaches;
    std::sort(sortedReaches.begin(), sortedReaches.end());
    std::vector<double> limits;
    for (double spread = 2.0; !sortedReaches.empty(); spread *= 4) {
        limits.clear();
        for (const double reach : sortedReaches) {
            if (limits.empty() || reach > limits.back())
                limits.push_back(reach > 0.0 ? reach * spread : 0.0);
        }
        if (limits.size() <= mostClasses)
            break;
    }
    classCount = std::max<int>(1, static_cast<int>(limits.size()));
    for (const double reach : reaches)
        carriers.reachClass.push_back(static_cast<int>(
            std::lower_bound(limits.begin(), limits.end(), reach) - limits.begin()));
}

Bins binsOf(const std::optional<DensityRange>& range)
{
    Bins bins;
    if (!range || range->binCount <= 0 || !std::isfinite(range->fromMhz) ||
        !std::isfinite(range->toMhz))
        return bins;
    bins.lowMhz = std::min(range->fromMhz, range->toMhz);
    bins.highMhz = std::max(range->fromMhz, range->toMhz);
    bins.count = range->binCount;
    bins.widthMhz = (bins.highMhz - bins.lowMhz) / bins.count;
    if (!(bins.widthMhz > 0.0) || !std::isfinite(bins.widthMhz))
        return Bins();
    return bins;
}

// Everything the sweep needs; false when cancelled on the way.
bool prepare(const CarrierList& sorted, const IntermodOptions& options, SweepPlan& plan,
             double& strongestPowerDbw)
{
    plan.levelled = options.ip3Dbw.has_value();
    plan.ip3Dbw = options.ip3Dbw.value_or(0.0);
    const double guardMhz = options.guardKhz * 0.001;
    plan.carriers = carriersOf(sorted, plan.levelled, strongestPowerDbw);
    if (cancelled(options))
        return false;
    addReaches(plan.carriers, guardMhz, plan.reachClasses);
    plan.bins = binsOf(options.density);
    for (std::size_t u = 0; u < plan.carriers.count(); ++u) {
        plan.widestFactorMhz = std::max(plan.widestFactorMhz, plan.carriers.factorReachMhz[u]);
        plan.widestVictimMhz = std::max(plan.widestVictimMhz, plan.carriers.victimReachMhz[u]);
    }
    return !cancelled(options);
}

// Chunks of consecutive anti-diagonals of about equal work, as [first, next first).
std::vector<std::size_t> chunkStarts(const std::vector<double>& rowWork, double totalWork)
{
    const std::size_t chunkCount = std::min(rowWork.size(), mostChunks);
    std::vector<std::size_t> starts{0};
    double done = 0.0;
    for (std::size_t row = 0; row < rowWork.size(); ++row) {
        done += rowWork[row];
        const double due =
            totalWork * static_cast<double>(starts.size()) / static_cast<double>(chunkCount);
        if (row + 1 < rowWork.size() && starts.size() < chunkCount && done >= due)
            starts.push_back(row + 1);
    }
    starts.push_back(rowWork.size());
    return starts;
}

enum class RunEnd { finished, cancelled, outOfMemory };

// Runs the chunks on the threads and merges their tallies in chunk order, whichever thread
// did which, keeping only the chunks not yet merged.
RunEnd runChunks(const SweepPlan& plan, const std::vector<std::size_t>& starts,
                 const std::vector<double>& rowWork, double totalWork,
                 const IntermodOptions& options, Tallies& merged)
{
    const std::size_t chunkCount = starts.size() - 1;
    std::vector<std::unique_ptr<Tallies>> finished(chunkCount);
    std::size_t nextToMerge = 0;
    double workDone = 0.0; // guarded by lock, so that progress never goes back
    std::mutex lock;
    std::atomic<std::size_t> nextChunk{0};
    std::atomic<bool> stopped{false};
    std::atomic<bool> outOfMemory{false};
    const auto work = [&] {
        try {
            while (!stopped.load()) {
                const std::size_t chunk = nextChunk.fetch_add(1);
                if (chunk >= chunkCount)
                    return;
                auto tallies = std::make_unique<Tallies>();
                if (!intermod::sweepAntiDiagonals(plan, starts[chunk], starts[chunk + 1],
                                                  options.cancel, *tallies)) {
                    stopped = true;
                    return;
                }
                double chunkWork = 0.0;
                for (std::size_t row = starts[chunk]; row < starts[chunk + 1]; ++row)
                    chunkWork += rowWork[row];
                const std::lock_guard<std::mutex> guard(lock);
                finished[chunk] = std::move(tallies);
                while (nextToMerge < chunkCount && finished[nextToMerge]) {
                    merged.merge(*finished[nextToMerge]);
                    finished[nextToMerge++].reset();
                }
                workDone += chunkWork;
                if (options.progress)
                    options.progress(totalWork > 0.0 ? std::min(1.0, workDone / totalWork) : 1.0);
            }
        } catch (...) {
            // Out of memory, as everything here can only fail by allocating.
            outOfMemory = true;
            stopped = true;
        }
    };
    const int wanted = options.threadCount > 0
                           ? options.threadCount
                           : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t threadCount =
        std::max<std::size_t>(1, std::min(static_cast<std::size_t>(wanted), chunkCount));
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(threadCount - 1);
        for (std::size_t i = 1; i < threadCount; ++i)
            helpers.emplace_back(work);
    } catch (...) {
        // The threads already started (or this one alone) do the rest.
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (outOfMemory)
        return RunEnd::outOfMemory;
    return stopped || nextToMerge < chunkCount ? RunEnd::cancelled : RunEnd::finished;
}

std::string notEnoughMemoryText(int carrierCount)
{
    return "There is not enough memory for the intermodulation analysis of " +
           formatInteger(carrierCount) + " carriers.";
}

// 10 * log10(10^(a/10) + 10^(b/10)) without leaving the range of doubles.
double addedDbw(double a, double b)
{
    const double high = std::max(a, b);
    const double low = std::min(a, b);
    return high + 10.0 * std::log10(1.0 + std::pow(10.0, (low - high) / 10.0));
}

void fillCarriers(const CarrierList& sorted, const SweepPlan& plan, const Tallies& tallies,
                  double referenceDbw, IntermodAnalysis& analysis)
{
    const bool levelled = plan.levelled;
    const auto dbw = [&](double relativePower) -> std::optional<double> {
        if (!levelled || !(relativePower > 0.0))
            return std::nullopt;
        return finiteValue(referenceDbw + 10.0 * std::log10(relativePower));
    };
    const int n = sorted.count();
    analysis.carriers.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        CarrierIntermod& entry = analysis.carriers[static_cast<std::size_t>(i)];
        entry.fNumber = i + 1;
        entry.label = sorted[i].label;
        entry.centreFrequencyMhz = sorted[i].centreFrequencyMhz;
        if (levelled)
            entry.complete = true;
    }
    const auto frequencyOf = [&](const ProductKey& key) {
        return intermod::productFrequency(sorted[key.first].centreFrequencyMhz,
                                          sorted[key.second].centreFrequencyMhz,
                                          sorted[key.subtracted].centreFrequencyMhz, key);
    };
    for (std::size_t u = 0; u < plan.carriers.count(); ++u) {
        const int i = plan.carriers.index[u];
        const Carrier& carrier = sorted[i];
        CarrierIntermod& entry = analysis.carriers[static_cast<std::size_t>(i)];
        entry.twoToneHits = tallies.twoToneHits[u];
        entry.threeToneHits = tallies.threeToneHits[u];
        entry.imPowerDbw = dbw(tallies.power[u]);
        if (levelled && tallies.faintLargestDbw[u] > -infinity) {
            const double faintDbw =
                tallies.faintLargestDbw[u] + 10.0 * std::log10(tallies.faintScaledSum[u]);
            entry.imPowerDbw =
                finiteValue(entry.imPowerDbw ? addedDbw(*entry.imPowerDbw, faintDbw) : faintDbw);
        }
        if (entry.imPowerDbw && plan.carriers.rated[u])
            entry.cimDb = finiteValue(carrier.powerDbw - *entry.imPowerDbw);
        if (levelled)
            entry.complete = tallies.unratedHit[u] == 0;
        std::optional<ProductKey> shown;
        std::optional<double> shownDbw;
        if (tallies.strongestPower[u] > 0.0) {
            shown = tallies.strongest[u];
            shownDbw = dbw(tallies.strongestPower[u]);
        } else if (tallies.faintStrongestDbw[u] > -infinity) {
            shown = tallies.faintStrongest[u];
            shownDbw = finiteValue(tallies.faintStrongestDbw[u]);
        } else if (std::isfinite(tallies.nearestMhz[u])) {
            shown = tallies.nearest[u];
        }
        if (shown)
            entry.strongest =
                StrongestProduct{intermod::productLabel(*shown), frequencyOf(*shown), shownDbw};
    }
    bool anyRatedIncomplete = false;
    for (std::size_t u = 0; u < plan.carriers.count(); ++u) {
        const CarrierIntermod& entry =
            analysis.carriers[static_cast<std::size_t>(plan.carriers.index[u])];
        if (plan.carriers.rated[u] && entry.complete == false)
            anyRatedIncomplete = true;
    }
    for (const CarrierIntermod& entry : analysis.carriers) {
        if (entry.cimDb && (!analysis.minCimDb || *entry.cimDb < *analysis.minCimDb)) {
            analysis.minCimDb = entry.cimDb;
            analysis.worstCarrier = entry.fNumber;
        }
    }
    if (analysis.minCimDb)
        analysis.minCimComplete = !anyRatedIncomplete;
}

void fillDensity(const SweepPlan& plan, const Tallies& tallies, double referenceDbw,
                 IntermodAnalysis& analysis)
{
    const Bins& bins = plan.bins;
    if (bins.count <= 0)
        return;
    analysis.density.lowMhz = bins.lowMhz;
    analysis.density.highMhz = bins.highMhz;
    analysis.density.binDbwPerKhz.resize(tallies.bins.size());
    const double perKhzDb = 10.0 * std::log10(bins.widthMhz * 1000.0);
    for (std::size_t bin = 0; bin < tallies.bins.size(); ++bin) {
        if (plan.levelled && tallies.bins[bin] > 0.0)
            analysis.density.binDbwPerKhz[bin] =
                finiteValue(referenceDbw + 10.0 * std::log10(tallies.bins[bin]) - perKhzDb);
    }
}

double totalOf(const std::vector<double>& rowWork)
{
    double total = 0.0;
    for (const double work : rowWork)
        total += work;
    return total;
}

IntermodAnalysis analyse(const CarrierList& plan, const IntermodOptions& options)
{
    IntermodAnalysis analysis;
    analysis.ip3Dbw = options.ip3Dbw;
    analysis.guardKhz = options.guardKhz;
    analysis.products = intermodProductCount(plan.count());
    if (const std::optional<std::string> problem =
            intermodInputProblem(options.ip3Dbw, options.guardKhz)) {
        analysis.refusal = problem;
        return analysis;
    }
    CarrierList sorted = plan;
    sorted.sortByFrequency();
    SweepPlan sweep;
    double strongestPowerDbw = 0.0;
    if (cancelled(options) || !prepare(sorted, options, sweep, strongestPowerDbw)) {
        analysis.cancelled = true;
        return analysis;
    }
    const std::vector<double> rowWork = intermod::estimatedEvaluations(sweep, options.cancel);
    if (cancelled(options)) {
        analysis.cancelled = true;
        return analysis;
    }
    const double totalWork = totalOf(rowWork);
    analysis.estimatedEvaluations = totalWork;
    if (options.maxEvaluations && totalWork > *options.maxEvaluations) {
        analysis.refusal = tooMuchIntermodWorkText(totalWork, *options.maxEvaluations);
        return analysis;
    }
    Tallies tallies;
    tallies.reset(sweep.carriers.count(), sweep.bins.count);
    if (!rowWork.empty()) {
        const RunEnd end =
            runChunks(sweep, chunkStarts(rowWork, totalWork), rowWork, totalWork, options, tallies);
        if (end == RunEnd::outOfMemory) {
            analysis.refusal = notEnoughMemoryText(plan.count());
            return analysis;
        }
        if (end == RunEnd::cancelled) {
            analysis.cancelled = true;
            return analysis;
        }
    } else if (options.progress) {
        options.progress(1.0);
    }
    analysis.productsHitting = tallies.productsHitting;
    // The level the relative powers are relative to: the strongest possible product's.
    const double referenceDbw =
        sweep.levelled ? 3.0 * strongestPowerDbw - 2.0 * *options.ip3Dbw : 0.0;
    fillCarriers(sorted, sweep, tallies, referenceDbw, analysis);
    fillDensity(sweep, tallies, referenceDbw, analysis);
    return analysis;
}

} // namespace

std::string tooMuchIntermodWorkText(double evaluations, double budget)
{
    return "The intermodulation analysis of this plan needs about " +
           formatGeneral(evaluations, 2) + " evaluations of products on carriers, more than the " +
           formatGeneral(budget, 2) + " it takes on. Analyse fewer or narrower carriers.";
}

double estimateIntermodEvaluations(const CarrierList& plan, const IntermodOptions& options)
{
    if (intermodInputProblem(options.ip3Dbw, options.guardKhz))
        return 0.0;
    try {
        CarrierList sorted = plan;
        sorted.sortByFrequency();
        SweepPlan sweep;
        double strongestPowerDbw = 0.0;
        if (!prepare(sorted, options, sweep, strongestPowerDbw))
            return 0.0;
        return totalOf(intermod::estimatedEvaluations(sweep, options.cancel));
    } catch (const std::bad_alloc&) {
        return infinity;
    }
}

IntermodAnalysis analyseIntermod(const CarrierList& plan, const IntermodOptions& options)
{
    try {
        return analyse(plan, options);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    IntermodAnalysis analysis;
    analysis.ip3Dbw = options.ip3Dbw;
    analysis.guardKhz = options.guardKhz;
    analysis.products = intermodProductCount(plan.count());
    analysis.refusal = notEnoughMemoryText(plan.count());
    return analysis;
}

} // namespace orvane
