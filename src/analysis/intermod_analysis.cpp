#include "analysis/intermod_analysis.h"

#include "analysis/intermod_products.h"
#include "analysis/intermod_sweep.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace orvane {

namespace {

using intermod::Bins;
using intermod::Carriers;
using intermod::Factor;
using intermod::PairGroup;
using intermod::ProductKey;
using intermod::SweepPlan;
using intermod::Tallies;

constexpr double ratedAbove = -998.0;
// Fa+Fb-Fc is 20*log10(2) dB stronger than 2*Fa-Fb of the same powers.
constexpr double threeToneFactor = 4.0;
constexpr int mostChunks = 64;
constexpr std::size_t mostPairGroups = 8;

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

std::vector<Factor> factorsOf(const CarrierList& sorted, double& strongestPowerDbw)
{
    std::vector<Factor> factors(static_cast<std::size_t>(sorted.count()));
    strongestPowerDbw = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < sorted.count(); ++i) {
        const Carrier& carrier = sorted[i];
        Factor& factor = factors[static_cast<std::size_t>(i)];
        factor.centreMhz = carrier.centreFrequencyMhz;
        factor.usable = std::isfinite(carrier.centreFrequencyMhz);
        factor.occupiedMhz = finiteOr(std::fabs(carrier.occupiedBandwidthMhz), 0.0);
        factor.symbolMhz = finiteOr(std::fabs(carrier.symbolRateMsps), 0.0);
        factor.inverseSymbolMhz = factor.symbolMhz > 0.0 ? 1.0 / factor.symbolMhz : 0.0;
        factor.rated = carrier.powerDbw > ratedAbove && std::isfinite(carrier.powerDbw);
        if (factor.rated)
            strongestPowerDbw = std::max(strongestPowerDbw, carrier.powerDbw);
    }
    // Powers relative to the strongest keep plans with extreme levels inside the range of
    // doubles.
    for (std::size_t i = 0; i < factors.size(); ++i) {
        if (factors[i].rated)
            factors[i].relativePower =
                std::pow(10.0, (sorted[static_cast<int>(i)].powerDbw - strongestPowerDbw) / 10.0);
    }
    return factors;
}

// The usable carriers by centre, as subtracted factors and as victims.
Carriers carriersOf(const std::vector<Factor>& factors, double guardMhz)
{
    std::vector<int> order;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        if (factors[i].usable)
            order.push_back(static_cast<int>(i));
    }
    std::stable_sort(order.begin(), order.end(), [&factors](int a, int b) {
        return factors[static_cast<std::size_t>(a)].centreMhz <
               factors[static_cast<std::size_t>(b)].centreMhz;
    });
    Carriers carriers;
    for (const int i : order) {
        const Factor& factor = factors[static_cast<std::size_t>(i)];
        const double halfBand = 0.5 * factor.occupiedMhz + guardMhz;
        carriers.index.push_back(i);
        carriers.centreMhz.push_back(factor.centreMhz);
        carriers.reachMhz.push_back(0.5 * std::max(factor.occupiedMhz, factor.symbolMhz));
        carriers.bandLowMhz.push_back(factor.centreMhz - halfBand);
        carriers.bandHighMhz.push_back(factor.centreMhz + halfBand);
        carriers.symbolLowMhz.push_back(factor.centreMhz - 0.5 * factor.symbolMhz);
        carriers.symbolHighMhz.push_back(factor.centreMhz + 0.5 * factor.symbolMhz);
        carriers.victimReachMhz.push_back(std::max(halfBand, 0.5 * factor.symbolMhz));
    }
    return carriers;
}

// Every pair of usable carriers, in groups of similar reach: the candidates of a group are
// found with its widest reach, so one wide carrier does not widen every search.
std::vector<PairGroup> pairGroupsOf(const std::vector<Factor>& factors, const Carriers& carriers,
                                    bool levelled)
{
    const auto reachOf = [](const Factor& a, const Factor& b) {
        return 0.5 * std::max(a.occupiedMhz + b.occupiedMhz, a.symbolMhz + b.symbolMhz);
    };
    const std::vector<int>& usable = carriers.index;
    std::vector<double> reaches;
    for (std::size_t a = 0; a < usable.size(); ++a) {
        for (std::size_t b = a; b < usable.size(); ++b)
            reaches.push_back(reachOf(factors[static_cast<std::size_t>(usable[a])],
                                      factors[static_cast<std::size_t>(usable[b])]));
    }
    std::sort(reaches.begin(), reaches.end());
    // Each group reaches at most `spread` times its narrowest member (a group of its own for
    // reaches of 0); fewer, wider groups when the reaches vary enormously.
    std::vector<double> limits;
    for (double spread = 2.0; !reaches.empty(); spread *= 4) {
        limits.clear();
        for (const double reach : reaches) {
            if (limits.empty() || reach > limits.back())
                limits.push_back(reach > 0.0 ? reach * spread : 0.0);
        }
        if (limits.size() <= mostPairGroups)
            break;
    }
    reaches = std::vector<double>();

    std::vector<PairGroup> groups(limits.size());
    for (std::size_t a = 0; a < usable.size(); ++a) {
        for (std::size_t b = a; b < usable.size(); ++b) {
            // The pair in plan order, as the report names its products.
            const int first = std::min(usable[a], usable[b]);
            const int second = std::max(usable[a], usable[b]);
            const Factor& x = factors[static_cast<std::size_t>(first)];
            const Factor& y = factors[static_cast<std::size_t>(second)];
            const double reach = reachOf(x, y);
            const std::size_t group = static_cast<std::size_t>(
                std::lower_bound(limits.begin(), limits.end(), reach) - limits.begin());
            PairGroup& into = groups[std::min(group, groups.size() - 1)];
            const bool rated = levelled && x.rated && y.rated;
            into.reachMhz = std::max(into.reachMhz, reach);
            into.sumMhz.push_back(x.centreMhz + y.centreMhz);
            into.firstMhz.push_back(x.centreMhz);
            into.secondMhz.push_back(y.centreMhz);
            into.first.push_back(first);
            into.second.push_back(second);
            into.halfSpanMhz.push_back(0.5 * (x.occupiedMhz + y.occupiedMhz));
            into.symbolSumMhz.push_back(x.symbolMhz + y.symbolMhz);
            into.widerSymbolMhz.push_back(std::max(x.symbolMhz, y.symbolMhz));
            into.narrowerSymbolMhz.push_back(std::min(x.symbolMhz, y.symbolMhz));
            into.inverseSymbolMhz2.push_back(x.inverseSymbolMhz * y.inverseSymbolMhz);
            into.power.push_back(rated ? x.relativePower * y.relativePower *
                                             (first == second ? 1.0 : threeToneFactor)
                                       : 0.0);
            into.rated.push_back(rated ? 1.0 : 0.0);
            ++into.count;
        }
    }
    std::vector<PairGroup> filled;
    for (PairGroup& group : groups) {
        if (group.count > 0 && std::isfinite(group.reachMhz)) {
            group.finish();
            filled.push_back(std::move(group));
        }
    }
    return filled;
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

// Runs the chunks (ranges of subtracted carriers) on the threads, each chunk's tallies in
// their own place.
bool runChunks(const SweepPlan& plan, int chunkCount, int threadCount,
               const IntermodOptions& options, std::vector<Tallies>& results)
{
    const std::size_t carrierCount = plan.carriers.index.size();
    std::atomic<int> nextChunk{0};
    std::atomic<bool> stopped{false};
    std::size_t carriersDone = 0; // guarded by progressLock, so that progress never goes back
    std::mutex progressLock;
    const auto work = [&] {
        while (!stopped.load()) {
            const int chunk = nextChunk.fetch_add(1);
            if (chunk >= chunkCount)
                return;
            const std::size_t begin = carrierCount * static_cast<std::size_t>(chunk) /
                                      static_cast<std::size_t>(chunkCount);
            const std::size_t end = carrierCount * static_cast<std::size_t>(chunk + 1) /
                                    static_cast<std::size_t>(chunkCount);
            if (!intermod::sweepSubtracted(plan, begin, end, options.cancel,
                                           results[static_cast<std::size_t>(chunk)])) {
                stopped = true;
                return;
            }
            if (options.progress) {
                std::lock_guard<std::mutex> lock(progressLock);
                carriersDone += end - begin;
                options.progress(static_cast<double>(carriersDone) /
                                 static_cast<double>(carrierCount));
            }
        }
    };
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
    return !stopped.load();
}

} // namespace

std::string tooManyCarriersForAnalysisText(long long carrierCount)
{
    return "The plan has " + formatInteger(carrierCount) +
           " carriers; the intermodulation analysis takes at most " +
           formatInteger(maxAnalysisCarriers) + ".";
}

IntermodAnalysis analyseIntermod(const CarrierList& plan, const IntermodOptions& options)
{
    IntermodAnalysis analysis;
    analysis.ip3Dbw = options.ip3Dbw;
    analysis.guardKhz = options.guardKhz;
    const int n = plan.count();
    analysis.products = intermodProductCount(n);
    if (n > maxAnalysisCarriers) {
        analysis.refusal = tooManyCarriersForAnalysisText(n);
        return analysis;
    }
    CarrierList sorted = plan;
    sorted.sortByFrequency();

    const bool levelled = options.ip3Dbw && std::isfinite(*options.ip3Dbw);
    double strongestPowerDbw = 0.0;
    SweepPlan sweep;
    sweep.factors = factorsOf(sorted, strongestPowerDbw);
    const std::vector<Factor>& factors = sweep.factors;
    // The level the relative powers are relative to: the strongest possible product's.
    const double referenceDbw = levelled ? 3.0 * strongestPowerDbw - 2.0 * *options.ip3Dbw : 0.0;
    const double guardMhz = std::max(0.0, finiteOr(options.guardKhz, 0.0)) * 0.001;
    sweep.carriers = carriersOf(factors, guardMhz);
    sweep.pairs = pairGroupsOf(factors, sweep.carriers, levelled);
    sweep.levelled = levelled;
    sweep.bins = binsOf(options.density);

    const int usableCount = static_cast<int>(sweep.carriers.index.size());
    const int chunkCount = std::min(usableCount, mostChunks);
    int threadCount = options.threadCount > 0
                          ? options.threadCount
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threadCount = std::max(1, std::min(threadCount, chunkCount));
    std::vector<Tallies> results(static_cast<std::size_t>(chunkCount));
    if (!runChunks(sweep, chunkCount, threadCount, options, results)) {
        analysis.cancelled = true;
        return analysis;
    }
    // Merged in chunk order, whichever thread did which chunk.
    Tallies tallies;
    tallies.reset(factors.size(), sweep.bins.count);
    for (const Tallies& result : results)
        tallies.merge(result);
    analysis.productsHitting = tallies.productsHitting;

    const auto dbw = [&](double relativePower) -> std::optional<double> {
        if (!levelled || !(relativePower > 0.0))
            return std::nullopt;
        return finiteValue(referenceDbw + 10.0 * std::log10(relativePower));
    };
    analysis.carriers.resize(factors.size());
    bool anyRatedIncomplete = false;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        const Carrier& carrier = sorted[static_cast<int>(i)];
        CarrierIntermod& entry = analysis.carriers[i];
        entry.fNumber = static_cast<int>(i) + 1;
        entry.label = carrier.label;
        entry.centreFrequencyMhz = carrier.centreFrequencyMhz;
        entry.twoToneHits = tallies.twoToneHits[i];
        entry.threeToneHits = tallies.threeToneHits[i];
        entry.imPowerDbw = dbw(tallies.power[i]);
        if (entry.imPowerDbw && factors[i].rated)
            entry.cimDb = finiteValue(carrier.powerDbw - *entry.imPowerDbw);
        if (levelled)
            entry.complete = tallies.unratedHit[i] == 0;
        const bool powered = tallies.strongestPower[i] > 0.0;
        if (powered || std::isfinite(tallies.nearestMhz[i])) {
            const ProductKey& key = powered ? tallies.strongest[i] : tallies.nearest[i];
            StrongestProduct strongest;
            strongest.label = intermod::productLabel(key);
            strongest.frequencyMhz = intermod::productFrequency(factors, key);
            strongest.powerDbw = dbw(tallies.strongestPower[i]);
            entry.strongest = strongest;
        }
        if (entry.cimDb && (!analysis.minCimDb || *entry.cimDb < *analysis.minCimDb)) {
            analysis.minCimDb = entry.cimDb;
            analysis.worstCarrier = entry.fNumber;
        }
        if (factors[i].rated && entry.complete == false)
            anyRatedIncomplete = true;
    }
    if (analysis.minCimDb)
        analysis.minCimComplete = !anyRatedIncomplete;

    const Bins& bins = sweep.bins;
    if (bins.count > 0) {
        analysis.density.lowMhz = bins.lowMhz;
        analysis.density.highMhz = bins.highMhz;
        analysis.density.binDbwPerKhz.resize(tallies.bins.size());
        const double perKhzDb = 10.0 * std::log10(bins.widthMhz * 1000.0);
        for (std::size_t bin = 0; bin < tallies.bins.size(); ++bin) {
            if (const std::optional<double> power = dbw(tallies.bins[bin]))
                analysis.density.binDbwPerKhz[bin] = finiteValue(*power - perKhzDb);
        }
    }
    return analysis;
}

} // namespace orvane
