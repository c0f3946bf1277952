#pragma once

#include "model/carrier_list.h"

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane::amplifier {

// Bins are counted from the grid's centre frequency: bin b is centreMhz + b * binMhz and sits
// at index (b mod fftSize) of a transform.
using Bin = long long;

// A run of weighted bins: a carrier's measuring band.
struct BinWeights {
    Bin first = 0;
    std::vector<double> weights; // the share of each bin inside the band, 0..1
    Bin last() const { return first + static_cast<Bin>(weights.size()) - 1; }
};

// One carrier with a power level, as the simulation makes it.
struct CarrierSlot {
    int planIndex = 0; // in the plan sorted by frequency (F-number - 1)
    bool tone = false;
    double inputPower = 0.0; // normalised mean power
    Bin centreBin = 0;
    int symbolsPerFrame = 0; // of a modulated carrier: the frame holds a whole number
    int modulationOrder = 4;
    // The spectrum of a frame is amplitude[i] * A[(b - centreBin) mod symbolsPerFrame] at bin
    // b = firstBin + i, A being the transform of the frame's symbols; a tone's is one bin.
    Bin firstBin = 0;
    std::vector<double> amplitude;
    // Bins of amplitude where no other carrier has power, where its gain is measured when it
    // spills into another carrier's band; all bins when none is alone.
    std::vector<unsigned char> alone;
    BinWeights band;                 // the measuring band: the symbol-rate band
    std::vector<std::size_t> spills; // other slots with power inside this slot's band
    bool spillsIntoOthers = false;
    Bin lastBin() const { return firstBin + static_cast<Bin>(amplitude.size()) - 1; }
};

// The frequency grid of one simulation: a frame of fftSize samples at fftSize * binMhz MHz,
// periodic so that every carrier fills whole bins and no window is needed.
struct SimulationGrid {
    double centreMhz = 0.0;
    double binMhz = 0.0;
    std::size_t fftSize = 0;
    std::vector<CarrierSlot> slots;
    Bin spectrumFirstBin = 0; // the output spectrum's bins
    std::size_t spectrumBinCount = 0;
    std::size_t index(Bin bin) const
    {
        const Bin size = static_cast<Bin>(fftSize);
        return static_cast<std::size_t>(((bin % size) + size) % size);
    }
};

// The grid for a plan, or why there is none (carriers that overlap too deeply).
struct GridBuild {
    std::optional<SimulationGrid> grid;
    std::string refusal;
};
// sorted: the plan sorted by frequency; inputPowers: normalised, per carrier (0: left out);
// tones: every carrier an unmodulated tone.
GridBuild buildSimulationGrid(const CarrierList& sorted, const std::vector<double>& inputPowers,
                              bool tones);

} // namespace orvane::amplifier
