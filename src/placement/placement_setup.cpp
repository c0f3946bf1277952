#include "placement/placement_setup.h"

#include "analysis/hit_rule.h"
#include "model/file_number_limit.h"
#include "model/number_text.h"
#include "placement/placement_random.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

namespace orvane {

namespace {

// The largest intercept point (in size), guard and effort the placement takes; the first two
// as the analysis takes them.
constexpr double largestIp3Dbw = 1000.0;
constexpr double largestGuardKhz = 1000000.0;
constexpr double largestEffort = 100.0;

} // namespace

std::optional<std::string> placementValueProblem(PlacementValue which, double value)
{
    switch (which) {
    case PlacementValue::raster:
        if (!(value >= 0.0 && fitsInFile(value)))
            return "The raster must be 0 (free) or more.";
        break;
    case PlacementValue::spacing:
        if (!(value >= 0.0 && fitsInFile(value)))
            return "The spacing must be 0 or more.";
        break;
    case PlacementValue::ip3:
        if (!(std::fabs(value) <= largestIp3Dbw))
            return "The intercept point must be between -" + formatInteger(largestIp3Dbw) +
                   " and " + formatInteger(largestIp3Dbw) + " dBW.";
        break;
    case PlacementValue::guard:
        if (!(value >= 0.0 && value <= largestGuardKhz))
            return "The guard must be between 0 and " + formatInteger(largestGuardKhz) + " kHz.";
        break;
    case PlacementValue::effort:
        if (!(value > 0.0 && value <= largestEffort))
            return "The effort must be above 0 and at most " + formatInteger(largestEffort) + ".";
        break;
    }
    return std::nullopt;
}

std::optional<std::string> placementRangeProblem(PlacementRange which, double lowMhz,
                                                 double highMhz)
{
    if (fitsInFile(lowMhz) && fitsInFile(highMhz) && lowMhz < highMhz)
        return std::nullopt;
    return which == PlacementRange::band
               ? "The band must run from a lower to a higher frequency."
               : "A forbidden range must run from a lower to a higher frequency.";
}

std::optional<PlacementRefusal> placementCountRefusal(const CarrierList& plan)
{
    const int count = plan.count();
    if (count == 0)
        return PlacementRefusal{PlacementRefusalReason::nothingToPlace,
                                "The plan has no carriers: nothing to place."};
    if (count == 1)
        return PlacementRefusal{PlacementRefusalReason::nothingToPlace,
                                "The plan has one carrier: nothing to place."};
    if (count > maxPlacementCarriers)
        return PlacementRefusal{PlacementRefusalReason::tooManyCarriers,
                                "The plan has " + formatInteger(count) +
                                    " carriers; the placement takes at most " +
                                    formatInteger(maxPlacementCarriers) + "."};
    return std::nullopt;
}

} // namespace orvane

namespace orvane::placement {

namespace {

// Free centres are kept to 10 Hz, as a carrier file keeps them.
constexpr double freeStepMhz = 0.00001;
// Orders tried when the widest-first packings leave a carrier out.
constexpr int shuffledPackings = 16;

std::string number(double value)
{
    return formatGeneral(value, 6);
}

PlacementRefusal refusal(PlacementRefusalReason reason, std::string text)
{
    return PlacementRefusal{reason, std::move(text)};
}

// "F3" or "F3 (TV 1)": labels keep line breaks as TABs.
std::string carrierName(const Problem& problem, std::size_t i)
{
    std::string name = "F" + formatInteger(static_cast<long long>(i) + 1);
    std::string label = problem.carriers[i].label;
    std::replace(label.begin(), label.end(), '\t', ' ');
    if (!label.empty())
        name += " (" + label + ")";
    return name;
}

// The carriers' places in the plan in the order the analysis numbers them (F1 first).
std::vector<int> frequencyOrder(const CarrierList& plan)
{
    // The plan's own sort decides the F-numbers of carriers of equal frequency: it is run on
    // a copy whose labels say where each carrier came from.
    CarrierList numbered;
    numbered.reserve(static_cast<std::size_t>(plan.count()));
    for (int i = 0; i < plan.count(); ++i) {
        Carrier carrier;
        carrier.centreFrequencyMhz = plan[i].centreFrequencyMhz;
        carrier.label = std::to_string(i);
        numbered.appendWithoutBounds(std::move(carrier));
    }
    numbered.sortByFrequency();
    std::vector<int> order;
    for (const Carrier& carrier : numbered)
        order.push_back(std::stoi(carrier.label));
    return order;
}

std::optional<PlacementRefusal> invalidOption(const CarrierList& plan,
                                              const PlacementOptions& options)
{
    const auto invalid = [](std::string text) {
        return refusal(PlacementRefusalReason::invalidOptions, std::move(text));
    };
    std::optional<std::string> text =
        placementRangeProblem(PlacementRange::band, options.bandLowMhz, options.bandHighMhz);
    if (!text)
        text = placementValueProblem(PlacementValue::raster, options.rasterKhz);
    if (!text)
        text = placementValueProblem(PlacementValue::spacing, options.spacingKhz);
    if (!text)
        text = placementValueProblem(PlacementValue::guard, options.guardKhz);
    if (!text && options.ip3Dbw)
        text = placementValueProblem(PlacementValue::ip3, *options.ip3Dbw);
    if (!text)
        text = placementValueProblem(PlacementValue::effort, options.effort);
    if (text)
        return invalid(std::move(*text));
    for (const FrequencyRange& range : options.forbidden) {
        if ((text = placementRangeProblem(PlacementRange::forbidden, range.lowMhz, range.highMhz)))
            return invalid(std::move(*text));
    }
    for (const int f : options.lockedFNumbers) {
        if (f < 1 || f > plan.count())
            return invalid("There is no carrier F" + formatInteger(f) + " to lock: the plan has " +
                           formatInteger(plan.count()) + ".");
    }
    return std::nullopt;
}

bool inside(const Interval& band, double lowMhz, double highMhz)
{
    return lowMhz >= band.lowMhz - touchToleranceMhz && highMhz <= band.highMhz + touchToleranceMhz;
}

// Two locked carriers that overlap or stand closer than the spacing.
std::optional<PlacementRefusal> lockedTooClose(const Problem& problem)
{
    std::vector<std::size_t> lockedOnes;
    for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
        if (problem.locked[i])
            lockedOnes.push_back(i);
    }
    for (std::size_t a = 0; a < lockedOnes.size(); ++a) {
        for (std::size_t b = a + 1; b < lockedOnes.size(); ++b) {
            const std::size_t i = lockedOnes[a];
            const std::size_t j = lockedOnes[b];
            const double apartMhz = std::fabs(problem.carriers[j].centreFrequencyMhz -
                                              problem.carriers[i].centreFrequencyMhz) -
                                    problem.halfWidthMhz[i] - problem.halfWidthMhz[j];
            if (apartMhz < -touchToleranceMhz)
                return refusal(PlacementRefusalReason::locksOverlap,
                               "Locked " + carrierName(problem, i) + " and " +
                                   carrierName(problem, j) + " overlap.");
            if (apartMhz < problem.spacingMhz - touchToleranceMhz)
                return refusal(PlacementRefusalReason::locksOverlap,
                               "Locked " + carrierName(problem, i) + " and " +
                                   carrierName(problem, j) + " are closer than the spacing (" +
                                   number(problem.spacingMhz * 1000.0) + " kHz).");
        }
    }
    return std::nullopt;
}

bool onGrid(const Problem& problem, double centreMhz)
{
    return std::fabs(problem.grid.centreMhz(problem.grid.nearest(centreMhz)) - centreMhz) <=
           touchToleranceMhz;
}

// Whether the plan as given keeps every constraint.
bool meetsConstraints(const Problem& problem, bool rastered)
{
    std::vector<Interval> bands;
    for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
        const double centreMhz = problem.carriers[i].centreFrequencyMhz;
        const Interval band{centreMhz - problem.halfWidthMhz[i],
                            centreMhz + problem.halfWidthMhz[i]};
        if (!std::isfinite(centreMhz) || !inside(problem.band, band.lowMhz, band.highMhz))
            return false;
        bands.push_back(band);
        if (problem.locked[i])
            continue;
        if (rastered && !onGrid(problem, centreMhz))
            return false;
        for (const Interval& block : problem.blocked) {
            if (band.lowMhz < block.highMhz - touchToleranceMhz &&
                band.highMhz > block.lowMhz + touchToleranceMhz)
                return false;
        }
    }
    std::sort(bands.begin(), bands.end(),
              [](const Interval& a, const Interval& b) { return a.lowMhz < b.lowMhz; });
    for (std::size_t i = 1; i < bands.size(); ++i) {
        if (bands[i].lowMhz - bands[i - 1].highMhz < problem.spacingMhz - touchToleranceMhz)
            return false;
        bands[i].highMhz = std::max(bands[i].highMhz, bands[i - 1].highMhz);
    }
    return true;
}

// Packs the carriers to move into the free gaps: widest first, first and best fit, then in
// shuffled orders. The centres per carrier when one packing fits them all.
bool packMovable(Problem& problem)
{
    const std::vector<Interval> gaps = freeGaps(problem.band, problem.blocked);
    std::vector<int> order = problem.movable;
    std::stable_sort(order.begin(), order.end(), [&problem](int a, int b) {
        return problem.halfWidthMhz[static_cast<std::size_t>(a)] >
               problem.halfWidthMhz[static_cast<std::size_t>(b)];
    });
    RandomStream random(0, 0);
    for (int attempt = 0; attempt < 2 + 2 * shuffledPackings; ++attempt) {
        if (attempt >= 2 && attempt % 2 == 0)
            random.shuffle(order);
        std::vector<double> halfWidths;
        for (const int i : order)
            halfWidths.push_back(problem.halfWidthMhz[static_cast<std::size_t>(i)]);
        std::vector<double> centres;
        if (pack(gaps, halfWidths, problem.grid, problem.spacingMhz, attempt % 2 == 1, &centres)) {
            problem.packedCentresMhz.assign(problem.carriers.size(), 0.0);
            for (std::size_t i = 0; i < problem.carriers.size(); ++i)
                problem.packedCentresMhz[i] = problem.carriers[i].centreFrequencyMhz;
            for (std::size_t k = 0; k < order.size(); ++k)
                problem.packedCentresMhz[static_cast<std::size_t>(order[k])] = centres[k];
            return true;
        }
    }
    return false;
}

std::optional<PlacementRefusal> noPlacement(const CarrierList& plan, Problem& problem,
                                            const PlacementOptions& options)
{
    if (std::optional<PlacementRefusal> count = placementCountRefusal(plan))
        return count;
    if (problem.movable.empty())
        return refusal(PlacementRefusalReason::nothingToPlace,
                       "Every carrier is locked: nothing to place.");
    const double bandWidthMhz = problem.band.highMhz - problem.band.lowMhz;
    int widest = problem.movable.front();
    for (const int i : problem.movable) {
        if (problem.halfWidthMhz[static_cast<std::size_t>(i)] >
            problem.halfWidthMhz[static_cast<std::size_t>(widest)])
            widest = i;
    }
    const std::size_t w = static_cast<std::size_t>(widest);
    if (2.0 * problem.halfWidthMhz[w] > bandWidthMhz + touchToleranceMhz)
        return refusal(PlacementRefusalReason::carrierWiderThanBand,
                       carrierName(problem, w) + " is " + number(2.0 * problem.halfWidthMhz[w]) +
                           " MHz wide, wider than the band (" + number(bandWidthMhz) + " MHz).");
    if (options.rasterKhz > 0.0 && options.rasterKhz * 0.001 > bandWidthMhz)
        return refusal(PlacementRefusalReason::rasterCoarserThanBand,
                       "The raster (" + number(options.rasterKhz) +
                           " kHz) is coarser than the band (" + number(bandWidthMhz) + " MHz).");
    for (const int i : problem.movable) {
        const std::size_t c = static_cast<std::size_t>(i);
        if (positionsIn({problem.band}, problem.halfWidthMhz[c], problem.grid).empty())
            return refusal(PlacementRefusalReason::rasterCoarserThanBand,
                           "No centre on the " + number(problem.grid.stepMhz() * 1000.0) +
                               " kHz raster puts " + carrierName(problem, c) + " inside the band.");
    }
    for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
        const double centreMhz = problem.carriers[i].centreFrequencyMhz;
        if (problem.locked[i] &&
            !(std::isfinite(centreMhz) && inside(problem.band, centreMhz - problem.halfWidthMhz[i],
                                                 centreMhz + problem.halfWidthMhz[i])))
            return refusal(PlacementRefusalReason::lockedOutsideBand,
                           "Locked " + carrierName(problem, i) + " is not inside the band (" +
                               number(problem.band.lowMhz) + " to " + number(problem.band.highMhz) +
                               " MHz).");
    }
    if (std::optional<PlacementRefusal> tooClose = lockedTooClose(problem))
        return tooClose;
    const std::vector<Interval> gaps = freeGaps(problem.band, problem.blocked);
    for (const int i : problem.movable) {
        const std::size_t c = static_cast<std::size_t>(i);
        if (positionsIn(gaps, problem.halfWidthMhz[c], problem.grid).empty())
            return refusal(PlacementRefusalReason::noRoom,
                           carrierName(problem, c) + " (" + number(2.0 * problem.halfWidthMhz[c]) +
                               " MHz wide) fits nowhere in the band beside the locked carriers "
                               "and forbidden ranges.");
    }
    if (!packMovable(problem)) {
        double neededMhz = 0.0;
        for (const int i : problem.movable)
            neededMhz += 2.0 * problem.halfWidthMhz[static_cast<std::size_t>(i)];
        double freeMhz = 0.0;
        for (const Interval& gap : gaps)
            freeMhz += gap.highMhz - gap.lowMhz;
        return refusal(PlacementRefusalReason::noRoom,
                       "The carriers to move (" + number(neededMhz) +
                           " MHz together) do not fit into the " + number(freeMhz) +
                           " MHz left free by the locked carriers and forbidden ranges with a "
                           "spacing of " +
                           number(problem.spacingMhz * 1000.0) + " kHz" +
                           (options.rasterKhz > 0.0
                                ? " on the " + number(options.rasterKhz) + " kHz raster."
                                : "."));
    }
    return std::nullopt;
}

} // namespace

Setup setUpPlacement(const CarrierList& plan, const PlacementOptions& options)
{
    Setup setup;
    if ((setup.refusal = invalidOption(plan, options)))
        return setup;
    Problem& problem = setup.problem;
    problem.listIndex = frequencyOrder(plan);
    for (const int index : problem.listIndex) {
        problem.carriers.push_back(plan[index]);
        const double widthMhz = std::fabs(plan[index].occupiedBandwidthMhz);
        problem.halfWidthMhz.push_back(std::isfinite(widthMhz) ? 0.5 * widthMhz : 0.0);
    }
    problem.locked.assign(problem.carriers.size(), 0);
    for (const int f : options.lockedFNumbers)
        problem.locked[static_cast<std::size_t>(f - 1)] = 1;
    for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
        if (!problem.locked[i])
            problem.movable.push_back(static_cast<int>(i));
    }
    problem.band = {options.bandLowMhz, options.bandHighMhz};
    problem.spacingMhz = options.spacingKhz * 0.001;
    problem.grid = Grid(options.rasterKhz > 0.0 ? options.rasterKhz * 0.001 : freeStepMhz);
    for (const FrequencyRange& range : options.forbidden)
        problem.blocked.push_back({range.lowMhz, range.highMhz});
    for (std::size_t i = 0; i < problem.carriers.size(); ++i) {
        const double centreMhz = problem.carriers[i].centreFrequencyMhz;
        if (problem.locked[i] && std::isfinite(centreMhz))
            problem.blocked.push_back({centreMhz - problem.halfWidthMhz[i] - problem.spacingMhz,
                                       centreMhz + problem.halfWidthMhz[i] + problem.spacingMhz});
    }
    std::sort(problem.blocked.begin(), problem.blocked.end(),
              [](const Interval& a, const Interval& b) { return a.lowMhz < b.lowMhz; });
    problem.ip3Dbw = options.ip3Dbw;
    problem.guardKhz = options.guardKhz;
    if ((setup.refusal = noPlacement(plan, problem, options)))
        return setup;
    problem.inputMeetsConstraints = meetsConstraints(problem, options.rasterKhz > 0.0);
    return setup;
}

std::vector<Interval> gapsBeside(const Problem& problem, const std::vector<double>& centresMhz,
                                 int leaveOut)
{
    std::vector<Interval> blocked = problem.blocked;
    for (const int i : problem.movable) {
        const double centreMhz = centresMhz[static_cast<std::size_t>(i)];
        if (i == leaveOut || std::isnan(centreMhz))
            continue;
        const double reachMhz =
            problem.halfWidthMhz[static_cast<std::size_t>(i)] + problem.spacingMhz;
        blocked.push_back({centreMhz - reachMhz, centreMhz + reachMhz});
    }
    return freeGaps(problem.band, std::move(blocked));
}

} // namespace orvane::placement
