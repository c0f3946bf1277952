#include "commands/intermod_panel_model.h"

#include "analysis/intermod_input.h"
#include "budget/budget_summary.h"
#include "budget/carrier_interference.h"
#include "commands/amplifier_panel.h"
#include "model/entry_text.h"
#include "model/number_text.h"
#include "report/budget_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

namespace orvane {

namespace {

constexpr double noValue = std::numeric_limits<double>::infinity();
// The amplifier's output spectrum is drawn with about this many points across the view.
constexpr int spectrumPointCount = 512;
const char* const lessOrEqual = "\u2264 ";

std::string decibels(double value)
{
    return formatFixed(value, 0, 2);
}

// An incomplete carrier's C/IM leaves out the products without a level: at most this much.
std::string cimText(const CarrierIntermod& carrier)
{
    if (!carrier.cimDb)
        return {};
    const bool incomplete = carrier.complete && !*carrier.complete;
    return (incomplete ? lessOrEqual : "") + decibels(*carrier.cimDb);
}

std::string strongestText(const CarrierIntermod& carrier)
{
    if (!carrier.strongest)
        return {};
    std::string text =
        carrier.strongest->label + " at " + formatFixed(carrier.strongest->frequencyMhz, 0, 5);
    if (carrier.strongest->powerDbw)
        text += ", " + decibels(*carrier.strongest->powerDbw) + " dBW";
    return text;
}

// A budget figure to so many decimals ("≤" before an upper bound), sorting after every number
// when there is none.
PanelCell figureCell(const std::optional<double>& value, int decimals, bool upperBound = false)
{
    if (!value)
        return {{}, noValue};
    return {(upperBound ? lessOrEqual : "") + formatFixed(*value, 0, decimals), *value};
}

std::vector<PanelCell> budgetCells(const CarrierBudget* carrier)
{
    if (!carrier)
        return std::vector<PanelCell>(7, PanelCell{{}, noValue});
    return {figureCell(carrier->powerSharePct, 1),
            figureCell(carrier->bandwidthSharePct, 1),
            figureCell(carrier->pebMhz, 3),
            figureCell(carrier->esN0Db, 2),
            figureCell(carrier->cnimDb, 2, carrier->upperBound),
            figureCell(carrier->requiredEsN0Db, 2),
            figureCell(carrier->marginDb, 2, carrier->upperBound)};
}

// The amplifier's cells: its C/IM and the carrier's compression, to two decimals.
std::vector<PanelCell> amplifierCells(const SimulatedCarrier* carrier)
{
    if (!carrier)
        return std::vector<PanelCell>(2, PanelCell{{}, noValue});
    return {figureCell(carrier->cimDb, 2), figureCell(carrier->compressionDb, 2)};
}

std::string oneLine(std::string text, const std::string& lineBreak)
{
    for (auto tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab))
        text.replace(tab, 1, lineBreak), tab += lineBreak.size();
    return text;
}

} // namespace

std::string longAnalysisWarningText(double evaluations)
{
    // The default budget is about ten minutes on two cores.
    const double minutes = evaluations / defaultIntermodEvaluationBudget * 10.0;
    return "A long analysis: about " + formatGeneral(evaluations, 2) +
           " evaluations of products on carriers, some " +
           (minutes < 90.0 ? formatFixed(minutes, 0, 0) + " minutes"
                           : formatFixed(minutes / 60.0, 0, 0) + " hours") +
           " on two cores. It runs in the background; Stop ends it.";
}

IntermodPanelModel::IntermodPanelModel(const PanelSettings& settings)
{
    box(PanelBox::ip3).text = settings.ip3Dbw;
    box(PanelBox::guard).text = settings.guardKhz;
    box(PanelBox::warning).text = settings.warningCimDb;
    box(PanelBox::transponderMhz).text = settings.transponderMhz;
    box(PanelBox::saturatedPower).text = settings.saturatedPowerDbw;
    box(PanelBox::outputBackoff).text = settings.outputBackoffDb;
    box(PanelBox::saturatedCn0).text = settings.saturatedCn0DbHz;
    box(PanelBox::inputBackoff).text = settings.inputBackoffDb;
    box(PanelBox::rappSmoothness).text = settings.rappSmoothness;
    amplifier_ = panelAmplifierNamed(settings.amplifier);
    tablePath_ = settings.amplifierTablePath;
    if (!tablePath_.empty()) {
        AmplifierTableRead read = loadAmplifierTable(tablePath_);
        table_ = std::move(read.table);
        tableProblem_ = std::move(read.problem);
    }
    readBoxes();
}

PanelSettings IntermodPanelModel::settings() const
{
    PanelSettings settings;
    settings.ip3Dbw = text(PanelBox::ip3);
    settings.guardKhz = text(PanelBox::guard);
    settings.warningCimDb = text(PanelBox::warning);
    settings.transponderMhz = text(PanelBox::transponderMhz);
    settings.saturatedPowerDbw = text(PanelBox::saturatedPower);
    settings.outputBackoffDb = text(PanelBox::outputBackoff);
    settings.saturatedCn0DbHz = text(PanelBox::saturatedCn0);
    settings.amplifier = std::string(panelAmplifierName(amplifier_));
    settings.inputBackoffDb = text(PanelBox::inputBackoff);
    settings.rappSmoothness = text(PanelBox::rappSmoothness);
    settings.amplifierTablePath = tablePath_;
    return settings;
}

const std::vector<PanelColumn>& IntermodPanelModel::columns()
{
    static const std::vector<PanelColumn> all{{"F#", false, false, false},
                                              {"Label", true, true, false},
                                              {"Centre (MHz)", false, false, false},
                                              {"C/IM (dB)", false, false, false},
                                              {"Amplifier C/IM (dB)", false, false, true},
                                              {"Compression (dB)", false, false, true},
                                              {"Hits 2-tone", false, false, false},
                                              {"Hits 3-tone", false, false, false},
                                              {"Power (%)", false, false, false},
                                              {"Bandwidth (%)", false, false, false},
                                              {"PEB (MHz)", false, false, false},
                                              {"Es/N0 (dB)", false, false, false},
                                              {"C/(N+IM) (dB)", false, false, false},
                                              {"Required (dB)", false, false, false},
                                              {"Margin (dB)", false, false, false},
                                              {"Strongest product", false, true, false}};
    return all;
}

bool IntermodPanelModel::columnShown(std::size_t column) const
{
    return column < columns().size() &&
           (!columns()[column].amplifierOnly || amplifier_ != PanelAmplifier::ip3);
}

void IntermodPanelModel::readBoxes()
{
    std::optional<double> values[panelBoxCount];
    for (int which = 0; which < panelBoxCount; ++which) {
        Box& box = boxes_[which];
        box.problem.clear();
        if (box.text.find_first_not_of(" \t") == std::string::npos)
            continue;
        values[which] = readEntryNumber(box.text);
        if (!values[which])
            box.problem = "Not a number";
    }
    const auto value = [&values](PanelBox which) { return values[static_cast<int>(which)]; };
    const auto refuse = [this](PanelBox which, const std::optional<std::string>& problem) {
        if (problem)
            box(which).problem = *problem;
    };
    // The core's own limits, one box at a time.
    if (value(PanelBox::ip3))
        refuse(PanelBox::ip3, intermodInputProblem(value(PanelBox::ip3), 0.0));
    if (value(PanelBox::guard))
        refuse(PanelBox::guard, intermodInputProblem(std::nullopt, *value(PanelBox::guard)));
    if (value(PanelBox::transponderMhz) && !(*value(PanelBox::transponderMhz) > 0.0))
        box(PanelBox::transponderMhz).problem = "The transponder bandwidth must be above 0 MHz.";
    const std::optional<double> ibo = value(PanelBox::inputBackoff);
    if (ibo && !(*ibo >= lowestInputBackoffDb && *ibo <= highestInputBackoffDb))
        box(PanelBox::inputBackoff).problem = "The input back-off must lie between " +
                                              formatGeneral(lowestInputBackoffDb) + " and " +
                                              formatGeneral(highestInputBackoffDb) + " dB.";
    if (value(PanelBox::rappSmoothness)) {
        AmplifierModel rapp;
        rapp.kind = AmplifierKind::rapp;
        rapp.rappSmoothness = *value(PanelBox::rappSmoothness);
        refuse(PanelBox::rappSmoothness, amplifierModelProblem(rapp));
    }

    if (problem(PanelBox::ip3).empty() && problem(PanelBox::guard).empty())
        inputs_ = PanelInputs{value(PanelBox::ip3), value(PanelBox::guard).value_or(0.0)};
    else
        inputs_.reset();
    // The last good warning level stays while the box holds something else; empty: no level.
    if (problem(PanelBox::warning).empty())
        warningCimDb_ = value(PanelBox::warning).value_or(-noValue);
    // The budget too keeps the inputs it had until every one of its boxes is accepted.
    const PanelBox budgetBoxes[] = {PanelBox::transponderMhz, PanelBox::saturatedPower,
                                    PanelBox::outputBackoff, PanelBox::saturatedCn0};
    if (std::all_of(std::begin(budgetBoxes), std::end(budgetBoxes),
                    [this](PanelBox which) { return problem(which).empty(); }))
        budgetInputs_ = {value(PanelBox::transponderMhz), value(PanelBox::saturatedPower),
                         value(PanelBox::outputBackoff), value(PanelBox::saturatedCn0)};
    // Empty amplifier boxes take the simulation's defaults.
    inputBackoffDb_ = problem(PanelBox::inputBackoff).empty()
                          ? std::optional<double>(ibo.value_or(SimulationOptions().inputBackoffDb))
                          : std::nullopt;
    rappSmoothness_ =
        problem(PanelBox::rappSmoothness).empty()
            ? std::optional<double>(
                  value(PanelBox::rappSmoothness).value_or(AmplifierModel().rappSmoothness))
            : std::nullopt;
    readAmplifier();
}

void IntermodPanelModel::readAmplifier()
{
    amplifierProblem_.clear();
    if (amplifier_ != PanelAmplifier::table)
        return;
    if (tablePath_.empty())
        amplifierProblem_ = "Choose the file of the measured curve.";
    else if (!table_)
        amplifierProblem_ = tableProblem_;
}

PanelEditEffect IntermodPanelModel::edit(PanelBox which, const std::string& text)
{
    if (box(which).text == text)
        return PanelEditEffect::none;
    const std::optional<PanelInputs> inputsBefore = inputs_;
    const double warningBefore = warningCimDb_;
    const BudgetInputs budgetBefore = budgetInputs_;
    const std::optional<double> iboBefore = inputBackoffDb_;
    const std::optional<double> smoothnessBefore = rappSmoothness_;
    box(which).text = text;
    readBoxes();
    const auto same = [](const std::optional<PanelInputs>& a, const std::optional<PanelInputs>& b) {
        return a.has_value() == b.has_value() &&
               (!a || (a->ip3Dbw == b->ip3Dbw && a->guardKhz == b->guardKhz));
    };
    if (!same(inputs_, inputsBefore)) {
        ++analysisChanges_;
        return PanelEditEffect::rerun;
    }
    if (inputBackoffDb_ != iboBefore) {
        ++operatingPoints_;
        return PanelEditEffect::rerun;
    }
    if (rappSmoothness_ != smoothnessBefore) {
        ++amplifierChanges_;
        return amplifier_ == PanelAmplifier::solidState ? PanelEditEffect::rerun
                                                        : PanelEditEffect::none;
    }
    const BudgetInputs& now = budgetInputs_;
    if (now.transponderBandwidthMhz != budgetBefore.transponderBandwidthMhz ||
        now.saturatedPowerDbw != budgetBefore.saturatedPowerDbw ||
        now.outputBackoffDb != budgetBefore.outputBackoffDb ||
        now.saturatedCn0DbHz != budgetBefore.saturatedCn0DbHz)
        return PanelEditEffect::rebudget;
    return warningCimDb_ != warningBefore ? PanelEditEffect::recolour : PanelEditEffect::none;
}

const std::string& IntermodPanelModel::text(PanelBox which) const
{
    return box(which).text;
}

const std::string& IntermodPanelModel::problem(PanelBox which) const
{
    return box(which).problem;
}

PanelEditEffect IntermodPanelModel::chooseAmplifier(PanelAmplifier amplifier)
{
    if (amplifier == amplifier_)
        return PanelEditEffect::none;
    amplifier_ = amplifier;
    ++amplifierChanges_;
    readAmplifier();
    return PanelEditEffect::rerun;
}

PanelEditEffect IntermodPanelModel::useAmplifierTable(const std::string& path,
                                                      const AmplifierTableRead& read)
{
    tablePath_ = path;
    table_ = read.table;
    tableProblem_ = read.problem;
    amplifier_ = PanelAmplifier::table;
    ++amplifierChanges_;
    readAmplifier();
    return PanelEditEffect::rerun;
}

std::optional<SimulationOptions> IntermodPanelModel::simulationOptions() const
{
    if (amplifier_ == PanelAmplifier::ip3 || !amplifierProblem_.empty() || !inputBackoffDb_ ||
        !rappSmoothness_)
        return std::nullopt;
    SimulationOptions options;
    options.inputBackoffDb = *inputBackoffDb_;
    AmplifierModel& model = options.amplifier;
    model.kind = amplifier_ == PanelAmplifier::tube         ? AmplifierKind::saleh
                 : amplifier_ == PanelAmplifier::solidState ? AmplifierKind::rapp
                                                            : AmplifierKind::table;
    model.rappSmoothness = *rappSmoothness_;
    if (table_)
        model.table = *table_;
    return options;
}

void IntermodPanelModel::planChanged()
{
    ++planChanges_;
}

bool IntermodPanelModel::analysisWanted() const
{
    return inputs_ && analysisRun_.started != analysisKey();
}

bool IntermodPanelModel::simulationWanted() const
{
    return simulationOptions() && simulationRun_.started != simulationKey();
}

bool IntermodPanelModel::sweepWanted() const
{
    return simulationOptions() && sweepRun_.started != sweepKey();
}

void IntermodPanelModel::analysisStarted(const CarrierList& plan)
{
    analysisStartedPlan_ = plan;
    analysisStartedPlan_.sortByFrequency();
    analysisRun_.started = analysisKey();
    stopped_ = false;
    workWarning_.clear();
}

void IntermodPanelModel::analysisEstimated(double evaluations)
{
    workWarning_ = longAnalysisWarningText(evaluations);
}

void IntermodPanelModel::workStopped()
{
    for (Run* run : {&analysisRun_, &simulationRun_, &sweepRun_})
        if (run->started && *run->started != run->shown)
            run->started.reset();
    stopped_ = true;
    workWarning_.clear();
}

void IntermodPanelModel::analysisFinished(std::shared_ptr<const IntermodAnalysis> analysis)
{
    analysis_ = std::move(analysis);
    shownPlan_ = analysisStartedPlan_;
    analysisRun_.shown = analysisRun_.started.value_or(RunKey{});
}

void IntermodPanelModel::simulationStarted(const CarrierList&)
{
    simulationRun_.started = simulationKey();
    stopped_ = false;
}

void IntermodPanelModel::simulationFinished(std::shared_ptr<const AmplifierSimulation> simulation)
{
    simulation_ = std::move(simulation);
    simulationRun_.shown = simulationRun_.started.value_or(RunKey{});
}

void IntermodPanelModel::sweepStarted(const CarrierList& plan)
{
    sweepStartedPlan_ = plan;
    sweepStartedPlan_.sortByFrequency();
    sweepRun_.started = sweepKey();
    stopped_ = false;
}

void IntermodPanelModel::sweepFinished(std::shared_ptr<const BackoffSweep> sweep)
{
    sweep_ = std::move(sweep);
    sweepPlan_ = sweepStartedPlan_;
    sweepRun_.shown = sweepRun_.started.value_or(RunKey{});
}

const AmplifierSimulation* IntermodPanelModel::simulation() const
{
    return amplifier_ != PanelAmplifier::ip3 ? simulation_.get() : nullptr;
}

bool IntermodPanelModel::simulationStale() const
{
    return !simulation_ || simulationRun_.shown != simulationKey();
}

bool IntermodPanelModel::sweepStale() const
{
    return !sweep_ || sweepRun_.shown != sweepKey();
}

bool IntermodPanelModel::stale() const
{
    return !analysis_ || analysisRun_.shown != analysisKey() ||
           (amplifier_ != PanelAmplifier::ip3 && simulationStale());
}

std::vector<CarrierInterference> IntermodPanelModel::interference() const
{
    if (amplifier_ == PanelAmplifier::ip3)
        return interferenceFromAnalysis(*analysis_);
    // One model of each truth: with an amplifier, its C/IM (none before it is simulated).
    if (!simulation_ || simulation_->refusal)
        return {};
    return interferenceFromSimulation(simulation_->carriers);
}

std::optional<TransponderBudget> IntermodPanelModel::budget() const
{
    if (!analysis_ || analysis_->refusal)
        return std::nullopt;
    return computeTransponderBudget(shownPlan_, budgetInputs_, interference());
}

std::vector<PanelRow> IntermodPanelModel::rows() const
{
    std::vector<PanelRow> rows;
    if (!analysis_ || analysis_->refusal)
        return rows;
    const std::optional<TransponderBudget> budget = this->budget();
    const AmplifierSimulation* simulated =
        simulation() && !simulation()->refusal ? simulation() : nullptr;
    for (const CarrierIntermod& carrier : analysis_->carriers) {
        PanelRow row;
        row.fNumber = carrier.fNumber;
        const std::size_t index = static_cast<std::size_t>(carrier.fNumber - 1);
        const SimulatedCarrier* amplified =
            simulated && index < simulated->carriers.size() ? &simulated->carriers[index] : nullptr;
        row.cells = {{"F" + formatInteger(carrier.fNumber), static_cast<double>(carrier.fNumber)},
                     {oneLine(carrier.label, " "), 0.0},
                     {formatFixed(carrier.centreFrequencyMhz, 0, 5), carrier.centreFrequencyMhz},
                     {cimText(carrier), carrier.cimDb ? *carrier.cimDb : noValue}};
        for (PanelCell& cell : amplifierCells(amplified))
            row.cells.push_back(std::move(cell));
        row.cells.push_back(
            {formatInteger(carrier.twoToneHits), static_cast<double>(carrier.twoToneHits)});
        row.cells.push_back(
            {formatInteger(carrier.threeToneHits), static_cast<double>(carrier.threeToneHits)});
        const CarrierBudget* carried =
            budget && index < budget->carriers.size() ? &budget->carriers[index] : nullptr;
        for (PanelCell& cell : budgetCells(carried))
            row.cells.push_back(std::move(cell));
        // The long text last, where the width left over goes.
        row.cells.push_back(
            {strongestText(carrier), carrier.strongest && carrier.strongest->powerDbw
                                         ? *carrier.strongest->powerDbw
                                         : -noValue});

        // The warning applies to the C/IM the budget takes: the amplifier's when there is one.
        const std::optional<double> cimDb = amplifier_ == PanelAmplifier::ip3
                                                ? carrier.cimDb
                                                : (amplified ? amplified->cimDb : std::nullopt);
        const bool negative = carried && carried->marginDb && *carried->marginDb < 0.0;
        const bool below = cimDb && *cimDb < warningCimDb_;
        const bool incomplete =
            amplifier_ == PanelAmplifier::ip3 && carrier.complete && !*carrier.complete;
        std::vector<std::string> notes;
        if (negative)
            notes.push_back("Margin below 0 dB: the link does not close.");
        if (below)
            notes.push_back("C/IM below " + decibels(warningCimDb_) + " dB.");
        if (incomplete)
            notes.push_back("A product without a level hits this carrier: its C/IM leaves that "
                            "product out and is an upper bound.");
        for (const std::string& note : notes)
            row.note += (row.note.empty() ? "" : "\n") + note;
        row.mark = negative     ? RowMark::negativeMargin
                   : below      ? RowMark::belowWarning
                   : incomplete ? RowMark::incomplete
                                : RowMark::none;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string IntermodPanelModel::summary() const
{
    std::string shown;
    if (!analysis_) {
        shown = "";
    } else if (analysis_->refusal) {
        shown = *analysis_->refusal;
    } else if (analysis_->carriers.empty()) {
        shown = "No carriers.";
    } else {
        shown = formatInteger(analysis_->products) + " products, " +
                formatInteger(analysis_->productsHitting) + " of them hit a carrier.";
        if (!analysis_->ip3Dbw)
            shown += " No intercept point: hits only.";
        else if (analysis_->minCimDb && analysis_->worstCarrier)
            shown += std::string(" Lowest C/IM ") +
                     (analysis_->minCimComplete == false ? lessOrEqual : "") +
                     decibels(*analysis_->minCimDb) + " dB, at F" +
                     formatInteger(*analysis_->worstCarrier) + ".";
    }
    if (analysis_ && analysisRun_.shown == analysisKey())
        return shown;
    const std::string state = stopped_  ? "Stopped: a change starts it again."
                              : inputs_ ? "Updating..."
                                        : "Not updated: an entry is not accepted.";
    return shown.empty() ? state : state + " Shown: " + shown;
}

std::string IntermodPanelModel::budgetSummary() const
{
    const std::optional<TransponderBudget> budget = this->budget();
    return budget ? budgetSummaryText(*budget) : std::string();
}

std::string IntermodPanelModel::amplifierSummary() const
{
    if (amplifier_ == PanelAmplifier::ip3)
        return {};
    if (!amplifierProblem_.empty())
        return panelAmplifierCaption(amplifier_) + ": " + amplifierProblem_;
    const std::string shown = simulation_ ? simulationSummaryText(amplifier_, *simulation_) : "";
    if (!simulationStale())
        return shown;
    const std::string state = stopped_              ? "Stopped: a change starts it again."
                              : simulationOptions() ? "Simulating..."
                                                    : "Not simulated: an entry is not accepted.";
    return shown.empty() ? state : state + " Shown: " + shown;
}

ShareChart IntermodPanelModel::shareChart() const
{
    const std::optional<TransponderBudget> budget = this->budget();
    return budget ? orvane::shareChart(*budget) : ShareChart();
}

BackoffChart IntermodPanelModel::backoffChart() const
{
    if (!sweep_ || amplifier_ == PanelAmplifier::ip3)
        return {};
    return orvane::backoffChart(*sweep_, sweepPlan_, budgetInputs_.saturatedCn0DbHz,
                                AmplifierModel().saturatedOutputDbw, inputBackoffDb_);
}

IntermodPanelModel::RowOpening IntermodPanelModel::openRow(int fNumber) const
{
    if (rowsOutdated())
        return {std::nullopt, inputs_ ? "The table is being updated for the changed plan: its "
                                        "rows may name other carriers until it is."
                                      : "The table shows the plan before its last change: "
                                        "correct the entry beside the boxes to update it."};
    if (fNumber < 1 || fNumber > shownPlan_.count())
        return {std::nullopt, "The plan has no carrier F" + formatInteger(fNumber) + "."};
    return {fNumber, {}};
}

std::shared_ptr<const IntermodOverlay> IntermodPanelModel::overlay() const
{
    if (!analysis_ || analysis_->refusal)
        return nullptr;
    auto overlay = std::make_shared<IntermodOverlay>();
    overlay->density = analysis_->density;
    overlay->outOfDate = stale();
    overlay->hitBandsMhz = hitBandsOf(*analysis_, shownPlan_);
    if (const AmplifierSimulation* simulated = simulation(); simulated && !simulated->refusal) {
        overlay->amplifierOutput =
            spectrumOnPlanScale(*simulated, shownPlan_, shownPlan_.viewStartMhz,
                                shownPlan_.viewStopMhz, spectrumPointCount);
        overlay->amplifierOutputName = panelAmplifierCaption(amplifier_) + " output";
        if (simulated->inputBackoffDb)
            overlay->amplifierOutputName +=
                ", IBO " + formatFixed(*simulated->inputBackoffDb, 0, 1) + " dB";
    }
    return overlay;
}

std::string IntermodPanelModel::csv(const std::string& planTitle, const std::string& dateText) const
{
    if (!analysis_ || analysis_->refusal)
        return {};
    const char* const lineEnd = "\r\n";
    std::string text = std::string("# Orvane intermodulation analysis") + lineEnd;
    text += "# Plan: " + oneLine(planTitle, " / ") + lineEnd;
    text += "# IP3 (dBW): " +
            (analysis_->ip3Dbw ? formatShortest(*analysis_->ip3Dbw) : "none, hits only") + lineEnd;
    text += "# Guard (kHz): " + formatShortest(analysis_->guardKhz) + lineEnd;
    const TransponderBudget budget = *this->budget();
    const auto given = [](const std::optional<double>& value, const char* otherwise) {
        return value ? formatShortest(*value) : std::string(otherwise);
    };
    text += "# Transponder (MHz): " + given(budget.transponderBandwidthMhz, "none") + lineEnd;
    text += "# Psat (dBW): " + given(budget.saturatedPowerDbw, "none") + lineEnd;
    if (budgetInputs_.outputBackoffDb || !budget.outputBackoffDb)
        text += "# OBO (dB): " + given(budget.outputBackoffDb, "none") + lineEnd;
    else
        text += "# OBO (dB): " + formatFixed(*budget.outputBackoffDb, 0, 3) +
                " (Psat less the carriers' total)" + lineEnd;
    text += "# C/N0 at saturation (dB-Hz): " + given(budget.saturatedCn0DbHz, "none") + lineEnd;
    std::vector<std::string> amplifierHeadings;
    std::vector<std::vector<std::string>> amplifierCells;
    if (const AmplifierSimulation* simulated = simulation(); simulated && !simulated->refusal) {
        text += "# Amplifier: " + simulationSummaryText(amplifier_, *simulated) + lineEnd;
        amplifierHeadings = {"Amplifier C/IM (dB)", "Compression (dB)"};
        for (const SimulatedCarrier& carrier : simulated->carriers)
            amplifierCells.push_back(
                {carrier.cimDb ? formatFixed(*carrier.cimDb, 0, 4) : "",
                 carrier.compressionDb ? formatFixed(*carrier.compressionDb, 0, 4) : ""});
    } else {
        text += "# Amplifier: IP3 model of the analysis" + std::string(lineEnd);
    }
    text += "# Date: " + dateText + lineEnd;
    // The table's lines end in LF and a label's line breaks are TABs inside its quotes (nothing
    // else in the table holds either): both become CR LF.
    std::string table = intermodBudgetCsv(*analysis_, budget, amplifierHeadings, amplifierCells);
    for (auto at = table.find_first_of("\t\n"); at != std::string::npos;
         at = table.find_first_of("\t\n", at + 2))
        table.replace(at, 1, lineEnd);
    return text + table;
}

} // namespace orvane
