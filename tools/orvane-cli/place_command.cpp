#include "commands.h"

#include "cli_support.h"
#include "files/carrier_file.h"
#include "json_output.h"
#include "model/number_text.h"
#include "placement/placement.h"
#include "placement/placement_score.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* placeUsage =
    "Usage: orvane-cli place PLAN OUT [--band LOW HIGH] [--raster-khz K] [--spacing-khz S]\n"
    "                        [--lock F]... [--forbid LOW:HIGH]... [--guard-khz G] [--ip3 DBW]\n"
    "                        [--seed N] [--effort E]\n"
    "Moves the carriers of the carrier file PLAN so that the third-order intermodulation\n"
    "products do the least harm, writes the plan with the new centres to OUT and prints the\n"
    "analysis before and after as JSON. With --ip3 the lowest C/IM is raised as far as it goes,\n"
    "without it the products hitting carriers are made as few as they can be.\n"
    "  --band LOW HIGH    the band (MHz) every carrier must lie in (default: the view range)\n"
    "  --raster-khz K     centres of moved carriers on whole multiples of K kHz (default 0:\n"
    "                     free, to 10 Hz)\n"
    "  --spacing-khz S    at least S kHz between neighbouring carriers (default 0: they may\n"
    "                     touch)\n"
    "  --lock F           keep carrier F (F-number as in the report) where it is; repeatable\n"
    "  --forbid LOW:HIGH  keep moved carriers out of LOW to HIGH MHz; repeatable\n"
    "  --guard-khz G      widen each carrier's band by G kHz when deciding hits (default 0)\n"
    "  --ip3 DBW          the transponder's output third-order intercept point\n"
    "  --seed N           the random seed (default 1); the same arguments give the same OUT\n"
    "  --effort E         how hard to search (default 1; at most 100)\n"
    "Exit status 1 when the carriers cannot be placed (the message says why); OUT is then\n"
    "not written.\n";

// Integers up to 2^53 read exactly as numbers.
constexpr double largestExactInteger = 9007199254740992.0;

struct PlaceArguments {
    std::string planPath;
    std::string outPath;
    std::optional<FrequencyRange> band;
    PlacementOptions options;
};

bool fail(const std::string& problem)
{
    usageError("place: " + problem, placeUsage);
    return false;
}

bool optionNumber(const std::vector<std::string>& args, std::size_t& i, double& value)
{
    return readFiniteNumber(args, i, value, "place", placeUsage);
}

bool wholeNumber(double value)
{
    return value >= 0.0 && value <= largestExactInteger && std::floor(value) == value;
}

bool readRange(const std::string& text, FrequencyRange& range)
{
    const std::size_t colon = text.find(':');
    return colon != std::string::npos &&
           parseWholeNumber(std::string_view(text).substr(0, colon), range.lowMhz) &&
           parseWholeNumber(std::string_view(text).substr(colon + 1), range.highMhz) &&
           std::isfinite(range.lowMhz) && std::isfinite(range.highMhz);
}

bool readOption(const std::vector<std::string>& args, std::size_t& i, PlaceArguments& read)
{
    const std::string& arg = args[i];
    PlacementOptions& options = read.options;
    double value = 0.0;
    if (arg == "--band") {
        FrequencyRange band;
        if (!optionNumber(args, i, band.lowMhz) || !optionNumber(args, i, band.highMhz))
            return false;
        if (!(band.lowMhz < band.highMhz))
            return fail("--band needs its low end below its high end");
        read.band = band;
    } else if (arg == "--raster-khz" || arg == "--spacing-khz" || arg == "--guard-khz") {
        if (!optionNumber(args, i, value))
            return false;
        if (value < 0.0)
            return fail(arg + " must not be negative");
        (arg == "--raster-khz"    ? options.rasterKhz
         : arg == "--spacing-khz" ? options.spacingKhz
                                  : options.guardKhz) = value;
    } else if (arg == "--ip3") {
        if (!optionNumber(args, i, value))
            return false;
        options.ip3Dbw = value;
    } else if (arg == "--lock") {
        if (!optionNumber(args, i, value))
            return false;
        if (!wholeNumber(value) || value < 1.0 || value > 1e9)
            return fail("--lock needs an F-number, not '" + args[i] + "'");
        options.lockedFNumbers.push_back(static_cast<int>(value));
    } else if (arg == "--forbid") {
        FrequencyRange range;
        if (i + 1 >= args.size() || !readRange(args[i + 1], range))
            return fail("--forbid needs LOW:HIGH in MHz");
        if (!(range.lowMhz < range.highMhz))
            return fail("--forbid needs its low end below its high end");
        options.forbidden.push_back(range);
        ++i;
    } else if (arg == "--seed") {
        if (!optionNumber(args, i, value))
            return false;
        if (!wholeNumber(value))
            return fail("--seed needs a whole number from 0 up, not '" + args[i] + "'");
        options.seed = static_cast<std::uint64_t>(value);
    } else if (arg == "--effort") {
        if (!optionNumber(args, i, value))
            return false;
        options.effort = value;
    } else {
        return fail("unknown argument '" + arg + "'");
    }
    return true;
}

bool readArguments(const std::vector<std::string>& args, PlaceArguments& read)
{
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0) {
            if (!readOption(args, i, read))
                return false;
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2)
        return fail(paths.size() < 2 ? "the carrier file and the file to write are needed"
                                     : "unknown argument '" + paths[2] + "'");
    read.planPath = paths[0];
    read.outPath = paths[1];
    return true;
}

Json figuresDocument(const IntermodAnalysis& analysis)
{
    Json document;
    document["minCimDb"] = optionalJson(analysis.minCimDb);
    document["worstCarrier"] = optionalJson(analysis.worstCarrier);
    document["productsHitting"] = analysis.productsHitting;
    document["hits"] = placementScoreOf(analysis).hits;
    return document;
}

Json resultDocument(const PlacementResult& result, const PlacementOptions& options)
{
    Json document;
    document["before"] = figuresDocument(result.before);
    document["after"] = figuresDocument(result.after);
    Json moved = Json::array();
    for (const MovedCarrier& carrier : result.moved) {
        Json entry;
        entry["f"] = carrier.fNumber;
        entry["label"] = carrier.label;
        entry["fromMhz"] = carrier.fromMhz;
        entry["toMhz"] = carrier.toMhz;
        moved.push_back(std::move(entry));
    }
    document["moved"] = std::move(moved);
    document["seed"] = options.seed;
    document["effort"] = options.effort;
    document["evaluations"] = result.evaluations;
    return document;
}

} // namespace

int runPlace(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(placeUsage, stdout);
        return exitSuccess;
    }
    PlaceArguments read;
    if (!readArguments(args, read))
        return exitUsage;
    CarrierList plan;
    FileReadResult loaded;
    if (!loadPlan(plan, read.planPath, loaded))
        return exitInputFailed;
    PlacementOptions options = read.options;
    const PlacementOptions defaults = defaultPlacementOptions(plan);
    options.bandLowMhz = read.band ? read.band->lowMhz : defaults.bandLowMhz;
    options.bandHighMhz = read.band ? read.band->highMhz : defaults.bandHighMhz;
    const PlacementResult result = placeCarriers(plan, options);
    if (result.refusal) {
        printMessage(result.refusal->text);
        return result.refusal->reason == PlacementRefusalReason::invalidOptions ? exitUsage
                                                                                : exitInputFailed;
    }
    CarrierList placed = result.plan;
    const FileWriteResult written = saveCarrierFile(placed, read.outPath);
    if (!written.written) {
        printMessage(writeResultText(written));
        return exitInputFailed;
    }
    return printDocument(resultDocument(result, options));
}

} // namespace orvane::cli
