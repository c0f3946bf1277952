#include "commands/plan_history.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace orvane {

namespace {

// Bit for bit, so that a value that is not a number still equals itself.
bool sameBits(double a, double b)
{
    std::uint64_t aBits = 0;
    std::uint64_t bBits = 0;
    std::memcpy(&aBits, &a, sizeof a);
    std::memcpy(&bBits, &b, sizeof b);
    return aBits == bBits;
}

bool sameCarrier(const Carrier& a, const Carrier& b)
{
    const double aNumbers[] = {a.spectralEfficiency,
                               a.powerDbw,
                               a.modcodParamB,
                               a.modcodParamA,
                               a.symbolRateMsps,
                               a.occupiedBandwidthMhz,
                               a.rolloffFactor,
                               a.centreFrequencyMhz,
                               a.dataRateKbps,
                               a.overheadKbps,
                               a.rsN,
                               a.rsK,
                               a.fecRate,
                               a.symbolRateKsps};
    const double bNumbers[] = {b.spectralEfficiency,
                               b.powerDbw,
                               b.modcodParamB,
                               b.modcodParamA,
                               b.symbolRateMsps,
                               b.occupiedBandwidthMhz,
                               b.rolloffFactor,
                               b.centreFrequencyMhz,
                               b.dataRateKbps,
                               b.overheadKbps,
                               b.rsN,
                               b.rsK,
                               b.fecRate,
                               b.symbolRateKsps};
    for (std::size_t index = 0; index < std::size(aNumbers); ++index)
        if (!sameBits(aNumbers[index], bNumbers[index]))
            return false;
    return a.label == b.label && a.modcodSection == b.modcodSection &&
           a.fromModcod == b.fromModcod && a.symbolRateGiven == b.symbolRateGiven &&
           a.calcMode == b.calcMode && a.modulationOrder == b.modulationOrder;
}

std::size_t heapBytes(const std::string& text)
{
    // Short texts live inside the string itself.
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

template <typename Block> std::size_t blockBytes(const Block& block)
{
    // The block, its carriers and labels, and the shared pointer's control block.
    std::size_t bytes =
        sizeof(Block) + 4 * sizeof(void*) + block.capacity() * sizeof(typename Block::value_type);
    for (const auto& carrier : block)
        bytes += heapBytes(carrier.label);
    return bytes;
}

} // namespace

PlanHistory::PlanHistory(std::size_t maxSteps, std::size_t maxBytes)
    : maxSteps_(maxSteps), maxBytes_(maxBytes)
{
    restart(CarrierList(), DisplaySettings());
}

PlanHistory::State PlanHistory::snapshot(const CarrierList& carriers,
                                         const DisplaySettings& settings, const State& from) const
{
    State state;
    state.carrierCount = static_cast<std::size_t>(carriers.count());
    state.titleText = settings.titleText;
    state.viewStartMhz = settings.viewStartMhz;
    state.viewStopMhz = settings.viewStopMhz;
    const std::size_t blockCount = (state.carrierCount + carriersPerBlock - 1) / carriersPerBlock;
    state.blocks.reserve(blockCount);
    for (std::size_t block = 0; block < blockCount; ++block) {
        const auto first = carriers.begin() + static_cast<std::ptrdiff_t>(block * carriersPerBlock);
        const auto last =
            carriers.begin() + static_cast<std::ptrdiff_t>(
                                   std::min(state.carrierCount, (block + 1) * carriersPerBlock));
        if (block < from.blocks.size()) {
            const Block& kept = *from.blocks[block];
            if (std::equal(first, last, kept.begin(), kept.end(), sameCarrier)) {
                state.blocks.push_back(from.blocks[block]);
                continue;
            }
        }
        state.blocks.push_back(std::make_shared<const Block>(first, last));
    }
    return state;
}

bool PlanHistory::sameState(const State& a, const State& b)
{
    return a.carrierCount == b.carrierCount && a.blocks == b.blocks && a.titleText == b.titleText &&
           sameBits(a.viewStartMhz, b.viewStartMhz) && sameBits(a.viewStopMhz, b.viewStopMhz);
}

void PlanHistory::restore(const State& state, CarrierList& carriers, DisplaySettings& settings)
{
    carriers.removeAll();
    carriers.reserve(state.carrierCount);
    for (const auto& block : state.blocks)
        for (const Carrier& carrier : *block)
            carriers.appendWithoutBounds(carrier);
    carriers.updateBounds();
    settings.titleText = state.titleText;
    settings.viewStartMhz = state.viewStartMhz;
    settings.viewStopMhz = state.viewStopMhz;
}

std::size_t PlanHistory::bytesOfNewBlocks(const State& state) const
{
    // A block held by this state alone is counted with it; shared blocks were counted already.
    std::size_t bytes = sizeof(State) + state.blocks.capacity() * sizeof(state.blocks[0]) +
                        heapBytes(state.stepName) + heapBytes(state.titleText);
    for (const auto& block : state.blocks)
        if (block.use_count() == 1)
            bytes += blockBytes(*block);
    return bytes;
}

void PlanHistory::releaseBlocks(const State& state)
{
    keptBytes_ -= bytesOfNewBlocks(state);
}

void PlanHistory::restart(const CarrierList& carriers, const DisplaySettings& settings)
{
    states_.clear();
    keptBytes_ = 0;
    State state = snapshot(carriers, settings, State());
    keptBytes_ += bytesOfNewBlocks(state);
    states_.push_back(std::move(state));
    current_ = 0;
    unchangedState_ = 0;
}

bool PlanHistory::record(const CarrierList& carriers, const DisplaySettings& settings,
                         const std::string& stepName)
{
    State state = snapshot(carriers, settings, states_[current_]);
    if (sameState(state, states_[current_]))
        return false;
    state.stepName = stepName;
    while (states_.size() > current_ + 1)
        dropLast();
    push(std::move(state));
    return true;
}

void PlanHistory::push(State state)
{
    keptBytes_ += bytesOfNewBlocks(state);
    states_.push_back(std::move(state));
    current_ = states_.size() - 1;
    while (current_ > 0 && (current_ > maxSteps_ || keptBytes_ > maxBytes_))
        dropOldest();
}

void PlanHistory::dropLast()
{
    releaseBlocks(states_.back());
    states_.pop_back();
    if (unchangedState_ && *unchangedState_ >= states_.size())
        unchangedState_.reset();
}

void PlanHistory::dropOldest()
{
    releaseBlocks(states_.front());
    states_.erase(states_.begin());
    --current_;
    if (unchangedState_)
        unchangedState_ =
            *unchangedState_ == 0 ? std::nullopt : std::optional<std::size_t>(*unchangedState_ - 1);
}

void PlanHistory::takeNewOrder(const CarrierList& carriers)
{
    State& current = states_[current_];
    DisplaySettings settings;
    settings.titleText = current.titleText;
    settings.viewStartMhz = current.viewStartMhz;
    settings.viewStopMhz = current.viewStopMhz;
    State reordered = snapshot(carriers, settings, current);
    reordered.stepName = current.stepName;
    releaseBlocks(current);
    keptBytes_ += bytesOfNewBlocks(reordered);
    current = std::move(reordered);
}

std::optional<std::string> PlanHistory::undoName() const
{
    if (current_ == 0)
        return std::nullopt;
    return states_[current_].stepName;
}

std::optional<std::string> PlanHistory::redoName() const
{
    if (current_ + 1 >= states_.size())
        return std::nullopt;
    return states_[current_ + 1].stepName;
}

bool PlanHistory::undo(CarrierList& carriers, DisplaySettings& settings)
{
    if (current_ == 0)
        return false;
    --current_;
    restore(states_[current_], carriers, settings);
    return true;
}

bool PlanHistory::redo(CarrierList& carriers, DisplaySettings& settings)
{
    if (current_ + 1 >= states_.size())
        return false;
    ++current_;
    restore(states_[current_], carriers, settings);
    return true;
}

void PlanHistory::markUnchanged()
{
    unchangedState_ = current_;
}

bool PlanHistory::changed() const
{
    return unchangedState_ != current_;
}

} // namespace orvane
