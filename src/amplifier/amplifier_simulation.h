#pragma once

#include "amplifier/amplifier_model.h"
#include "model/carrier_list.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

enum class CarrierSignals {
    modulated, // random symbols of each carrier's modulation, root-raised-cosine shaped
    tones,     // every carrier an unmodulated tone of random phase
};

// The operating points the simulation takes.
inline constexpr double lowestInputBackoffDb = -30.0;
inline constexpr double highestInputBackoffDb = 100.0;

struct SimulationOptions {
    AmplifierModel amplifier;
    // The operating point: the whole load's mean input power this many dB below the
    // single-carrier saturation input, from lowestInputBackoffDb to highestInputBackoffDb.
    // Not used by the ip3 model.
    double inputBackoffDb = 10.0;
    CarrierSignals signals = CarrierSignals::modulated;
    std::uint64_t seed = 1;
    // Frames are averaged until every carrier's C/IM is known to within this many dB (the
    // half-width of its 95 % confidence interval; see precisionDb of the result for the
    // carriers left aside), or maxTrials frames are done.
    double precisionDb = 0.2;
    int maxTrials = 20000;
    // False: no output spectrum (the sweep does without).
    bool wantSpectrum = true;
    // 0: every core. The results are the same for any number.
    int threadCount = 0;
    // Set from another thread to stop early; the result then says it was cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // The share done (0..1, never going back), called from the working threads one call at a
    // time.
    std::function<void(double)> progress;
};

// What the amplifier does to one carrier of the plan sorted by frequency (F1 the lowest).
// Every value is none for a carrier without a power level, which is left out.
struct SimulatedCarrier {
    int fNumber = 0;
    std::string label;
    double centreFrequencyMhz = 0.0;
    // The carrier's own input level, dB below the single-carrier saturation input (none for
    // the ip3 model).
    std::optional<double> inputBackoffDb;
    // The part of the output correlated with the carrier's input (its whole power).
    std::optional<double> outputPowerDbw;
    // Everything else in its symbol-rate band: the distortion of all carriers, all orders.
    std::optional<double> imPowerDbw;
    std::optional<double> cimDb;
    // The 95 % half-width of cimDb.
    std::optional<double> cimPrecisionDb;
    // The output power less what the amplifier's small-signal gain would give (<= 0 when the
    // amplifier compresses the carrier).
    std::optional<double> compressionDb;
};

// Power density in dBW per kHz at evenly spaced frequencies, low to high.
struct OutputSpectrum {
    double firstFrequencyMhz = 0.0;
    double stepMhz = 0.0;
    std::vector<double> dbwPerKhz;
    double frequencyMhz(std::size_t index) const
    {
        return firstFrequencyMhz + static_cast<double>(index) * stepMhz;
    }
};

// The floor of the output spectrum, where a bin has (next to) no power.
inline constexpr double spectrumFloorDbwPerKhz = -300.0;

struct AmplifierSimulation {
    bool cancelled = false;
    // Set, and nothing simulated, when the plan or the options allow no simulation.
    std::optional<std::string> refusal;
    AmplifierKind amplifier = AmplifierKind::saleh;
    // The operating point and the whole output's back-off from saturation (none for ip3).
    std::optional<double> inputBackoffDb;
    std::optional<double> outputBackoffDb;
    double totalOutputDbw = 0.0;
    // The largest 95 % half-width of a carrier's C/IM (carriers above 100 dB C/IM, which
    // have next to no distortion, and below -10 dB, drowned in it, aside: each carrier states
    // its own), and whether it came within the wanted precision.
    double precisionDb = 0.0;
    bool precisionReached = false;
    int trials = 0;                  // frames averaged
    std::size_t fftSize = 0;         // the frame's transform size
    std::optional<int> worstCarrier; // F-number of the lowest C/IM
    std::optional<double> minCimDb;
    std::vector<SimulatedCarrier> carriers; // every carrier of the plan, in F-number order
    // Over the plan's view range widened by its width on each side (the carriers' span when
    // the plan has no view range), as far as the frame reaches.
    OutputSpectrum spectrum;
};

// The simulation takes at most this many carriers.
inline constexpr int maxSimulatedCarriers = 2000;

// Drives the amplifier with the plan's carriers at the operating point and measures each
// carrier's output, its intermodulation and the output spectrum (see
// docs/amplifier-simulation.md). The plan is sorted by frequency on a copy, as the analysis
// and the report sort it. Every value is finite; problems come back as the refusal.
AmplifierSimulation simulateAmplifier(const CarrierList& plan, const SimulationOptions& options);

// One operating point of a sweep.
struct BackoffSweepPoint {
    double inputBackoffDb = 0.0;
    double outputBackoffDb = 0.0;
    double totalOutputDbw = 0.0;
    std::optional<int> worstCarrier; // F-number
    std::optional<double> worstCimDb;
    double precisionDb = 0.0;
    // Every carrier as simulateAmplifier measures it there, in F-number order.
    std::vector<SimulatedCarrier> carriers;
};

struct BackoffSweep {
    bool cancelled = false;
    std::optional<std::string> refusal;
    std::vector<BackoffSweepPoint> points; // in the order of the back-offs asked for
};

// The simulation at each input back-off (the options' own back-off aside, no spectrum), each
// with the options' seed, so the curve is smooth. Progress runs once over the whole sweep.
// Refused for the ip3 model, which has no operating point.
BackoffSweep sweepInputBackoff(const CarrierList& plan, const SimulationOptions& options,
                               const std::vector<double>& inputBackoffsDb);

// fromDb, fromDb + stepDb, ... up to toDb (inclusive, within rounding); empty unless
// stepDb > 0, fromDb <= toDb and the three are finite; at most 1001 points.
std::vector<double> backoffSteps(double fromDb, double toDb, double stepDb);

} // namespace orvane
