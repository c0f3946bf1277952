#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The undo history of a plan: the carriers, title and view range after each change, with the
// name of the change ("Delete Carrier"), and which of those states the plan's file holds.
// Carriers are kept in blocks shared between states wherever a change left a block as it was,
// so a change to one carrier of a large plan costs about one block. The oldest states go once
// there are more than maxSteps changes or the kept states take more than maxBytes.
class PlanHistory {
public:
    static constexpr std::size_t defaultMaxSteps = 100;
    static constexpr std::size_t defaultMaxBytes = std::size_t{256} << 20;
    static constexpr std::size_t carriersPerBlock = 1024;

    // Starts from the plan a fresh window shows (no carriers, the default title and view).
    explicit PlanHistory(std::size_t maxSteps = defaultMaxSteps,
                         std::size_t maxBytes = defaultMaxBytes);

    // Starts over from the plan as it stands: nothing to undo or redo, and no unsaved change.
    void restart(const CarrierList& carriers, const DisplaySettings& settings);
    // Records the plan as it stands after a change named stepName. When the carriers, the title
    // and the view are as they were, nothing is recorded and false is returned. A new change
    // drops whatever could have been redone.
    bool record(const CarrierList& carriers, const DisplaySettings& settings,
                const std::string& stepName);
    // The carriers were put in another order without any other change (sorted for a list, say):
    // the current state takes the new order without becoming a step of its own.
    void takeNewOrder(const CarrierList& carriers);

    // The names of the change Undo and Redo would take back or make again; none when there is
    // nothing to undo or redo.
    std::optional<std::string> undoName() const;
    std::optional<std::string> redoName() const;
    // Put the plan back to the state before (after) that change; false when there is none.
    bool undo(CarrierList& carriers, DisplaySettings& settings);
    bool redo(CarrierList& carriers, DisplaySettings& settings);

    // The plan as it stands is what its file holds (it was just loaded, saved or cleared).
    void markUnchanged();
    // Whether the plan differs from the state last marked unchanged.
    bool changed() const;

    std::size_t undoSteps() const { return current_; }
    std::size_t keptBytes() const { return keptBytes_; }

private:
    using Block = std::vector<Carrier>;
    struct State {
        std::string stepName;
        std::vector<std::shared_ptr<const Block>> blocks;
        std::size_t carrierCount = 0;
        std::string titleText;
        double viewStartMhz = 0.0;
        double viewStopMhz = 0.0;
    };

    // The plan as a state, taking from `from` every block whose carriers are unchanged.
    State snapshot(const CarrierList& carriers, const DisplaySettings& settings,
                   const State& from) const;
    static bool sameState(const State& a, const State& b);
    static void restore(const State& state, CarrierList& carriers, DisplaySettings& settings);
    std::size_t bytesOfNewBlocks(const State& state) const;
    void push(State state);
    void dropLast();
    void dropOldest();
    void releaseBlocks(const State& state);

    std::size_t maxSteps_;
    std::size_t maxBytes_;
    std::vector<State> states_;
    std::size_t current_ = 0;
    std::optional<std::size_t> unchangedState_ = 0;
    std::size_t keptBytes_ = 0;
};

} // namespace orvane
