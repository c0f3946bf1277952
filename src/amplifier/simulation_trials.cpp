#include "amplifier/simulation_trials.h"

#include "amplifier/carrier_waveforms.h"
#include "amplifier/random_stream.h"

#include <algorithm>
#include <cmath>

namespace orvane::amplifier {

namespace {

constexpr double twoPi = 6.28318530717958647692;

} // namespace

TrialSetup::TrialSetup(const SimulationGrid& grid_, const AmplifierCurve& curve_,
                       std::uint64_t seed_)
    : grid(&grid_), curve(&curve_), seed(seed_),
      toTime(std::make_unique<FftPlan>(grid_.fftSize, FftDirection::backward)),
      toFrequency(std::make_unique<FftPlan>(grid_.fftSize, FftDirection::forward))
{
    for (const CarrierSlot& slot : grid_.slots) {
        if (slot.tone)
            continue;
        std::unique_ptr<FftPlan>& transform = symbolTransforms[slot.symbolsPerFrame];
        if (!transform)
            transform = std::make_unique<FftPlan>(static_cast<std::size_t>(slot.symbolsPerFrame),
                                                  FftDirection::forward);
        std::vector<Complex>& alphabet = alphabets[slot.modulationOrder];
        if (alphabet.empty())
            alphabet = constellationFor(slot.modulationOrder);
    }
}

TrialRunner::TrialRunner(const TrialSetup& setup)
    : setup_(setup), frame_(setup.grid->fftSize), spillGains_(setup.grid->slots.size())
{
    std::size_t longestFrame = 1;
    std::size_t offset = 0;
    for (const CarrierSlot& slot : setup.grid->slots) {
        slotOffsets_.push_back(offset);
        offset += slot.amplitude.size();
        longestFrame = std::max(longestFrame, static_cast<std::size_t>(slot.symbolsPerFrame));
    }
    inputs_.resize(offset);
    symbols_ = ComplexBuffer(longestFrame);
}

void TrialRunner::generate(std::uint64_t trial)
{
    const SimulationGrid& grid = *setup_.grid;
    frame_.clear();
    for (std::size_t s = 0; s < grid.slots.size(); ++s) {
        const CarrierSlot& slot = grid.slots[s];
        RandomStream random(setup_.seed, trial, static_cast<std::uint64_t>(slot.planIndex));
        Complex* inputs = inputs_.data() + slotOffsets_[s];
        if (slot.tone) {
            inputs[0] = std::polar(slot.amplitude[0], twoPi * random.nextUnit());
            frame_[grid.index(slot.centreBin)] += inputs[0];
            continue;
        }
        const std::vector<Complex>& alphabet = setup_.alphabets.at(slot.modulationOrder);
        const auto alphabetSize = static_cast<std::uint32_t>(alphabet.size());
        const Bin symbols = slot.symbolsPerFrame;
        for (Bin m = 0; m < symbols; ++m)
            symbols_[static_cast<std::size_t>(m)] = alphabet[random.nextBelow(alphabetSize)];
        setup_.symbolTransforms.at(slot.symbolsPerFrame)->execute(symbols_);
        Bin symbolBin = ((slot.firstBin - slot.centreBin) % symbols + symbols) % symbols;
        for (std::size_t i = 0; i < slot.amplitude.size(); ++i) {
            inputs[i] = slot.amplitude[i] * symbols_[static_cast<std::size_t>(symbolBin)];
            frame_[grid.index(slot.firstBin + static_cast<Bin>(i))] += inputs[i];
            if (++symbolBin == symbols)
                symbolBin = 0;
        }
    }
    setup_.toTime->execute(frame_);
}

Complex TrialRunner::inputAt(std::size_t slot, Bin bin) const
{
    const CarrierSlot& carrier = setup_.grid->slots[slot];
    if (bin < carrier.firstBin || bin > carrier.lastBin())
        return Complex();
    return inputs_[slotOffsets_[slot] + static_cast<std::size_t>(bin - carrier.firstBin)];
}

void TrialRunner::run(std::uint64_t trial, TrialStats* stats, double& outputPower,
                      double* spectrumPower)
{
    const SimulationGrid& grid = *setup_.grid;
    generate(trial);
    setup_.curve->apply(frame_.data(), grid.fftSize);
    double power = 0.0;
    for (std::size_t t = 0; t < grid.fftSize; ++t)
        power += std::norm(frame_[t]);
    const double inverseSize = 1.0 / static_cast<double>(grid.fftSize);
    outputPower = power * inverseSize;
    setup_.toFrequency->execute(frame_);
    // The forward transform sums the frame: scaled by 1/N a bin holds the carriers' amplitude.
    for (std::size_t t = 0; t < grid.fftSize; ++t)
        frame_[t] *= inverseSize;
    if (spectrumPower != nullptr)
        for (std::size_t i = 0; i < grid.spectrumBinCount; ++i)
            spectrumPower[i] +=
                std::norm(frame_[grid.index(grid.spectrumFirstBin + static_cast<Bin>(i))]);
    measure(stats);
}

void TrialRunner::measure(TrialStats* stats)
{
    const SimulationGrid& grid = *setup_.grid;
    // A carrier spilling into another's band is taken out there at the gain it shows in this
    // frame on the bins it has to itself.
    for (std::size_t j = 0; j < grid.slots.size(); ++j) {
        const CarrierSlot& slot = grid.slots[j];
        if (!slot.spillsIntoOthers)
            continue;
        Complex cross;
        double energy = 0.0;
        const Complex* inputs = inputs_.data() + slotOffsets_[j];
        for (std::size_t i = 0; i < slot.amplitude.size(); ++i) {
            if (!slot.alone[i])
                continue;
            cross += frame_[grid.index(slot.firstBin + static_cast<Bin>(i))] * std::conj(inputs[i]);
            energy += std::norm(inputs[i]);
        }
        spillGains_[j] = energy > 0.0 ? cross / energy : Complex();
    }
    for (std::size_t k = 0; k < grid.slots.size(); ++k) {
        const CarrierSlot& slot = grid.slots[k];
        TrialStats sums;
        for (std::size_t i = 0; i < slot.band.weights.size(); ++i) {
            const Bin bin = slot.band.first + static_cast<Bin>(i);
            const double weight = slot.band.weights[i];
            const Complex input = inputAt(k, bin);
            Complex output = frame_[grid.index(bin)];
            for (const std::size_t j : slot.spills)
                output -= spillGains_[j] * inputAt(j, bin);
            const double inputPower = std::norm(input);
            const Complex cross = output * std::conj(input);
            const double outputPower = std::norm(output);
            sums.inputEnergy += weight * inputPower;
            sums.crossEnergy += weight * cross;
            sums.outputEnergy += weight * outputPower;
            const double weighted = weight * weight * inputPower;
            sums.weightedInput += weighted * inputPower;
            sums.weightedCross += weighted * cross;
            sums.weightedOutput += weighted * outputPower;
        }
        stats[k] = sums;
    }
}

} // namespace orvane::amplifier
