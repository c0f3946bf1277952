#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"
#include "placement/placement.h"

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

// The boxes of the Arrange Carriers dialog, in the order it reads them.
enum class ArrangeBox { bandLow, bandHigh, raster, spacing, ip3, guard, effort };
inline constexpr int arrangeBoxCount = 7;

enum class RangeEnd { low, high };

// A carrier as the dialog lists it, by F-number (the plan sorted by frequency, as the analysis
// and the report number it).
struct ArrangeCarrierRow {
    int fNumber = 0;
    std::string label; // line breaks kept as TABs
    double centreMhz = 0.0;
    bool locked = false;
    std::optional<double> proposedMhz; // its new centre, when the result shown moves it
};

// An entry the placement cannot take: where to put the focus and what to tell the user. A
// forbidden range's box is named by its row and end; the other boxes by box.
struct ArrangeEntryProblem {
    ArrangeBox box = ArrangeBox::bandLow;
    std::optional<int> forbiddenRow;
    RangeEnd end = RangeEnd::low;
    std::string text;
};

// One placement to run away from the user interface: a copy of the plan and the options.
struct ArrangeRun {
    unsigned long long id = 0;
    CarrierList plan;
    PlacementOptions options;
};

// A line of the before-and-after table.
struct ArrangeFigure {
    std::string name;
    std::string before;
    std::string after;
};

// What the dialog's picture shows: a plan drawn with these settings (the view is the band),
// the carriers outlined (places in that plan: those the proposal moves) and the occupied
// bands that products hit.
struct ArrangePicture {
    std::string caption; // what it shows, in a line above it
    const CarrierList* plan = nullptr;
    DisplaySettings settings;
    std::vector<int> outlined;
    std::vector<std::pair<double, double>> hitBandsMhz;
};

// The Arrange Carriers dialog without its widgets: the entries and what is wrong with them,
// the placement they ask for, the state of the latest run, the before-and-after figures and
// the proposal to apply. The dialog is a view over this; tests drive it directly.
class ArrangeModel {
public:
    // The band starts as the view range, IP3 and guard as the analysis panel's boxes hold
    // them; raster and spacing 0, effort 1, no forbidden range and nothing locked.
    ArrangeModel(const CarrierList& plan, const DisplaySettings& display,
                 const std::string& ip3Text, const std::string& guardText);

    const std::string& text(ArrangeBox box) const;
    void setText(ArrangeBox box, std::string text);

    int forbiddenCount() const { return static_cast<int>(entries_.forbidden.size()); }
    const std::string& forbiddenText(int row, RangeEnd end) const;
    void setForbiddenText(int row, RangeEnd end, std::string text);
    void addForbidden(); // an empty range at the end; an empty range counts as none
    void removeForbidden(int row);

    const std::vector<ArrangeCarrierRow>& carriers() const { return rows_; }
    void setLocked(int fNumber, bool locked);

    // The entries as placement options, or the first entry that cannot be taken. An empty
    // raster, spacing or guard is 0, an empty IP3 none (products hitting only), an empty
    // effort 1.
    struct Reading {
        std::optional<PlacementOptions> options;
        std::optional<ArrangeEntryProblem> problem;
    };
    Reading read() const;

    // Run: the placement to start; none when an entry cannot be taken (problem set) or when
    // the placement refuses these entries at once (the status gives its reason).
    struct Start {
        std::optional<ArrangeRun> run;
        std::optional<ArrangeEntryProblem> problem;
    };
    Start startRun();
    // The run's result, or the text of the failure it ended in. Only the latest run counts.
    void finishRun(unsigned long long id, PlacementResult result);
    void failRun(unsigned long long id, std::string text);
    bool running() const { return running_; }

    // A line on what to do next or what the latest run came to.
    std::string status() const;
    // Lowest C/IM, products hitting and hits before and after; empty without a proposal.
    std::vector<ArrangeFigure> figures() const;
    // The proposal Apply takes: the plan in its own order with new centres. None while a run
    // is under way, when the latest run moved nothing, and when the entries have changed since.
    const CarrierList* proposal() const;
    ArrangePicture picture() const;

private:
    struct Entries {
        std::array<std::string, arrangeBoxCount> boxes;
        std::vector<std::array<std::string, 2>> forbidden;
        std::vector<bool> locked; // by F-number - 1
        bool operator==(const Entries& other) const
        {
            return boxes == other.boxes && forbidden == other.forbidden && locked == other.locked;
        }
    };
    enum class Outcome { refused, failed, cancelled, placed };
    struct Shown {
        Outcome outcome = Outcome::refused;
        std::string text;
        Entries entries; // as they were when it was asked for
        PlacementResult result;
        PlacementOptions options;
    };
    bool placedCurrent() const;
    void show(Shown shown);

    CarrierList plan_;
    DisplaySettings display_;
    Entries entries_;
    std::vector<ArrangeCarrierRow> rows_;
    std::optional<Shown> shown_;
    Entries runEntries_;
    PlacementOptions runOptions_;
    unsigned long long runId_ = 0;
    bool running_ = false;
};

// The placement of a run, stopped through cancel and telling progress (0..1) when given.
PlacementResult placeArrangement(const ArrangeRun& run, const std::atomic<bool>* cancel,
                                 std::function<void(double)> progress);

} // namespace orvane
