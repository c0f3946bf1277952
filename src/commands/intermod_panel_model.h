#pragma once

#include "analysis/intermod_analysis.h"
#include "display/intermod_overlay.h"
#include "model/carrier_list.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The boxes above the intermodulation panel's table.
enum class PanelBox { ip3, guard, warning };

// What an edit of a box asks for: nothing, new colours for the rows (the warning level
// changed), or a new analysis (the intercept point or the guard changed).
enum class PanelEditEffect { none, recolour, reanalyse };

// A column of the table. Text columns sort by their text, the others by their cells' keys.
struct PanelColumn {
    std::string heading;
    bool sortsAsText = false;
    bool takesSpareWidth = false; // long text: the width the other columns leave goes to it
};

struct PanelCell {
    std::string text;
    double sortKey = 0.0;
};

enum class RowMark { none, belowWarning, incomplete };

// One carrier's row: a cell per column, how it is marked and what the mark means.
struct PanelRow {
    int fNumber = 0;
    std::vector<PanelCell> cells;
    RowMark mark = RowMark::none;
    std::string note;
};

// What the boxes ask of the analysis.
struct PanelInputs {
    std::optional<double> ip3Dbw; // none: hits only
    double guardKhz = 0.0;
};

// The problem with an intercept point or a guard the analysis does not take; empty when it is
// accepted. IP3 lies within +-1000 dBW, the guard within 0 to 1,000,000 kHz.
std::string panelInputProblem(PanelBox box, double value);

// The intermodulation panel without its widgets: the boxes' texts and what is wrong with them,
// the analysis shown and whether the plan or the boxes have moved on since, and what the table,
// the summary line, the picture's layer and the CSV file show of it. The panel is a view over
// this; tests drive it directly.
class IntermodPanelModel {
public:
    // The boxes as the user left them (kept between runs).
    IntermodPanelModel(std::string ip3Text, std::string guardText, std::string warningText);

    static const std::vector<PanelColumn>& columns();

    // The user typed into a box; its text is read again (a problem is kept for problem()).
    PanelEditEffect edit(PanelBox box, const std::string& text);
    const std::string& text(PanelBox box) const;
    // What is wrong with the box's text, to show beside it; empty when nothing is.
    const std::string& problem(PanelBox box) const;
    // The analysis the boxes ask for; none while the IP3 or guard box has a problem.
    std::optional<PanelInputs> inputs() const { return inputs_; }
    double warningCimDb() const { return warningCimDb_; }

    // The plan or its view changed: the result shown is out of date until a newer one comes.
    void planChanged();
    // An analysis of this plan (as the document holds it) with the current inputs starts.
    void analysisStarted(const CarrierList& plan);
    // The analysis started last has finished; it is shown from now on.
    void analysisFinished(std::shared_ptr<const IntermodAnalysis> analysis);

    const IntermodAnalysis* analysis() const { return analysis_.get(); }
    // The result shown is older than the plan or the boxes.
    bool stale() const { return !analysis_ || shownChange_ != changes_; }
    // Its rows may name other carriers than the plan's by now.
    bool rowsOutdated() const { return !analysis_ || shownPlanChange_ != planChanges_; }

    std::vector<PanelRow> rows() const;
    std::string summary() const;
    // The carrier a double-click on the row of this F-number opens, or why none opens.
    struct RowOpening {
        std::optional<int> fNumber;
        std::string whyNot;
    };
    RowOpening openRow(int fNumber) const;
    // What the picture shows of the result: the hit carriers and the density curve, grey while
    // out of date; none without a result.
    std::shared_ptr<const IntermodOverlay> overlay() const;
    // The table as comma-separated text: comment lines naming the plan, the inputs and the
    // date, the header and a line per carrier; CR LF line ends, a line break of a label kept
    // inside its quotes. Empty without a result to save.
    std::string csv(const std::string& planTitle, const std::string& dateText) const;

private:
    struct Box {
        std::string text;
        std::string problem;
    };
    Box& box(PanelBox which) { return boxes_[static_cast<int>(which)]; }
    const Box& box(PanelBox which) const { return boxes_[static_cast<int>(which)]; }
    void readBoxes();

    Box boxes_[3];
    std::optional<PanelInputs> inputs_;
    double warningCimDb_ = 20.0;
    std::shared_ptr<const IntermodAnalysis> analysis_;
    // The sorted plans of the analysis under way and of the one shown, for the hit bands.
    CarrierList startedPlan_;
    CarrierList shownPlan_;
    // Changes counted so that a result started before the latest change shows as out of date.
    unsigned long long changes_ = 0;
    unsigned long long planChanges_ = 0;
    unsigned long long startedChange_ = 0;
    unsigned long long startedPlanChange_ = 0;
    unsigned long long shownChange_ = 0;
    unsigned long long shownPlanChange_ = 0;
};

} // namespace orvane
