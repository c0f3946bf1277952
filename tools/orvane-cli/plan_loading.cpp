#include "plan_loading.h"

#include <cstdio>

namespace orvane::cli {

void printMessage(const std::string& text)
{
    std::string line = "orvane-cli: " + text;
    if (line.back() != '\n')
        line += '\n';
    std::fputs(line.c_str(), stderr);
}

bool loadPlan(CarrierList& plan, const std::string& path, FileReadResult& result)
{
    result = loadCarrierFile(plan, path);
    if (result.error) {
        printMessage(fileErrorText(*result.error));
        return false;
    }
    if (!result.skipped.empty())
        printMessage(skippedLinesText(result.skipped));
    if (!result.loaded) {
        printMessage(noCarriersFoundText(path));
        return false;
    }
    return true;
}

} // namespace orvane::cli
