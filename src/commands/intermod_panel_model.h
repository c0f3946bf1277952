#pragma once

#include "analysis/intermod_analysis.h"
#include "budget/transponder_budget.h"
#include "commands/panel_charts.h"
#include "display/intermod_overlay.h"
#include "model/carrier_list.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The boxes of the intermodulation panel: the analysis's, then the transponder budget's.
enum class PanelBox {
    ip3,
    guard,
    warning,
    transponderMhz,
    saturatedPower,
    outputBackoff,
    saturatedCn0,
};
inline constexpr int panelBoxCount = 7;

// What an edit of a box asks for: nothing, new colours for the rows (the warning level
// changed), the budget worked out again, or a new analysis (the intercept point or the guard
// changed).
enum class PanelEditEffect { none, recolour, rebudget, reanalyse };

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

// How a row is marked, the strongest mark first when several apply.
enum class RowMark { none, negativeMargin, belowWarning, incomplete };

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

// The boxes' texts as the user left them, kept between runs.
struct PanelSettings {
    std::string ip3Dbw; // empty: hits only
    std::string guardKhz = "0";
    std::string warningCimDb = "20";
    std::string transponderMhz; // empty: the view range's width
    std::string saturatedPowerDbw;
    std::string outputBackoffDb; // empty: the carriers' total below the saturated power
    std::string saturatedCn0DbHz;
};

// The intermodulation panel without its widgets: the boxes' texts and what is wrong with them,
// the analysis shown and whether the plan or the boxes have moved on since, the transponder
// budget over it, and what the table, the summary lines, the chart, the picture's layer and
// the CSV file show of them. The panel is a view over this; tests drive it directly.
class IntermodPanelModel {
public:
    explicit IntermodPanelModel(const PanelSettings& settings);

    static const std::vector<PanelColumn>& columns();

    // The user typed into a box; its text is read again (a problem is kept for problem()).
    PanelEditEffect edit(PanelBox box, const std::string& text);
    const std::string& text(PanelBox box) const;
    // What is wrong with the box's text, to show beside it; empty when nothing is.
    const std::string& problem(PanelBox box) const;
    // The boxes' texts, to keep.
    PanelSettings settings() const;
    // The analysis the boxes ask for; none while the IP3 or guard box has a problem.
    std::optional<PanelInputs> inputs() const { return inputs_; }
    double warningCimDb() const { return warningCimDb_; }
    // The budget's inputs: those of the last time every budget box was accepted.
    const BudgetInputs& budgetInputs() const { return budgetInputs_; }

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

    // The budget of the plan shown, with the C/IM of the analysis; none without a result.
    std::optional<TransponderBudget> budget() const;

    std::vector<PanelRow> rows() const;
    std::string summary() const;
    // The budget in a line: "power 83 % · bandwidth 61 % · power-limited · worst margin 1.2 dB
    // at F7"; empty without a budget.
    std::string budgetSummary() const;
    // Each carrier's power share against its bandwidth share.
    ShareChart shareChart() const;
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
    // date, the header and a line per carrier with the budget's columns at its end; CR LF line
    // ends, a line break of a label kept inside its quotes. Empty without a result to save.
    std::string csv(const std::string& planTitle, const std::string& dateText) const;

private:
    struct Box {
        std::string text;
        std::string problem;
    };
    Box& box(PanelBox which) { return boxes_[static_cast<int>(which)]; }
    const Box& box(PanelBox which) const { return boxes_[static_cast<int>(which)]; }
    void readBoxes();

    Box boxes_[panelBoxCount];
    std::optional<PanelInputs> inputs_;
    double warningCimDb_ = 20.0;
    BudgetInputs budgetInputs_;
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
