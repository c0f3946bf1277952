#include "commands/intermod_panel_model.h"

#include "model/number_text.h"
#include "report/intermod_table.h"

#include <cmath>
#include <limits>
#include <utility>

namespace orvane {

namespace {

constexpr double ip3LimitDbw = 1000.0;
constexpr double guardLimitKhz = 1.0e6;
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

std::string oneLine(std::string text, const std::string& lineBreak)
{
    for (auto tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab))
        text.replace(tab, 1, lineBreak), tab += lineBreak.size();
    return text;
}

} // namespace

std::string panelInputProblem(PanelBox box, double value)
{
    if (box == PanelBox::ip3 && !(std::fabs(value) <= ip3LimitDbw))
        return "Between -1000 and 1000 dBW";
    if (box == PanelBox::guard && !(value >= 0.0 && value <= guardLimitKhz))
        return "Between 0 and 1,000,000 kHz";
    return {};
}

IntermodPanelModel::IntermodPanelModel(std::string ip3Text, std::string guardText,
                                       std::string warningText)
{
    box(PanelBox::ip3).text = std::move(ip3Text);
    box(PanelBox::guard).text = std::move(guardText);
    box(PanelBox::warning).text = std::move(warningText);
    readBoxes();
}

const std::vector<PanelColumn>& IntermodPanelModel::columns()
{
    static const std::vector<PanelColumn> all{{"F#", false, false},
                                              {"Label", true, true},
                                              {"Centre (MHz)", false, false},
                                              {"C/IM (dB)", false, false},
                                              {"Hits 2-tone", false, false},
                                              {"Hits 3-tone", false, false},
                                              {"Strongest product", false, true}};
    return all;
}

void IntermodPanelModel::readBoxes()
{
    const auto read = [](Box& box, std::optional<double>& value) {
        box.problem.clear();
        value.reset();
        std::string entry = box.text;
        entry.erase(0, entry.find_first_not_of(" \t"));
        entry.erase(entry.find_last_not_of(" \t") + 1);
        double number = 0.0;
        if (entry.empty())
            return;
        if (!parseWholeNumber(entry, number) || !std::isfinite(number))
            box.problem = "Not a number";
        else
            value = number;
    };
    std::optional<double> ip3;
    std::optional<double> guard;
    std::optional<double> warning;
    read(box(PanelBox::ip3), ip3);
    read(box(PanelBox::guard), guard);
    read(box(PanelBox::warning), warning);
    if (ip3)
        box(PanelBox::ip3).problem = panelInputProblem(PanelBox::ip3, *ip3);
    if (guard)
        box(PanelBox::guard).problem = panelInputProblem(PanelBox::guard, *guard);
    if (box(PanelBox::ip3).problem.empty() && box(PanelBox::guard).problem.empty())
        inputs_ = PanelInputs{ip3, guard.value_or(0.0)};
    else
        inputs_.reset();
    // The last good warning level stays while the box holds something else; empty: no level.
    if (box(PanelBox::warning).problem.empty())
        warningCimDb_ = warning.value_or(-noValue);
}

PanelEditEffect IntermodPanelModel::edit(PanelBox which, const std::string& text)
{
    if (box(which).text == text)
        return PanelEditEffect::none;
    const std::optional<PanelInputs> inputsBefore = inputs_;
    const double warningBefore = warningCimDb_;
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

std::vector<PanelRow> IntermodPanelModel::rows() const
{
    std::vector<PanelRow> rows;
    if (!analysis_ || analysis_->refusal)
        return rows;
    for (const CarrierIntermod& carrier : analysis_->carriers) {
        PanelRow row;
        row.fNumber = carrier.fNumber;
        row.cells = {
            {"F" + formatInteger(carrier.fNumber), static_cast<double>(carrier.fNumber)},
            {oneLine(carrier.label, " "), 0.0},
            {formatFixed(carrier.centreFrequencyMhz, 0, 5), carrier.centreFrequencyMhz},
            {cimText(carrier), carrier.cimDb ? *carrier.cimDb : noValue},
            {formatInteger(carrier.twoToneHits), static_cast<double>(carrier.twoToneHits)},
            {formatInteger(carrier.threeToneHits), static_cast<double>(carrier.threeToneHits)},
            {strongestText(carrier), carrier.strongest && carrier.strongest->powerDbw
                                         ? *carrier.strongest->powerDbw
                                         : -noValue}};
        const bool below = carrier.cimDb && *carrier.cimDb < warningCimDb_;
        const bool incomplete = carrier.complete && !*carrier.complete;
        if (below)
            row.note = "C/IM below " + decibels(warningCimDb_) + " dB.";
        if (incomplete)
            row.note += std::string(below ? "\n" : "") +
                        "A product without a level hits this carrier: its C/IM leaves that "
                        "product out and is an upper bound.";
        row.mark =
            below ? RowMark::belowWarning : (incomplete ? RowMark::incomplete : RowMark::none);
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
    text += "# Date: " + dateText + lineEnd;
    // The table's lines end in LF and a label's line breaks are TABs inside its quotes (nothing
    // else in the table holds either): both become CR LF.
    std::string table = intermodTableCsv(*analysis_);
    for (auto at = table.find_first_of("\t\n"); at != std::string::npos;
         at = table.find_first_of("\t\n", at + 2))
        table.replace(at, 1, lineEnd);
    return text + table;
}

} // namespace orvane
