#include "commands.h"

#include "files/carrier_file.h"
#include "report/intermod_report.h"

#include <cstdio>

namespace orvane::cli {

namespace {

void printError(const std::string& text)
{
    std::fprintf(stderr, "orvane-cli: %s\n", text.c_str());
}

} // namespace

int runReport(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::fputs("Usage: orvane-cli report PLAN OUT\n"
                   "Writes the intermodulation report of the carrier file PLAN to OUT: HTML when\n"
                   "OUT ends in .htm (any letter case), comma-separated text otherwise.\n",
                   stderr);
        return exitUsage;
    }
    const std::string& planPath = args[0];
    const std::string& reportPath = args[1];

    CarrierList plan;
    const FileReadResult read = loadCarrierFile(plan, planPath);
    if (read.error) {
        printError(fileErrorText(*read.error));
        return exitInputFailed;
    }
    if (!read.skipped.empty())
        printError(skippedLinesText(read.skipped));
    if (!read.loaded) {
        printError(planPath + " holds no carriers.");
        return exitInputFailed;
    }

    const ReportResult result = saveIntermodReport(plan, reportPath);
    if (!result.written) {
        printError(reportResultText(result));
        return exitInputFailed;
    }
    return exitSuccess;
}

} // namespace orvane::cli
