#include "commands/arrange_model.h"

#include "display/intermod_overlay.h"
#include "model/entry_text.h"
#include "model/file_number_limit.h"
#include "model/number_text.h"
#include "placement/placement_score.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace orvane {

namespace {

const char* const lessOrEqual = "\u2264 ";

std::size_t slot(ArrangeBox box)
{
    return static_cast<std::size_t>(box);
}

bool blank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

ArrangeEntryProblem problemIn(ArrangeBox box, std::string text)
{
    ArrangeEntryProblem problem;
    problem.box = box;
    problem.text = std::move(text);
    return problem;
}

// Why a band or range end cannot be taken: it is beyond what a carrier file keeps.
std::optional<std::string> outsideFile(double valueMhz, std::string_view quantity)
{
    if (fitsInFile(valueMhz))
        return std::nullopt;
    return outsideFileRangeText(quantity, "MHz");
}

std::string cimText(const IntermodAnalysis& analysis)
{
    if (!analysis.ip3Dbw)
        return "no IP3";
    if (!analysis.minCimDb)
        return "none";
    std::string text = (analysis.minCimComplete == false ? lessOrEqual : "") +
                       formatFixed(*analysis.minCimDb, 0, 2) + " dB";
    if (analysis.worstCarrier)
        text += " (F" + formatInteger(*analysis.worstCarrier) + ")";
    return text;
}

} // namespace

ArrangeModel::ArrangeModel(const CarrierList& plan, const DisplaySettings& display,
                           const std::string& ip3Text, const std::string& guardText)
    : plan_(plan), display_(display)
{
    const double startMhz = display.viewStartMhz;
    const double stopMhz = display.viewStopMhz;
    entries_.boxes[slot(ArrangeBox::bandLow)] = formatGeneral(std::min(startMhz, stopMhz));
    entries_.boxes[slot(ArrangeBox::bandHigh)] = formatGeneral(std::max(startMhz, stopMhz));
    entries_.boxes[slot(ArrangeBox::raster)] = "0";
    entries_.boxes[slot(ArrangeBox::spacing)] = "0";
    entries_.boxes[slot(ArrangeBox::ip3)] = ip3Text;
    entries_.boxes[slot(ArrangeBox::guard)] = guardText;
    entries_.boxes[slot(ArrangeBox::effort)] = "1";

    // The analysis's own sort numbers the carriers, so equal centres get its F-numbers.
    CarrierList sorted = plan;
    sorted.sortByFrequency();
    for (const Carrier& carrier : sorted)
        rows_.push_back({static_cast<int>(rows_.size()) + 1, carrier.label,
                         carrier.centreFrequencyMhz, false, std::nullopt});
    entries_.locked.assign(rows_.size(), false);
}

const std::string& ArrangeModel::text(ArrangeBox box) const
{
    return entries_.boxes[slot(box)];
}

void ArrangeModel::setText(ArrangeBox box, std::string text)
{
    entries_.boxes[slot(box)] = std::move(text);
}

const std::string& ArrangeModel::forbiddenText(int row, RangeEnd end) const
{
    return entries_.forbidden.at(static_cast<std::size_t>(row))[end == RangeEnd::low ? 0 : 1];
}

void ArrangeModel::setForbiddenText(int row, RangeEnd end, std::string text)
{
    entries_.forbidden.at(static_cast<std::size_t>(row))[end == RangeEnd::low ? 0 : 1] =
        std::move(text);
}

void ArrangeModel::addForbidden()
{
    entries_.forbidden.push_back({});
}

void ArrangeModel::removeForbidden(int row)
{
    if (row >= 0 && row < forbiddenCount())
        entries_.forbidden.erase(entries_.forbidden.begin() + row);
}

void ArrangeModel::setLocked(int fNumber, bool locked)
{
    if (fNumber < 1 || fNumber > static_cast<int>(rows_.size()))
        return;
    rows_[static_cast<std::size_t>(fNumber - 1)].locked = locked;
    entries_.locked[static_cast<std::size_t>(fNumber - 1)] = locked;
}

ArrangeModel::Reading ArrangeModel::read() const
{
    PlacementOptions options;
    std::optional<ArrangeEntryProblem> problem;
    // Reads a box into value: an empty box leaves the default; false on a problem.
    const auto number = [&](ArrangeBox box, double& value, bool emptyAllowed) {
        const std::string& entry = entries_.boxes[slot(box)];
        if (emptyAllowed && blank(entry))
            return true;
        const std::optional<double> parsed = readEntryNumber(entry);
        if (!parsed) {
            problem = problemIn(box, enterNumberText);
            return false;
        }
        value = *parsed;
        return true;
    };
    // The first problem found is the one reported; the checks go through the dialog's order.
    const auto refuse = [&](ArrangeBox box, std::optional<std::string> text) {
        if (text)
            problem = problemIn(box, std::move(*text));
        return !text;
    };
    double ip3 = 0.0;
    const bool boxesRead =
        number(ArrangeBox::bandLow, options.bandLowMhz, false) &&
        refuse(ArrangeBox::bandLow, outsideFile(options.bandLowMhz, "band's low end")) &&
        number(ArrangeBox::bandHigh, options.bandHighMhz, false) &&
        refuse(ArrangeBox::bandHigh, outsideFile(options.bandHighMhz, "band's high end")) &&
        refuse(ArrangeBox::bandHigh, placementRangeProblem(PlacementRange::band, options.bandLowMhz,
                                                           options.bandHighMhz)) &&
        number(ArrangeBox::raster, options.rasterKhz, true) &&
        refuse(ArrangeBox::raster,
               placementValueProblem(PlacementValue::raster, options.rasterKhz)) &&
        number(ArrangeBox::spacing, options.spacingKhz, true) &&
        refuse(ArrangeBox::spacing,
               placementValueProblem(PlacementValue::spacing, options.spacingKhz)) &&
        number(ArrangeBox::ip3, ip3, true) &&
        refuse(ArrangeBox::ip3, placementValueProblem(PlacementValue::ip3, ip3)) &&
        number(ArrangeBox::guard, options.guardKhz, true) &&
        refuse(ArrangeBox::guard, placementValueProblem(PlacementValue::guard, options.guardKhz)) &&
        number(ArrangeBox::effort, options.effort, true) &&
        refuse(ArrangeBox::effort, placementValueProblem(PlacementValue::effort, options.effort));
    if (!boxesRead)
        return {std::nullopt, problem};
    if (!blank(entries_.boxes[slot(ArrangeBox::ip3)]))
        options.ip3Dbw = ip3;

    for (std::size_t row = 0; row < entries_.forbidden.size(); ++row) {
        const auto& ends = entries_.forbidden[row];
        if (blank(ends[0]) && blank(ends[1]))
            continue;
        std::optional<double> values[2];
        for (int end = 0; end < 2; ++end) {
            values[end] = readEntryNumber(ends[static_cast<std::size_t>(end)]);
            const bool low = end == 0;
            std::optional<std::string> text =
                !values[end] ? enterNumberText : outsideFile(*values[end], "forbidden range's end");
            if (!text && !low)
                text = placementRangeProblem(PlacementRange::forbidden, *values[0], *values[1]);
            if (text) {
                ArrangeEntryProblem range;
                range.forbiddenRow = static_cast<int>(row);
                range.end = low ? RangeEnd::low : RangeEnd::high;
                range.text = std::move(*text);
                return {std::nullopt, range};
            }
        }
        options.forbidden.push_back({*values[0], *values[1]});
    }
    for (std::size_t i = 0; i < entries_.locked.size(); ++i)
        if (entries_.locked[i])
            options.lockedFNumbers.push_back(static_cast<int>(i) + 1);
    return {options, std::nullopt};
}

ArrangeModel::Start ArrangeModel::startRun()
{
    Reading reading = read();
    if (!reading.options)
        return {std::nullopt, reading.problem};
    if (std::optional<PlacementRefusal> refusal = checkPlacement(plan_, *reading.options)) {
        ++runId_;
        running_ = false;
        show({Outcome::refused, refusal->text, entries_, {}, *reading.options});
        return {};
    }
    running_ = true;
    runEntries_ = entries_;
    runOptions_ = *reading.options;
    return {ArrangeRun{++runId_, plan_, runOptions_}, std::nullopt};
}

void ArrangeModel::finishRun(unsigned long long id, PlacementResult result)
{
    if (id != runId_ || !running_)
        return;
    running_ = false;
    if (result.refusal) {
        show({Outcome::refused, result.refusal->text, runEntries_, {}, runOptions_});
        return;
    }
    const Outcome outcome = result.cancelled ? Outcome::cancelled : Outcome::placed;
    show({outcome, {}, runEntries_, std::move(result), runOptions_});
}

void ArrangeModel::failRun(unsigned long long id, std::string text)
{
    if (id != runId_ || !running_)
        return;
    running_ = false;
    show({Outcome::failed, std::move(text), runEntries_, {}, runOptions_});
}

void ArrangeModel::show(Shown shown)
{
    shown_ = std::move(shown);
    for (ArrangeCarrierRow& row : rows_)
        row.proposedMhz.reset();
    if (shown_->outcome != Outcome::placed)
        return;
    for (const MovedCarrier& moved : shown_->result.moved)
        rows_.at(static_cast<std::size_t>(moved.fNumber - 1)).proposedMhz = moved.toMhz;
}

bool ArrangeModel::placedCurrent() const
{
    return !running_ && shown_ && shown_->outcome == Outcome::placed && shown_->entries == entries_;
}

std::string ArrangeModel::status() const
{
    if (running_)
        return "Arranging the carriers...";
    if (!shown_)
        return "Run looks for better places for the carriers that are not locked.";
    const std::string changed =
        shown_->entries == entries_ ? "" : " The entries have changed since: Run again.";
    switch (shown_->outcome) {
    case Outcome::refused:
    case Outcome::failed:
        return shown_->text + changed;
    case Outcome::cancelled:
        return "Stopped before the end: nothing to apply." + changed;
    case Outcome::placed:
        break;
    }
    const std::size_t moved = shown_->result.moved.size();
    if (moved == 0)
        return "No better placement found: the plan stays as it is." + changed;
    return formatInteger(static_cast<long long>(moved)) + " of " + formatInteger(plan_.count()) +
           " carriers moved." + changed;
}

std::vector<ArrangeFigure> ArrangeModel::figures() const
{
    if (!shown_ || shown_->outcome != Outcome::placed)
        return {};
    const IntermodAnalysis& before = shown_->result.before;
    const IntermodAnalysis& after = shown_->result.after;
    return {{"Lowest C/IM", cimText(before), cimText(after)},
            {"Products hitting", formatInteger(before.productsHitting),
             formatInteger(after.productsHitting)},
            {"Hits on carriers", formatInteger(placementScoreOf(before).hits),
             formatInteger(placementScoreOf(after).hits)}};
}

const CarrierList* ArrangeModel::proposal() const
{
    if (!placedCurrent() || shown_->result.moved.empty())
        return nullptr;
    return &shown_->result.plan;
}

ArrangePicture ArrangeModel::picture() const
{
    ArrangePicture picture;
    picture.settings = display_;
    picture.settings.titleText.clear();
    if (!shown_ || shown_->outcome != Outcome::placed) {
        // The plan as it is, over the band the boxes give, else over the view.
        picture.caption = "The plan as it is:";
        picture.plan = &plan_;
        const std::optional<double> lowMhz = readEntryNumber(text(ArrangeBox::bandLow));
        const std::optional<double> highMhz = readEntryNumber(text(ArrangeBox::bandHigh));
        if (lowMhz && highMhz && *lowMhz < *highMhz) {
            picture.settings.viewStartMhz = *lowMhz;
            picture.settings.viewStopMhz = *highMhz;
        }
        return picture;
    }
    const PlacementResult& result = shown_->result;
    picture.caption = "The proposal over the band: moved carriers outlined, an orange bar under "
                      "each carrier a product hits.";
    picture.plan = &result.plan;
    picture.settings.viewStartMhz = shown_->options.bandLowMhz;
    picture.settings.viewStopMhz = shown_->options.bandHighMhz;
    for (const MovedCarrier& moved : result.moved)
        picture.outlined.push_back(moved.index);
    CarrierList sorted = result.plan;
    sorted.sortByFrequency();
    picture.hitBandsMhz = hitBandsOf(result.after, sorted);
    return picture;
}

PlacementResult placeArrangement(const ArrangeRun& run, const std::atomic<bool>* cancel,
                                 std::function<void(double)> progress)
{
    PlacementOptions options = run.options;
    options.cancel = cancel;
    options.progress = std::move(progress);
    return placeCarriers(run.plan, options);
}

} // namespace orvane
