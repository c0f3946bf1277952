#include "amplifier/simulation_grid.h"

#include "amplifier/carrier_waveforms.h"
#include "amplifier/fft.h"

#include <algorithm>
#include <cmath>

namespace orvane::amplifier {

namespace {

// Bins across the narrowest measuring band: the symbol rate is kept to within 1/64 of itself
// and each frame gives this many looks at the carrier's band.
constexpr double binsPerNarrowestBand = 32.0;
// Room for spectral regrowth on each side of the carriers, in their whole width: products up
// to the ninth order land clear of the carriers when the frame wraps round.
constexpr double regrowthWidths = 2.0;
// The carriers' bins together may fill the frame this many times over (overlapping carriers).
constexpr std::size_t mostBinsPerFrame = 4;
// The largest transform a frame may take; beyond it the bins grow coarser.
constexpr std::size_t largestFftSize = std::size_t{1} << 20;

struct Interval {
    double lowMhz = 0.0;
    double highMhz = 0.0;
    double width() const { return highMhz - lowMhz; }
};

struct CarrierShape {
    double centreMhz = 0.0;
    double symbolRateMhz = 0.0;
    double rolloff = 0.0;
    double bandHalfMhz = 0.0; // half the measuring band
    double extentHalfMhz = 0.0;
    bool tone = false;
};

CarrierShape shapeOf(const Carrier& carrier, bool tones)
{
    CarrierShape shape;
    shape.centreMhz = carrier.centreFrequencyMhz;
    const double symbolRate = carrier.symbolRateMsps;
    const bool hasRate = std::isfinite(symbolRate) && symbolRate > 0.0;
    shape.tone = tones || !hasRate;
    shape.symbolRateMhz = hasRate ? symbolRate : 0.0;
    shape.rolloff = std::clamp(
        std::isfinite(carrier.rolloffFactor) ? carrier.rolloffFactor - 1.0 : 0.0, 0.0, 1.0);
    const double occupied = std::isfinite(carrier.occupiedBandwidthMhz)
                                ? std::max(0.0, carrier.occupiedBandwidthMhz)
                                : 0.0;
    shape.bandHalfMhz = 0.5 * (hasRate ? symbolRate : occupied);
    const double generatedHalf = shape.tone ? 0.0 : 0.5 * (1.0 + shape.rolloff) * symbolRate;
    shape.extentHalfMhz = std::max(shape.bandHalfMhz, generatedHalf);
    return shape;
}

BinWeights bandBins(Bin centreBin, double bandHalfMhz, double binMhz)
{
    BinWeights band;
    if (!(bandHalfMhz > 0.0)) {
        band.first = centreBin;
        band.weights = {1.0};
        return band;
    }
    const double low = static_cast<double>(centreBin) - bandHalfMhz / binMhz;
    const double high = static_cast<double>(centreBin) + bandHalfMhz / binMhz;
    band.first = static_cast<Bin>(std::floor(low + 0.5));
    const Bin last = static_cast<Bin>(std::ceil(high - 0.5));
    for (Bin bin = band.first; bin <= last; ++bin) {
        const double from = std::max(low, static_cast<double>(bin) - 0.5);
        const double to = std::min(high, static_cast<double>(bin) + 0.5);
        band.weights.push_back(std::clamp(to - from, 0.0, 1.0));
    }
    return band;
}

CarrierSlot slotOf(const CarrierShape& shape, double inputPower, const SimulationGrid& grid)
{
    CarrierSlot slot;
    slot.tone = shape.tone;
    slot.inputPower = inputPower;
    slot.centreBin = std::llround((shape.centreMhz - grid.centreMhz) / grid.binMhz);
    slot.band = bandBins(slot.centreBin, shape.bandHalfMhz, grid.binMhz);
    if (shape.tone) {
        slot.firstBin = slot.centreBin;
        slot.amplitude = {std::sqrt(inputPower)};
        return slot;
    }
    const Bin symbols = std::max<Bin>(1, std::llround(shape.symbolRateMhz / grid.binMhz));
    slot.symbolsPerFrame = static_cast<int>(symbols);
    const Bin half =
        static_cast<Bin>(std::floor(0.5 * (1.0 + shape.rolloff) * static_cast<double>(symbols)));
    double energy = 0.0;
    for (Bin offset = -half; offset <= half; ++offset) {
        const double response = rootRaisedCosine(
            static_cast<double>(offset) / static_cast<double>(symbols), shape.rolloff);
        if (response <= 0.0)
            continue;
        if (slot.amplitude.empty())
            slot.firstBin = slot.centreBin + offset;
        slot.amplitude.push_back(response);
        energy += response * response;
    }
    // A frame's symbols have unit mean power, so each bin of their transform has power
    // symbolsPerFrame on average: this scale gives the carrier its mean power.
    const double scale = std::sqrt(inputPower / (static_cast<double>(symbols) * energy));
    for (double& amplitude : slot.amplitude)
        amplitude *= scale;
    return slot;
}

// Which bins each slot has to itself, and which slots put power into another's band.
void markNeighbours(SimulationGrid& grid)
{
    std::vector<unsigned short> cover(grid.fftSize, 0);
    for (const CarrierSlot& slot : grid.slots)
        for (Bin bin = slot.firstBin; bin <= slot.lastBin(); ++bin) {
            unsigned short& count = cover[grid.index(bin)];
            count = static_cast<unsigned short>(std::min(count + 1, 2));
        }
    for (CarrierSlot& slot : grid.slots) {
        slot.alone.assign(slot.amplitude.size(), 0);
        bool anyAlone = false;
        for (std::size_t i = 0; i < slot.amplitude.size(); ++i) {
            slot.alone[i] = cover[grid.index(slot.firstBin + static_cast<Bin>(i))] == 1;
            anyAlone = anyAlone || slot.alone[i];
        }
        if (!anyAlone)
            slot.alone.assign(slot.amplitude.size(), 1);
    }
    for (std::size_t k = 0; k < grid.slots.size(); ++k) {
        CarrierSlot& slot = grid.slots[k];
        for (std::size_t j = 0; j < grid.slots.size(); ++j) {
            CarrierSlot& other = grid.slots[j];
            if (j == k || other.lastBin() < slot.band.first || other.firstBin > slot.band.last())
                continue;
            slot.spills.push_back(j);
            other.spillsIntoOthers = true;
        }
    }
}

} // namespace

GridBuild buildSimulationGrid(const CarrierList& sorted, const std::vector<double>& inputPowers,
                              bool tones)
{
    GridBuild build;
    std::vector<CarrierShape> shapes;
    std::vector<int> planIndices;
    for (int i = 0; i < sorted.count(); ++i) {
        if (!(inputPowers[static_cast<std::size_t>(i)] > 0.0))
            continue;
        shapes.push_back(shapeOf(sorted[i], tones));
        planIndices.push_back(i);
    }
    Interval carriers{HUGE_VAL, -HUGE_VAL};
    double binMhz = HUGE_VAL;
    for (const CarrierShape& shape : shapes) {
        carriers.lowMhz = std::min(carriers.lowMhz, shape.centreMhz - shape.extentHalfMhz);
        carriers.highMhz = std::max(carriers.highMhz, shape.centreMhz + shape.extentHalfMhz);
        if (shape.bandHalfMhz > 0.0)
            binMhz = std::min(binMhz, 2.0 * shape.bandHalfMhz / binsPerNarrowestBand);
    }
    if (!std::isfinite(binMhz))
        binMhz = carriers.width() > 0.0 ? carriers.width() / 1024.0 : 0.001;
    const double span = std::max(carriers.width(), 64.0 * binMhz);
    const Interval simulated{carriers.lowMhz - regrowthWidths * span,
                             carriers.highMhz + regrowthWidths * span};
    // The output spectrum: the view range widened by its width on each side.
    Interval spectrum{carriers.lowMhz - span, carriers.highMhz + span};
    const double viewWidth = sorted.viewStopMhz - sorted.viewStartMhz;
    if (std::isfinite(viewWidth) && viewWidth > 0.0)
        spectrum = {sorted.viewStartMhz - viewWidth, sorted.viewStopMhz + viewWidth};
    Interval frame{std::min(simulated.lowMhz, spectrum.lowMhz),
                   std::max(simulated.highMhz, spectrum.highMhz)};
    const auto sizeFor = [&](const Interval& range) {
        return fastFftSize(static_cast<std::size_t>(std::ceil(range.width() / binMhz)) + 1);
    };
    if (sizeFor(frame) > largestFftSize) {
        frame = simulated; // the spectrum then shows the simulated band only
        if (sizeFor(frame) > largestFftSize)
            binMhz = frame.width() / static_cast<double>(largestFftSize - 2);
    }

    SimulationGrid grid;
    grid.binMhz = binMhz;
    grid.fftSize = sizeFor(frame);
    grid.centreMhz = 0.5 * (frame.lowMhz + frame.highMhz);
    // Within the frame (clamped as doubles: a view range far away must not overflow a Bin).
    const double halfSize = static_cast<double>(grid.fftSize / 2);
    const Bin spectrumFirst = static_cast<Bin>(
        std::clamp(std::ceil((spectrum.lowMhz - grid.centreMhz) / binMhz), -halfSize, halfSize));
    const Bin spectrumLast = static_cast<Bin>(std::clamp(
        std::floor((spectrum.highMhz - grid.centreMhz) / binMhz), -halfSize - 1.0, halfSize - 1.0));
    grid.spectrumFirstBin = spectrumFirst;
    grid.spectrumBinCount = spectrumLast >= spectrumFirst
                                ? static_cast<std::size_t>(spectrumLast - spectrumFirst + 1)
                                : 0;

    std::size_t binsInUse = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const int planIndex = planIndices[i];
        CarrierSlot slot =
            slotOf(shapes[i], inputPowers[static_cast<std::size_t>(planIndex)], grid);
        slot.planIndex = planIndex;
        slot.modulationOrder =
            sorted[planIndex].calcMode == calcModeFixed ? 4 : sorted[planIndex].modulationOrder;
        binsInUse += slot.amplitude.size();
        if (binsInUse > mostBinsPerFrame * grid.fftSize) {
            build.refusal = "The carriers overlap too much to be simulated.";
            return build;
        }
        grid.slots.push_back(std::move(slot));
    }
    markNeighbours(grid);
    build.grid = std::move(grid);
    return build;
}

} // namespace orvane::amplifier
