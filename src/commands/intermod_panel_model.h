#pragma once

#include "amplifier/amplifier_simulation.h"
#include "amplifier/amplifier_table.h"
#include "analysis/intermod_analysis.h"
#include "budget/transponder_budget.h"
#include "commands/amplifier_panel.h"
#include "commands/panel_charts.h"
#include "display/intermod_overlay.h"
#include "model/carrier_list.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The boxes of the intermodulation panel: the analysis's, the transponder budget's, the
// amplifier's.
enum class PanelBox {
    ip3,
    guard,
    warning,
    transponderMhz,
    saturatedPower,
    outputBackoff,
    saturatedCn0,
    inputBackoff,
    rappSmoothness,
};
inline constexpr int panelBoxCount = 9;

// What an edit asks for: nothing, new colours for the rows (the warning level changed), the
// budget worked out again, or work to run (an analysis, a simulation or a sweep) once typing
// pauses.
enum class PanelEditEffect { none, recolour, rebudget, rerun };

// A column of the table. Text columns sort by their text, the others by their cells' keys.
struct PanelColumn {
    std::string heading;
    bool sortsAsText = false;
    bool takesSpareWidth = false; // long text: the width the other columns leave goes to it
    bool amplifierOnly = false;   // shown only while an amplifier is simulated
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

// The boxes' texts and the amplifier as the user left them, kept between runs.
struct PanelSettings {
    std::string ip3Dbw; // empty: hits only
    std::string guardKhz = "0";
    std::string warningCimDb = "20";
    std::string transponderMhz; // empty: the view range's width
    std::string saturatedPowerDbw;
    std::string outputBackoffDb; // empty: the carriers' total below the saturated power
    std::string saturatedCn0DbHz;
    std::string amplifier = "ip3"; // panelAmplifierName
    std::string inputBackoffDb = "10";
    std::string rappSmoothness = "2";
    std::string amplifierTablePath;
};

// The panel analyses every plan, however long it takes (the user can stop it); beyond this
// estimate of evaluations (about a minute on two cores) it says how long the wait may be.
inline constexpr double longIntermodAnalysisEvaluations = defaultIntermodEvaluationBudget / 10.0;
// "A long analysis: about 3.1e+11 evaluations of products on carriers, some 16 minutes on two
// cores. ..."
std::string longAnalysisWarningText(double evaluations);

// The intermodulation panel without its widgets: the boxes' texts and what is wrong with them,
// the amplifier; the analysis, the amplifier simulation and its back-off sweep shown and
// whether the plan or the boxes have moved on since each was started; the transponder budget
// over them, and what the table, the summary lines, the charts, the picture's layer and the
// CSV file show of it all. The panel is a view over this; tests drive it directly.
class IntermodPanelModel {
public:
    // The boxes and the amplifier as the user left them; a measured amplifier's curve is read
    // from its path here.
    explicit IntermodPanelModel(const PanelSettings& settings);

    static const std::vector<PanelColumn>& columns();
    // Whether the table shows the column now.
    bool columnShown(std::size_t column) const;

    // The user typed into a box; its text is read again (a problem is kept for problem()).
    PanelEditEffect edit(PanelBox box, const std::string& text);
    const std::string& text(PanelBox box) const;
    // What is wrong with the box's text, to show beside it; empty when nothing is.
    const std::string& problem(PanelBox box) const;
    // The boxes' texts and the amplifier, to keep.
    PanelSettings settings() const;
    // The analysis the boxes ask for; none while the IP3 or guard box has a problem.
    std::optional<PanelInputs> inputs() const { return inputs_; }

    PanelAmplifier amplifier() const { return amplifier_; }
    PanelEditEffect chooseAmplifier(PanelAmplifier amplifier);
    // A measured curve as read from its file (also chooses the measured amplifier).
    PanelEditEffect useAmplifierTable(const std::string& path, const AmplifierTableRead& read);
    const std::string& amplifierTablePath() const { return tablePath_; }
    // What keeps the amplifier from being simulated (no curve, a curve refused); empty when
    // nothing does.
    const std::string& amplifierProblem() const { return amplifierProblem_; }
    // The simulation the amplifier and its boxes ask for; none for the ip3 choice and while a
    // box or the curve has a problem. The sweep takes the same options at its own back-offs.
    std::optional<SimulationOptions> simulationOptions() const;

    // The plan or its view changed: every result shown is out of date until a newer one comes.
    void planChanged();
    // Whether the boxes and the plan have changed since the last start of this work, and the
    // boxes allow it.
    bool analysisWanted() const;
    bool simulationWanted() const;
    bool sweepWanted() const;
    // Work of this plan (as the document holds it, view range included) with the current
    // inputs starts; only the latest one started ever finishes.
    void analysisStarted(const CarrierList& plan);
    // The analysis under way was estimated to take this many evaluations, more than
    // longIntermodAnalysisEvaluations.
    void analysisEstimated(double evaluations);
    void analysisFinished(std::shared_ptr<const IntermodAnalysis> analysis);
    void simulationStarted(const CarrierList& plan);
    void simulationFinished(std::shared_ptr<const AmplifierSimulation> simulation);
    void sweepStarted(const CarrierList& plan);
    void sweepFinished(std::shared_ptr<const BackoffSweep> sweep);
    // The user stopped the work under way: its results never come, and the next change (of
    // anything) starts it again.
    void workStopped();
    // How long the analysis under way or shown may take, when that is long; empty otherwise.
    const std::string& workWarning() const { return workWarning_; }

    const IntermodAnalysis* analysis() const { return analysis_.get(); }
    // The simulation shown while an amplifier is chosen; null otherwise.
    const AmplifierSimulation* simulation() const;
    // The result shown is older than the plan or the boxes (the simulation's while an amplifier
    // is chosen).
    bool stale() const;
    bool simulationStale() const;
    bool sweepStale() const;
    // The analysis's rows may name other carriers than the plan's by now.
    bool rowsOutdated() const { return !analysis_ || analysisRun_.shown[0] != planChanges_; }

    // The budget of the plan shown, with the C/IM of the simulation while an amplifier is
    // chosen, else the analysis's; none without an analysis.
    std::optional<TransponderBudget> budget() const;

    std::vector<PanelRow> rows() const;
    std::string summary() const;
    // The budget in a line: "power 83 % · bandwidth 61 % · power-limited · worst margin 1.2 dB
    // at F7"; empty without a budget.
    std::string budgetSummary() const;
    // The amplifier in a line ("Updating..." first while out of date); empty for ip3.
    std::string amplifierSummary() const;
    // Each carrier's power share against its bandwidth share.
    ShareChart shareChart() const;
    // The worst carrier against the input back-off; empty until a sweep is shown.
    BackoffChart backoffChart() const;
    // The carrier a double-click on the row of this F-number opens, or why none opens.
    struct RowOpening {
        std::optional<int> fNumber;
        std::string whyNot;
    };
    RowOpening openRow(int fNumber) const;
    // What the picture shows of the results: the hit carriers, the density curve and the
    // amplifier's output spectrum, grey while out of date; none without a result.
    std::shared_ptr<const IntermodOverlay> overlay() const;
    // The table as comma-separated text: comment lines naming the plan, the inputs, the
    // amplifier and the date, the header and a line per carrier with the budget's columns and
    // the amplifier's at its end; CR LF line ends, a line break of a label kept inside its
    // quotes. Empty without a result to save.
    std::string csv(const std::string& planTitle, const std::string& dateText) const;

private:
    struct Box {
        std::string text;
        std::string problem;
    };
    // What work depends on, counted: the plan's changes and its own inputs' changes. A result
    // is out of date while the key it was started with differs from the current one.
    using RunKey = std::array<unsigned long long, 3>;
    struct Run {
        std::optional<RunKey> started;
        RunKey shown{};
    };
    Box& box(PanelBox which) { return boxes_[static_cast<int>(which)]; }
    const Box& box(PanelBox which) const { return boxes_[static_cast<int>(which)]; }
    void readBoxes();
    void readAmplifier();
    RunKey analysisKey() const { return {planChanges_, analysisChanges_, 0}; }
    RunKey simulationKey() const { return {planChanges_, amplifierChanges_, operatingPoints_}; }
    RunKey sweepKey() const { return {planChanges_, amplifierChanges_, 0}; }
    std::vector<CarrierInterference> interference() const;

    Box boxes_[panelBoxCount];
    std::optional<PanelInputs> inputs_;
    double warningCimDb_ = 20.0;
    BudgetInputs budgetInputs_;
    PanelAmplifier amplifier_ = PanelAmplifier::ip3;
    std::optional<double> inputBackoffDb_;
    std::optional<double> rappSmoothness_;
    std::string tablePath_;
    std::optional<AmplifierTable> table_;
    std::string tableProblem_;
    std::string amplifierProblem_;

    std::shared_ptr<const IntermodAnalysis> analysis_;
    std::shared_ptr<const AmplifierSimulation> simulation_;
    std::shared_ptr<const BackoffSweep> sweep_;
    // The sorted plans of the work under way and of that shown.
    CarrierList analysisStartedPlan_;
    CarrierList shownPlan_;
    CarrierList sweepStartedPlan_;
    CarrierList sweepPlan_;
    unsigned long long planChanges_ = 0;
    unsigned long long analysisChanges_ = 0;
    unsigned long long amplifierChanges_ = 0;
    unsigned long long operatingPoints_ = 0;
    Run analysisRun_;
    Run simulationRun_;
    Run sweepRun_;
    bool stopped_ = false;
    std::string workWarning_;
};

} // namespace orvane
