#include "commands.h"

#include "analysis/intermod_analysis.h"
#include "budget_output.h"
#include "cli_support.h"
#include "model/number_text.h"
#include "report/budget_table.h"
#include "report/intermod_table.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* analyseUsage =
    "Usage: orvane-cli analyse PLAN [--ip3 DBW] [--guard-khz K] [--format json|csv]\n"
    "                   [--transponder-mhz W] [--psat DBW] [--obo DB] [--cn0-sat DBHZ]\n"
    "Finds which carriers of the carrier file PLAN the third-order intermodulation products\n"
    "hit and prints one entry per carrier, F-numbers as in the intermodulation report, with\n"
    "the transponder budget: each carrier's power and bandwidth shares, Es/N0, C/(N+IM) and\n"
    "margin over the Es/N0 its modcod needs (null where an input is missing).\n"
    "  --ip3 DBW        the transponder's output third-order intercept point: gives each\n"
    "                   product a level and each carrier its C/IM (without it: hits only)\n"
    "  --guard-khz K    widen each carrier's occupied band by K kHz on both sides (default 0)\n"
    "  --format F       json (default) or csv\n"
    "  --transponder-mhz W   the transponder bandwidth (default: the plan's view range)\n"
    "  --psat DBW       the saturated output power, on the carriers' power reference\n"
    "  --obo DB         the output back-off of the operating point (default: the carriers'\n"
    "                   total power below the saturated power)\n"
    "  --cn0-sat DBHZ   the thermal C/N0 of one carrier using the whole saturated power\n";

struct AnalyseArguments {
    std::string planPath;
    IntermodOptions options;
    BudgetInputs budget;
    bool csv = false;
};

// A finite number from an option's value; false with the message printed otherwise.
bool readOptionNumber(const std::vector<std::string>& args, std::size_t& i, double& value)
{
    const std::string& option = args[i];
    if (i + 1 >= args.size() || !parseWholeNumber(args[i + 1], value) || !std::isfinite(value)) {
        usageError("analyse: " + option + " needs a finite number" +
                       (i + 1 < args.size() ? ", not '" + args[i + 1] + "'" : std::string()),
                   analyseUsage);
        return false;
    }
    ++i;
    return true;
}

bool readArguments(const std::vector<std::string>& args, AnalyseArguments& read)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        double value = 0.0;
        if (arg == "--ip3") {
            if (!readOptionNumber(args, i, value))
                return false;
            read.options.ip3Dbw = value;
        } else if (arg == "--guard-khz") {
            if (!readOptionNumber(args, i, value))
                return false;
            if (value < 0.0) {
                usageError("analyse: --guard-khz must not be negative", analyseUsage);
                return false;
            }
            read.options.guardKhz = value;
        } else if (arg == "--format") {
            if (i + 1 >= args.size() || (args[i + 1] != "json" && args[i + 1] != "csv")) {
                usageError("analyse: --format is json or csv", analyseUsage);
                return false;
            }
            read.csv = args[++i] == "csv";
        } else if (isBudgetOption(arg)) {
            if (!readBudgetOption(args, i, read.budget, analyseUsage))
                return false;
        } else if (arg.rfind("--", 0) == 0 || !read.planPath.empty()) {
            usageError("analyse: unknown argument '" + arg + "'", analyseUsage);
            return false;
        } else {
            read.planPath = arg;
        }
    }
    if (read.planPath.empty()) {
        usageError("analyse: the carrier file is missing", analyseUsage);
        return false;
    }
    return true;
}

Json optionalNumber(const std::optional<double>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json analysisDocument(const IntermodAnalysis& analysis)
{
    Json document;
    document["ip3Dbw"] = optionalNumber(analysis.ip3Dbw);
    document["guardKhz"] = analysis.guardKhz;
    document["products"] = analysis.products;
    document["productsHitting"] = analysis.productsHitting;
    document["worstCarrier"] = analysis.worstCarrier ? Json(*analysis.worstCarrier) : Json(nullptr);
    document["minCimDb"] = optionalNumber(analysis.minCimDb);
    Json carriers = Json::array();
    for (const CarrierIntermod& carrier : analysis.carriers) {
        Json entry;
        entry["f"] = carrier.fNumber;
        entry["label"] = carrier.label;
        entry["centreFrequencyMhz"] = carrier.centreFrequencyMhz;
        entry["hits2"] = carrier.twoToneHits;
        entry["hits3"] = carrier.threeToneHits;
        entry["imPowerDbw"] = optionalNumber(carrier.imPowerDbw);
        entry["cimDb"] = optionalNumber(carrier.cimDb);
        entry["complete"] = carrier.complete ? Json(*carrier.complete) : Json(nullptr);
        if (carrier.strongest) {
            Json strongest;
            strongest["label"] = carrier.strongest->label;
            strongest["frequencyMhz"] = carrier.strongest->frequencyMhz;
            strongest["powerDbw"] = optionalNumber(carrier.strongest->powerDbw);
            entry["strongest"] = std::move(strongest);
        } else {
            entry["strongest"] = nullptr;
        }
        carriers.push_back(std::move(entry));
    }
    document["carriers"] = std::move(carriers);
    return document;
}

} // namespace

int runAnalyse(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(analyseUsage, stdout);
        return exitSuccess;
    }
    AnalyseArguments read;
    if (!readArguments(args, read))
        return exitUsage;
    CarrierList plan;
    FileReadResult loaded;
    if (!loadPlan(plan, read.planPath, loaded))
        return exitInputFailed;
    const IntermodAnalysis analysis = analyseIntermod(plan, read.options);
    if (analysis.refusal) {
        printMessage(*analysis.refusal);
        return exitInputFailed;
    }
    const TransponderBudget budget =
        computeTransponderBudget(plan, read.budget, interferenceFromAnalysis(analysis));
    if (read.csv)
        return printText(intermodBudgetCsv(analysis, budget));
    Json document = analysisDocument(analysis);
    addBudget(document, budget);
    return printDocument(document);
}

} // namespace orvane::cli
