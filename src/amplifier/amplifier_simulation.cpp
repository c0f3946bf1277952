#include "amplifier/amplifier_simulation.h"

#include "amplifier/carrier_estimate.h"
#include "amplifier/simulation_grid.h"
#include "amplifier/simulation_trials.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace orvane {

namespace {

using amplifier::TrialStats;

// Frames are shared out in lanes: frame t belongs to lane t mod lanes, and a lane's frames are
// added into its own spectrum in order, so the sums do not depend on which thread ran what.
constexpr std::size_t lanes = 8;
constexpr std::size_t firstRoundTrials = 16;
// Carriers with a C/IM above this have next to no distortion, those below the other bound are
// drowned in it (their gain would take millions of frames to pin down): their precision does
// not hold the averaging back.
constexpr double negligibleIntermodDb = 100.0;
constexpr double drownedCimDb = -10.0;
// The per-frame statistics kept: frames times carriers (64 bytes each).
constexpr std::size_t mostStatsEntries = 2000000;
// A carrier this far above the intercept point is beyond any meaning of the cubic model.
constexpr double highestAboveIp3Db = 60.0;

double decibels(double power)
{
    return 10.0 * std::log10(std::max(power, 1e-300));
}

double rounded(double value, double step)
{
    return std::round(value / step) * step;
}

struct Preparation {
    std::optional<std::string> refusal;
    CarrierList sorted;
    std::vector<double> inputPowers; // normalised; 0 for carriers without a level
    double referenceDbw = 0.0;       // the power of normalised amplitude 1
};

// A carrier the simulation can drive: a power level and a place (the readers give nothing else,
// a plan built in code might).
bool hasLevel(const Carrier& carrier)
{
    return std::isfinite(carrier.powerDbw) && carrier.powerDbw > noPowerLevelDbw &&
           std::isfinite(carrier.centreFrequencyMhz);
}

Preparation prepare(const CarrierList& plan, const SimulationOptions& options)
{
    Preparation prepared;
    const AmplifierModel& model = options.amplifier;
    if (const std::optional<std::string> problem = amplifierModelProblem(model)) {
        prepared.refusal = problem;
        return prepared;
    }
    const bool operatingPoint = hasOperatingPoint(model.kind);
    if (operatingPoint &&
        (!std::isfinite(options.inputBackoffDb) || options.inputBackoffDb < lowestInputBackoffDb ||
         options.inputBackoffDb > highestInputBackoffDb)) {
        prepared.refusal = "The input back-off must be a number from " +
                           formatGeneral(lowestInputBackoffDb) + " to " +
                           formatGeneral(highestInputBackoffDb) + " dB.";
        return prepared;
    }
    if (!std::isfinite(options.precisionDb) || !(options.precisionDb > 0.0)) {
        prepared.refusal = std::string("The precision must be a number above 0 dB.");
        return prepared;
    }
    if (plan.empty()) {
        prepared.refusal = std::string("The plan has no carriers.");
        return prepared;
    }
    if (plan.count() > maxSimulatedCarriers) {
        prepared.refusal = "The plan has " + formatInteger(plan.count()) +
                           " carriers; the amplifier simulation takes at most " +
                           formatInteger(maxSimulatedCarriers) + ".";
        return prepared;
    }
    prepared.sorted = plan;
    prepared.sorted.sortByFrequency();
    const CarrierList& sorted = prepared.sorted;
    double strongestDbw = -HUGE_VAL;
    for (const Carrier& carrier : sorted)
        if (hasLevel(carrier))
            strongestDbw = std::max(strongestDbw, carrier.powerDbw);
    if (!std::isfinite(strongestDbw)) {
        prepared.refusal =
            std::string("No carrier has a power level: there is nothing to simulate.");
        return prepared;
    }
    prepared.inputPowers.assign(static_cast<std::size_t>(sorted.count()), 0.0);
    if (operatingPoint) {
        // The load keeps the plan's relative levels and sums to the operating point.
        double relativeSum = 0.0;
        for (int i = 0; i < sorted.count(); ++i)
            if (hasLevel(sorted[i])) {
                const double relativeDb = std::max(sorted[i].powerDbw - strongestDbw, -300.0);
                prepared.inputPowers[static_cast<std::size_t>(i)] =
                    std::pow(10.0, relativeDb / 10.0);
                relativeSum += prepared.inputPowers[static_cast<std::size_t>(i)];
            }
        const double totalInput = std::pow(10.0, -options.inputBackoffDb / 10.0);
        for (double& power : prepared.inputPowers)
            power *= totalInput / relativeSum;
        prepared.referenceDbw = model.saturatedOutputDbw;
        return prepared;
    }
    if (strongestDbw - model.ip3Dbw > highestAboveIp3Db) {
        prepared.refusal = "A carrier is more than " + formatGeneral(highestAboveIp3Db) +
                           " dB above the intercept point, where the cubic model means nothing.";
        return prepared;
    }
    for (int i = 0; i < sorted.count(); ++i)
        if (hasLevel(sorted[i]))
            prepared.inputPowers[static_cast<std::size_t>(i)] =
                std::pow(10.0, std::max(sorted[i].powerDbw - model.ip3Dbw, -300.0) / 10.0);
    prepared.referenceDbw = model.ip3Dbw;
    return prepared;
}

// Runs frames, round after round, until the precision is reached.
class TrialRounds {
public:
    TrialRounds(const amplifier::SimulationGrid& grid, const amplifier::TrialSetup& setup,
                const SimulationOptions& options)
        : options_(options), slotCount_(grid.slots.size()),
          spectrumBins_(options.wantSpectrum ? grid.spectrumBinCount : 0)
    {
        const int wanted =
            options.threadCount > 0
                ? options.threadCount
                : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        threadCount_ =
            static_cast<std::size_t>(std::clamp<int>(wanted, 1, static_cast<int>(lanes)));
        for (std::size_t i = 0; i < threadCount_; ++i)
            runners_.push_back(std::make_unique<amplifier::TrialRunner>(setup));
        laneSpectra_.assign(lanes * spectrumBins_, 0.0);
    }

    // Frames [begin, end); false when cancelled.
    bool run(std::size_t begin, std::size_t end, std::size_t expectedTotal)
    {
        stats_.resize(end * slotCount_);
        outputPowers_.resize(end);
        std::atomic<std::size_t> nextLane{0};
        std::atomic<bool> stopped{false};
        const auto work = [&](std::size_t runnerIndex) {
            amplifier::TrialRunner& runner = *runners_[runnerIndex];
            for (std::size_t lane = nextLane.fetch_add(1); lane < lanes;
                 lane = nextLane.fetch_add(1)) {
                const std::size_t first = begin + (lanes + lane - begin % lanes) % lanes;
                for (std::size_t trial = first; trial < end; trial += lanes) {
                    if (stopped.load() || (options_.cancel && options_.cancel->load())) {
                        stopped = true;
                        return;
                    }
                    runner.run(trial, &stats_[trial * slotCount_], outputPowers_[trial],
                               spectrumBins_ > 0 ? laneSpectra_.data() + lane * spectrumBins_
                                                 : nullptr);
                    reportProgress(expectedTotal);
                }
            }
        };
        std::vector<std::thread> helpers;
        for (std::size_t i = 1; i < threadCount_; ++i) {
            try {
                helpers.emplace_back(work, i);
            } catch (const std::system_error&) {
                break; // the threads already started do the rest
            }
        }
        work(0);
        for (std::thread& helper : helpers)
            helper.join();
        return !stopped.load();
    }

    const std::vector<TrialStats>& stats() const { return stats_; }
    const std::vector<double>& outputPowers() const { return outputPowers_; }
    // The mean power of each spectrum bin over the frames, lanes added in order.
    std::vector<double> meanSpectrum(std::size_t trials) const
    {
        std::vector<double> mean(spectrumBins_, 0.0);
        for (std::size_t lane = 0; lane < lanes; ++lane)
            for (std::size_t i = 0; i < spectrumBins_; ++i)
                mean[i] += laneSpectra_[lane * spectrumBins_ + i];
        for (double& power : mean)
            power /= static_cast<double>(trials);
        return mean;
    }

private:
    void reportProgress(std::size_t expectedTotal)
    {
        if (!options_.progress)
            return;
        std::lock_guard<std::mutex> lock(progressLock_);
        ++framesDone_;
        const double share =
            std::min(1.0, static_cast<double>(framesDone_) /
                              static_cast<double>(std::max(expectedTotal, framesDone_)));
        if (share > progressShown_) {
            progressShown_ = share;
            options_.progress(share);
        }
    }

    const SimulationOptions& options_;
    std::size_t slotCount_;
    std::size_t spectrumBins_;
    std::size_t threadCount_ = 1;
    std::vector<std::unique_ptr<amplifier::TrialRunner>> runners_;
    std::vector<double> laneSpectra_;
    std::vector<TrialStats> stats_;
    std::vector<double> outputPowers_;
    std::mutex progressLock_;
    std::size_t framesDone_ = 0;
    double progressShown_ = 0.0;
};

AmplifierSimulation simulatePrepared(const Preparation& prepared, const SimulationOptions& options,
                                     AmplifierSimulation result)
{
    const CarrierList& sorted = prepared.sorted;
    amplifier::GridBuild build = amplifier::buildSimulationGrid(
        sorted, prepared.inputPowers, options.signals == CarrierSignals::tones);
    if (!build.grid) {
        result.refusal = build.refusal;
        return result;
    }
    const amplifier::SimulationGrid& grid = *build.grid;
    const std::size_t slotCount = grid.slots.size();
    const AmplifierCurve curve(options.amplifier);
    const amplifier::TrialSetup setup(grid, curve, options.seed);
    TrialRounds rounds(grid, setup, options);

    const std::size_t mostTrials = std::max(
        firstRoundTrials, std::min(static_cast<std::size_t>(std::max(options.maxTrials, 1)),
                                   mostStatsEntries / slotCount) /
                              lanes * lanes);
    std::vector<amplifier::CarrierEstimate> estimates(slotCount);
    std::size_t done = 0;
    std::size_t next = firstRoundTrials;
    std::size_t expectedTotal = 4 * firstRoundTrials;
    double worstHalfWidthDb = 0.0;
    for (;;) {
        const std::size_t end = std::min(done + next, mostTrials);
        if (!rounds.run(done, end, std::max(expectedTotal, end))) {
            result.cancelled = true;
            return result;
        }
        done = end;
        worstHalfWidthDb = 0.0;
        for (std::size_t s = 0; s < slotCount; ++s) {
            estimates[s] = amplifier::estimateCarrier(rounds.stats(), slotCount, s, done);
            const double carrierPower = std::norm(estimates[s].gain) * grid.slots[s].inputPower;
            const double cimDb = decibels(carrierPower) - decibels(estimates[s].intermodPower);
            if (cimDb < negligibleIntermodDb && cimDb > drownedCimDb)
                worstHalfWidthDb = std::max(worstHalfWidthDb, estimates[s].halfWidthDb);
        }
        if (worstHalfWidthDb <= options.precisionDb || done >= mostTrials)
            break;
        // The half-width falls with the square root of the frames.
        const double ratio = worstHalfWidthDb / options.precisionDb;
        const double needed = 1.1 * static_cast<double>(done) * ratio * ratio;
        next = static_cast<std::size_t>(std::clamp(std::ceil(needed) - static_cast<double>(done),
                                                   static_cast<double>(lanes),
                                                   3.0 * static_cast<double>(done)));
        next = (next + lanes - 1) / lanes * lanes;
        expectedTotal = std::min(done + next, mostTrials);
    }

    if (options.progress)
        options.progress(1.0);
    result.trials = static_cast<int>(done);
    result.precisionDb = rounded(worstHalfWidthDb, 0.001);
    result.precisionReached = worstHalfWidthDb <= options.precisionDb;
    result.fftSize = grid.fftSize;
    double outputPower = 0.0;
    for (std::size_t t = 0; t < done; ++t)
        outputPower += rounds.outputPowers()[t];
    outputPower /= static_cast<double>(done);
    const double referenceDbw = prepared.referenceDbw;
    result.totalOutputDbw = referenceDbw + decibels(outputPower);
    if (hasOperatingPoint(options.amplifier.kind)) {
        result.inputBackoffDb = options.inputBackoffDb;
        result.outputBackoffDb = -decibels(outputPower);
    }

    const double smallSignalDb = decibels(curve.smallSignalPowerGain());
    for (std::size_t s = 0; s < slotCount; ++s) {
        const amplifier::CarrierSlot& slot = grid.slots[s];
        const amplifier::CarrierEstimate& estimate = estimates[s];
        SimulatedCarrier& carrier = result.carriers[static_cast<std::size_t>(slot.planIndex)];
        const double gainDb = decibels(std::norm(estimate.gain));
        const double carrierDb = gainDb + decibels(slot.inputPower);
        const double intermodDb = decibels(estimate.intermodPower);
        if (hasOperatingPoint(options.amplifier.kind))
            carrier.inputBackoffDb = -decibels(slot.inputPower);
        carrier.outputPowerDbw = referenceDbw + carrierDb;
        carrier.imPowerDbw = referenceDbw + intermodDb;
        carrier.cimDb = carrierDb - intermodDb;
        carrier.cimPrecisionDb = estimate.halfWidthDb;
        carrier.compressionDb = gainDb - smallSignalDb;
        if (!result.minCimDb || *carrier.cimDb < *result.minCimDb) {
            result.minCimDb = carrier.cimDb;
            result.worstCarrier = carrier.fNumber;
        }
    }

    if (options.wantSpectrum) {
        const std::vector<double> power = rounds.meanSpectrum(done);
        OutputSpectrum& spectrum = result.spectrum;
        spectrum.firstFrequencyMhz =
            grid.centreMhz + static_cast<double>(grid.spectrumFirstBin) * grid.binMhz;
        spectrum.stepMhz = grid.binMhz;
        const double perKhzDb = referenceDbw - decibels(grid.binMhz * 1000.0);
        spectrum.dbwPerKhz.reserve(power.size());
        for (const double binPower : power)
            spectrum.dbwPerKhz.push_back(
                std::max(spectrumFloorDbwPerKhz, perKhzDb + decibels(binPower)));
    }
    return result;
}

} // namespace

AmplifierSimulation simulateAmplifier(const CarrierList& plan, const SimulationOptions& options)
{
    AmplifierSimulation result;
    result.amplifier = options.amplifier.kind;
    try {
        const Preparation prepared = prepare(plan, options);
        if (prepared.refusal) {
            result.refusal = prepared.refusal;
            return result;
        }
        for (int i = 0; i < prepared.sorted.count(); ++i) {
            SimulatedCarrier carrier;
            carrier.fNumber = i + 1;
            carrier.label = prepared.sorted[i].label;
            carrier.centreFrequencyMhz = prepared.sorted[i].centreFrequencyMhz;
            result.carriers.push_back(std::move(carrier));
        }
        return simulatePrepared(prepared, options, std::move(result));
    } catch (const std::bad_alloc&) {
        AmplifierSimulation failed;
        failed.amplifier = options.amplifier.kind;
        failed.refusal = std::string("There is not enough memory for the amplifier simulation.");
        return failed;
    }
}

BackoffSweep sweepInputBackoff(const CarrierList& plan, const SimulationOptions& options,
                               const std::vector<double>& inputBackoffsDb)
{
    BackoffSweep sweep;
    if (!hasOperatingPoint(options.amplifier.kind)) {
        sweep.refusal = std::string("The ip3 model has no operating point to sweep.");
        return sweep;
    }
    const std::size_t count = inputBackoffsDb.size();
    for (std::size_t i = 0; i < count; ++i) {
        SimulationOptions point = options;
        point.inputBackoffDb = inputBackoffsDb[i];
        point.wantSpectrum = false;
        if (options.progress)
            point.progress = [&options, i, count](double share) {
                options.progress((static_cast<double>(i) + share) / static_cast<double>(count));
            };
        const AmplifierSimulation simulation = simulateAmplifier(plan, point);
        if (simulation.cancelled) {
            sweep.cancelled = true;
            return sweep;
        }
        if (simulation.refusal) {
            sweep.refusal = simulation.refusal;
            sweep.points.clear();
            return sweep;
        }
        BackoffSweepPoint entry;
        entry.inputBackoffDb = inputBackoffsDb[i];
        entry.outputBackoffDb = simulation.outputBackoffDb.value_or(0.0);
        entry.totalOutputDbw = simulation.totalOutputDbw;
        entry.worstCarrier = simulation.worstCarrier;
        entry.worstCimDb = simulation.minCimDb;
        entry.precisionDb = simulation.precisionDb;
        entry.carriers = simulation.carriers;
        sweep.points.push_back(std::move(entry));
    }
    return sweep;
}

std::vector<double> backoffSteps(double fromDb, double toDb, double stepDb)
{
    std::vector<double> steps;
    if (!std::isfinite(fromDb) || !std::isfinite(toDb) || !std::isfinite(stepDb) ||
        !(stepDb > 0.0) || fromDb > toDb)
        return steps;
    const double count = std::floor((toDb - fromDb) / stepDb + 1e-9);
    if (count > 1000.0)
        return steps;
    for (int i = 0; i <= static_cast<int>(count); ++i)
        steps.push_back(fromDb + i * stepDb);
    return steps;
}

} // namespace orvane
