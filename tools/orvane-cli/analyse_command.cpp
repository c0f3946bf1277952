#include "commands.h"

#include "analysis/intermod_analysis.h"
#include "analysis/intermod_input.h"
#include "budget_output.h"
#include "cli_support.h"
#include "json_output.h"
#include "model/number_text.h"
#include "report/budget_table.h"
#include "report/intermod_table.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* analyseUsage =
    "Usage: orvane-cli analyse PLAN [--ip3 DBW] [--guard-khz K] [--format json|csv]\n"
    "                   [--transponder-mhz W] [--psat DBW] [--obo DB] [--cn0-sat DBHZ]\n"
    "                   [--max-seconds S]\n"
    "Finds which carriers of the carrier file PLAN the third-order intermodulation products\n"
    "hit and prints one entry per carrier, F-numbers as in the intermodulation report, with\n"
    "the transponder budget: each carrier's power and bandwidth shares, Es/N0, C/(N+IM) and\n"
    "margin over the Es/N0 its modcod needs (null where an input is missing).\n"
    "  --ip3 DBW        the transponder's output third-order intercept point, -1000 to 1000:\n"
    "                   gives each product a level and each carrier its C/IM (without it:\n"
    "                   hits only)\n"
    "  --guard-khz K    widen each carrier's occupied band by K kHz on both sides, 0 to\n"
    "                   1000000 (default 0)\n"
    "  --format F       json (default) or csv\n"
    "  --transponder-mhz W   the transponder bandwidth (default: the plan's view range)\n"
    "  --psat DBW       the saturated output power, on the carriers' power reference\n"
    "  --obo DB         the output back-off of the operating point (default: the carriers'\n"
    "                   total power below the saturated power)\n"
    "  --cn0-sat DBHZ   the thermal C/N0 of one carrier using the whole saturated power\n"
    "  --max-seconds S  give up after S seconds (exit status 1) instead of refusing plans\n"
    "                   estimated to need more work than the analysis takes on by itself\n";

struct AnalyseArguments {
    std::string planPath;
    IntermodOptions options;
    BudgetInputs budget;
    bool csv = false;
    std::optional<double> maxSeconds;
};

bool readOptionNumber(const std::vector<std::string>& args, std::size_t& i, double& value)
{
    return readFiniteNumber(args, i, value, "analyse", analyseUsage);
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
            read.options.guardKhz = value;
        } else if (arg == "--max-seconds") {
            if (!readOptionNumber(args, i, value))
                return false;
            if (!(value > 0.0)) {
                usageError("analyse: --max-seconds must be above 0", analyseUsage);
                return false;
            }
            read.maxSeconds = value;
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
    if (const std::optional<std::string> problem =
            intermodInputProblem(read.options.ip3Dbw, read.options.guardKhz)) {
        usageError("analyse: " + *problem, analyseUsage);
        return false;
    }
    return true;
}

// Sets the cancel flag once the time is up, unless finished first.
class TimeLimit {
public:
    TimeLimit(std::optional<double> seconds, std::atomic<bool>& cancel)
    {
        if (!seconds)
            return;
        const auto limit = std::chrono::duration<double>(*seconds);
        try {
            watcher_ = std::thread([this, limit, &cancel] {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!finished_.wait_for(lock, limit, [this] { return done_; }))
                    cancel = true;
            });
        } catch (const std::system_error&) {
            failed_ = true;
        }
    }
    ~TimeLimit()
    {
        if (!watcher_.joinable())
            return;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        finished_.notify_one();
        watcher_.join();
    }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;
    // No thread could be had to watch the time.
    bool failed() const { return failed_; }

private:
    bool failed_ = false;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread watcher_;
};

Json analysisDocument(const IntermodAnalysis& analysis)
{
    Json document;
    document["ip3Dbw"] = optionalJson(analysis.ip3Dbw);
    document["guardKhz"] = analysis.guardKhz;
    document["products"] = analysis.products;
    document["productsHitting"] = analysis.productsHitting;
    document["worstCarrier"] = optionalJson(analysis.worstCarrier);
    document["minCimDb"] = optionalJson(analysis.minCimDb);
    document["minCimComplete"] = optionalJson(analysis.minCimComplete);
    Json carriers = Json::array();
    for (const CarrierIntermod& carrier : analysis.carriers) {
        Json entry;
        entry["f"] = carrier.fNumber;
        entry["label"] = carrier.label;
        entry["centreFrequencyMhz"] = carrier.centreFrequencyMhz;
        entry["hits2"] = carrier.twoToneHits;
        entry["hits3"] = carrier.threeToneHits;
        entry["imPowerDbw"] = optionalJson(carrier.imPowerDbw);
        entry["cimDb"] = optionalJson(carrier.cimDb);
        entry["complete"] = optionalJson(carrier.complete);
        if (carrier.strongest) {
            Json strongest;
            strongest["label"] = carrier.strongest->label;
            strongest["frequencyMhz"] = carrier.strongest->frequencyMhz;
            strongest["powerDbw"] = optionalJson(carrier.strongest->powerDbw);
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
    std::atomic<bool> cancel{false};
    read.options.cancel = &cancel;
    if (read.maxSeconds)
        read.options.maxEvaluations.reset(); // the time limit says how much work is too much
    IntermodAnalysis analysis;
    {
        const TimeLimit limit(read.maxSeconds, cancel);
        if (limit.failed()) {
            printMessage("The time limit could not be kept: no thread could be started.");
            return exitInputFailed;
        }
        analysis = analyseIntermod(plan, read.options);
    }
    if (analysis.refusal) {
        printMessage(*analysis.refusal);
        return exitInputFailed;
    }
    if (analysis.cancelled) {
        printMessage("The intermodulation analysis did not finish within " +
                     formatShortest(*read.maxSeconds) + " seconds.");
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
