#pragma once

#include "amplifier/amplifier_model.h"
#include "amplifier/fft.h"
#include "amplifier/simulation_grid.h"

#include <complex>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace orvane::amplifier {

// What one frame tells about one carrier in its measuring band (weights w): X the carrier's
// input, Z the output less the other carriers' correlated parts.
struct TrialStats {
    double inputEnergy = 0.0;    // sum w |X|^2
    Complex crossEnergy;         // sum w Z conj(X)
    double outputEnergy = 0.0;   // sum w |Z|^2
    double weightedInput = 0.0;  // sum w^2 |X|^4
    Complex weightedCross;       // sum w^2 |X|^2 Z conj(X)
    double weightedOutput = 0.0; // sum w^2 |X|^2 |Z|^2
};

// What the trials share: the grid, the amplifier, the transforms and the alphabets.
struct TrialSetup {
    const SimulationGrid* grid = nullptr;
    const AmplifierCurve* curve = nullptr;
    std::uint64_t seed = 0;
    std::unique_ptr<FftPlan> toTime;
    std::unique_ptr<FftPlan> toFrequency;
    std::map<int, std::unique_ptr<FftPlan>> symbolTransforms; // by symbols per frame
    std::map<int, std::vector<Complex>> alphabets;            // by modulation order

    TrialSetup(const SimulationGrid& grid, const AmplifierCurve& curve, std::uint64_t seed);
};

// One thread's buffers; runs trials one after the other.
class TrialRunner {
public:
    explicit TrialRunner(const TrialSetup& setup);

    // Runs a trial: every slot's statistics into stats (one per slot), the frame's mean output
    // power into outputPower, and each output spectrum bin's power added into spectrumPower
    // (none: no spectrum).
    void run(std::uint64_t trial, TrialStats* stats, double& outputPower, double* spectrumPower);

private:
    void generate(std::uint64_t trial);
    void measure(TrialStats* stats);
    Complex inputAt(std::size_t slot, Bin bin) const;

    const TrialSetup& setup_;
    ComplexBuffer frame_;
    ComplexBuffer symbols_;
    std::vector<std::size_t> slotOffsets_; // where each slot's input bins start in inputs_
    std::vector<Complex> inputs_;
    std::vector<Complex> spillGains_;
};

} // namespace orvane::amplifier
