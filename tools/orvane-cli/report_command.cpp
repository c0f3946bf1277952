#include "commands.h"

#include "cli_support.h"
#include "report/intermod_report.h"

#include <cstdio>

namespace orvane::cli {

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
    FileReadResult read;
    if (!loadPlan(plan, planPath, read))
        return exitInputFailed;
    const ReportResult result = saveIntermodReport(plan, reportPath);
    if (!result.written) {
        printMessage(reportResultText(result));
        return exitInputFailed;
    }
    return exitSuccess;
}

} // namespace orvane::cli
