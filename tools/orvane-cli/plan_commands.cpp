#include "commands.h"

#include "cli_support.h"

#include "files/carrier_file.h"
#include "files/modcod_file.h"
#include "model/number_text.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* dumpUsage =
    "Usage: orvane-cli dump PLAN [--sort] [--shift MHZ] [--scrunch MHZ]...\n"
    "Loads the carrier file PLAN, applies the operations in the order given and prints the\n"
    "plan as one JSON object on standard output.\n"
    "  --sort          sort the carriers by centre frequency\n"
    "  --shift MHZ     move every carrier by MHZ (a carrier moved below 0 MHz is mirrored)\n"
    "  --scrunch MHZ   sort, then place the carriers edge to edge from MHZ up\n";
constexpr const char* resaveUsage =
    "Usage: orvane-cli resave PLAN OUT\n"
    "Loads the carrier file PLAN and saves it to OUT as Orvane writes carrier files.\n";
constexpr const char* modcodUsage =
    "Usage: orvane-cli modcod FILE\n"
    "Reads the modcod catalogue FILE and prints its entries as one JSON object.\n";

Json carrierFields(const Carrier& carrier)
{
    Json fields;
    fields["spectralEfficiency"] = carrier.spectralEfficiency;
    fields["label"] = carrier.label;
    fields["powerDbw"] = carrier.powerDbw;
    fields["modcodParamB"] = carrier.modcodParamB;
    fields["modcodParamA"] = carrier.modcodParamA;
    fields["modcodSection"] = carrier.modcodSection;
    fields["fromModcod"] = carrier.fromModcod;
    fields["symbolRateGiven"] = carrier.symbolRateGiven;
    fields["calcMode"] = carrier.calcMode;
    fields["symbolRateMsps"] = carrier.symbolRateMsps;
    fields["occupiedBandwidthMhz"] = carrier.occupiedBandwidthMhz;
    fields["rolloffFactor"] = carrier.rolloffFactor;
    fields["centreFrequencyMhz"] = carrier.centreFrequencyMhz;
    fields["dataRateKbps"] = carrier.dataRateKbps;
    fields["overheadKbps"] = carrier.overheadKbps;
    fields["rsN"] = carrier.rsN;
    fields["rsK"] = carrier.rsK;
    fields["fecRate"] = carrier.fecRate;
    fields["modulationOrder"] = carrier.modulationOrder;
    fields["symbolRateKsps"] = carrier.symbolRateKsps;
    return fields;
}

Json planCarrier(const Carrier& carrier)
{
    Json fields = carrierFields(carrier);
    fields["lowerEdgeMhz"] = carrier.lowerEdgeMhz();
    fields["upperEdgeMhz"] = carrier.upperEdgeMhz();
    fields["lowerSymbolEdgeMhz"] = carrier.lowerSymbolEdgeMhz();
    fields["upperSymbolEdgeMhz"] = carrier.upperSymbolEdgeMhz();
    fields["powerDensityDbw"] = carrier.powerDensityDbw();
    return fields;
}

Json skippedLines(const std::vector<SkippedLine>& skipped)
{
    Json lines = Json::array();
    for (const SkippedLine& line : skipped) {
        Json entry;
        entry["line"] = line.lineNumber;
        entry["reason"] = line.reason;
        lines.push_back(std::move(entry));
    }
    return lines;
}

struct PlanOperation {
    enum Kind { sort, shift, scrunch } kind;
    double mhz = 0.0;
};

// Reads the operations after the plan; false (with the message printed) on a usage error.
bool readOperations(const std::vector<std::string>& args, std::vector<PlanOperation>& operations)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--sort") {
            operations.push_back({PlanOperation::sort});
            continue;
        }
        if (arg != "--shift" && arg != "--scrunch") {
            usageError("dump: unknown argument '" + arg + "'", dumpUsage);
            return false;
        }
        double mhz = 0.0;
        if (i + 1 >= args.size() || !parseWholeNumber(args[i + 1], mhz) || !std::isfinite(mhz)) {
            usageError("dump: " + arg + " needs a frequency in MHz", dumpUsage);
            return false;
        }
        ++i;
        operations.push_back(
            {arg == "--shift" ? PlanOperation::shift : PlanOperation::scrunch, mhz});
    }
    return true;
}

} // namespace

int runDump(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(dumpUsage, stdout);
        return exitSuccess;
    }
    if (args.empty() || args.front().rfind("--", 0) == 0)
        return usageError("dump: the carrier file is missing", dumpUsage);
    std::vector<PlanOperation> operations;
    if (!readOperations(args, operations))
        return exitUsage;

    CarrierList plan;
    FileReadResult read;
    if (!loadPlan(plan, args.front(), read))
        return exitInputFailed;
    for (const PlanOperation& operation : operations) {
        if (operation.kind == PlanOperation::sort)
            plan.sortByFrequency();
        else if (operation.kind == PlanOperation::shift)
            plan.shift(operation.mhz);
        else
            plan.scrunch(operation.mhz);
    }

    Json document;
    document["title"] = plan.title;
    document["viewStartMhz"] = plan.viewStartMhz;
    document["viewStopMhz"] = plan.viewStopMhz;
    document["lowestEdgeMhz"] = plan.lowestEdgeMhz();
    document["highestEdgeMhz"] = plan.highestEdgeMhz();
    document["levelFloor"] = plan.levelFloor();
    document["levelCeiling"] = plan.levelCeiling();
    document["currentRolloffFactor"] = plan.currentRolloffFactor;
    document["isModcodList"] = plan.isModcodList;
    Json carriers = Json::array();
    for (const Carrier& carrier : plan)
        carriers.push_back(planCarrier(carrier));
    document["carriers"] = std::move(carriers);
    document["skipped"] = skippedLines(read.skipped);
    return printDocument(document);
}

int runResave(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(resaveUsage, stdout);
        return exitSuccess;
    }
    if (args.size() != 2)
        return usageError("resave: needs the carrier file and the file to write", resaveUsage);
    CarrierList plan;
    FileReadResult read;
    if (!loadPlan(plan, args[0], read))
        return exitInputFailed;
    const FileWriteResult written = saveCarrierFile(plan, args[1]);
    if (!written.written) {
        printMessage(writeResultText(written));
        return exitInputFailed;
    }
    return exitSuccess;
}

int runModcod(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(modcodUsage, stdout);
        return exitSuccess;
    }
    if (args.size() != 1)
        return usageError("modcod: needs exactly one modcod file", modcodUsage);
    CarrierList catalogue;
    const FileReadResult read = loadModcodFile(catalogue, args[0]);
    if (read.error) {
        printMessage(fileErrorText(*read.error));
        return exitInputFailed;
    }
    if (!read.skipped.empty())
        printMessage(skippedLinesText(read.skipped));
    if (!read.loaded) {
        printMessage(noModcodEntriesText(args[0]));
        return exitInputFailed;
    }
    Json document;
    document["title"] = catalogue.title;
    document["isModcodList"] = catalogue.isModcodList;
    Json entries = Json::array();
    for (const Carrier& entry : catalogue)
        entries.push_back(carrierFields(entry));
    document["entries"] = std::move(entries);
    document["skipped"] = skippedLines(read.skipped);
    return printDocument(document);
}

} // namespace orvane::cli
