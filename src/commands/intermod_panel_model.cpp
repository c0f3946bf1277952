#include "commands/intermod_panel_model.h"

#include "analysis/intermod_input.h"
#include "budget/budget_summary.h"
#include "budget/carrier_interference.h"
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

std::string oneLine(std::string text, const std::string& lineBreak)
{
    for (auto tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab))
        text.replace(tab, 1, lineBreak), tab += lineBreak.size();
    return text;
}

} // namespace

IntermodPanelModel::IntermodPanelModel(const PanelSettings& settings)
{
    box(PanelBox::ip3).text = settings.ip3Dbw;
    box(PanelBox::guard).text = settings.guardKhz;
    box(PanelBox::warning).text = settings.warningCimDb;
    box(PanelBox::transponderMhz).text = settings.transponderMhz;
    box(PanelBox::saturatedPower).text = settings.saturatedPowerDbw;
    box(PanelBox::outputBackoff).text = settings.outputBackoffDb;
    box(PanelBox::saturatedCn0).text = settings.saturatedCn0DbHz;
    readBoxes();
}

PanelSettings IntermodPanelModel::settings() const
{
    return {text(PanelBox::ip3),
            text(PanelBox::guard),
            text(PanelBox::warning),
            text(PanelBox::transponderMhz),
            text(PanelBox::saturatedPower),
            text(PanelBox::outputBackoff),
            text(PanelBox::saturatedCn0)};
}

const std::vector<PanelColumn>& IntermodPanelModel::columns()
{
    static const std::vector<PanelColumn> all{{"F#", false, false},
                                              {"Label", true, true},
                                              {"Centre (MHz)", false, false},
                                              {"C/IM (dB)", false, false},
                                              {"Hits 2-tone", false, false},
                                              {"Hits 3-tone", false, false},
                                              {"Power (%)", false, false},
                                              {"Bandwidth (%)", false, false},
                                              {"PEB (MHz)", false, false},
                                              {"Es/N0 (dB)", false, false},
                                              {"C/(N+IM) (dB)", false, false},
                                              {"Required (dB)", false, false},
                                              {"Margin (dB)", false, false},
                                              {"Strongest product", false, true}};
    return all;
}

void IntermodPanelModel::readBoxes()
{
    std::optional<double> values[panelBoxCount];
    for (int which = 0; which < panelBoxCount; ++which) {
        Box& box = boxes_[which];
        box.problem.clear();
        std::string entry = box.text;
        entry.erase(0, entry.find_first_not_of(" \t"));
        entry.erase(entry.find_last_not_of(" \t") + 1);
        double number = 0.0;
        if (entry.empty())
            continue;
        if (!parseWholeNumber(entry, number) || !std::isfinite(number))
            box.problem = "Not a number";
        else
            values[which] = number;
    }
    const auto value = [&values](PanelBox which) { return values[static_cast<int>(which)]; };
    const auto refuse = [this](PanelBox which, const std::optional<std::string>& problem) {
        if (problem)
            box(which).problem = *problem;
    };
    // The analysis's own limits, one box at a time.
    if (value(PanelBox::ip3))
        refuse(PanelBox::ip3, intermodInputProblem(value(PanelBox::ip3), 0.0));
    if (value(PanelBox::guard))
        refuse(PanelBox::guard, intermodInputProblem(std::nullopt, *value(PanelBox::guard)));
    if (value(PanelBox::transponderMhz) && !(*value(PanelBox::transponderMhz) > 0.0))
        box(PanelBox::transponderMhz).problem = "The transponder bandwidth must be above 0 MHz.";

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
}

PanelEditEffect IntermodPanelModel::edit(PanelBox which, const std::string& text)
{
    if (box(which).text == text)
        return PanelEditEffect::none;
    const std::optional<PanelInputs> inputsBefore = inputs_;
    const double warningBefore = warningCimDb_;
    const BudgetInputs budgetBefore = budgetInputs_;
    box(which).text = text;
    readBoxes();
    const auto same = [](const std::optional<PanelInputs>& a, const std::optional<PanelInputs>& b) {
        return a.has_value() == b.has_value() &&
               (!a || (a->ip3Dbw == b->ip3Dbw && a->guardKhz == b->guardKhz));
    };
    if (!same(inputs_, inputsBefore)) {
        ++changes_;
        return PanelEditEffect::reanalyse;
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

void IntermodPanelModel::planChanged()
{
    ++changes_;
    ++planChanges_;
}

void IntermodPanelModel::analysisStarted(const CarrierList& plan)
{
    startedPlan_ = plan;
    startedPlan_.sortByFrequency();
    startedChange_ = changes_;
    startedPlanChange_ = planChanges_;
}

void IntermodPanelModel::analysisFinished(std::shared_ptr<const IntermodAnalysis> analysis)
{
    analysis_ = std::move(analysis);
    shownPlan_ = startedPlan_;
    shownChange_ = startedChange_;
    shownPlanChange_ = startedPlanChange_;
}

std::optional<TransponderBudget> IntermodPanelModel::budget() const
{
    if (!analysis_ || analysis_->refusal)
        return std::nullopt;
    return computeTransponderBudget(shownPlan_, budgetInputs_,
                                    interferenceFromAnalysis(*analysis_));
}

std::vector<PanelRow> IntermodPanelModel::rows() const
{
    std::vector<PanelRow> rows;
    if (!analysis_ || analysis_->refusal)
        return rows;
    const std::optional<TransponderBudget> budget = this->budget();
    for (const CarrierIntermod& carrier : analysis_->carriers) {
        PanelRow row;
        row.fNumber = carrier.fNumber;
        row.cells = {
            {"F" + formatInteger(carrier.fNumber), static_cast<double>(carrier.fNumber)},
            {oneLine(carrier.label, " "), 0.0},
            {formatFixed(carrier.centreFrequencyMhz, 0, 5), carrier.centreFrequencyMhz},
            {cimText(carrier), carrier.cimDb ? *carrier.cimDb : noValue},
            {formatInteger(carrier.twoToneHits), static_cast<double>(carrier.twoToneHits)},
            {formatInteger(carrier.threeToneHits), static_cast<double>(carrier.threeToneHits)}};
        const std::size_t index = static_cast<std::size_t>(carrier.fNumber - 1);
        const CarrierBudget* carried =
            budget && index < budget->carriers.size() ? &budget->carriers[index] : nullptr;
        for (PanelCell& cell : budgetCells(carried))
            row.cells.push_back(std::move(cell));
        // The long text last, where the width left over goes.
        row.cells.push_back(
            {strongestText(carrier), carrier.strongest && carrier.strongest->powerDbw
                                         ? *carrier.strongest->powerDbw
                                         : -noValue});

        const bool negative = carried && carried->marginDb && *carried->marginDb < 0.0;
        const bool below = carrier.cimDb && *carrier.cimDb < warningCimDb_;
        const bool incomplete = carrier.complete && !*carrier.complete;
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
    if (!stale())
        return shown;
    const std::string state = inputs_ ? "Updating..." : "Not updated: an entry is not accepted.";
    return shown.empty() ? state : state + " Shown: " + shown;
}

std::string IntermodPanelModel::budgetSummary() const
{
    const std::optional<TransponderBudget> budget = this->budget();
    return budget ? budgetSummaryText(*budget) : std::string();
}

ShareChart IntermodPanelModel::shareChart() const
{
    const std::optional<TransponderBudget> budget = this->budget();
    return budget ? orvane::shareChart(*budget) : ShareChart();
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
    for (const CarrierIntermod& carrier : analysis_->carriers) {
        if (carrier.twoToneHits + carrier.threeToneHits == 0 || carrier.fNumber < 1 ||
            carrier.fNumber > shownPlan_.count())
            continue;
        const Carrier& hit = shownPlan_[carrier.fNumber - 1];
        overlay->hitBandsMhz.emplace_back(hit.lowerEdgeMhz(), hit.upperEdgeMhz());
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
    text += "# Date: " + dateText + lineEnd;
    // The table's lines end in LF and a label's line breaks are TABs inside its quotes (nothing
    // else in the table holds either): both become CR LF.
    std::string table = intermodBudgetCsv(*analysis_, budget);
    for (auto at = table.find_first_of("\t\n"); at != std::string::npos;
         at = table.find_first_of("\t\n", at + 2))
        table.replace(at, 1, lineEnd);
    return text + table;
}

} // namespace orvane
