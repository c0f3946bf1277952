#include "cli_support.h"

#include "commands.h"
#include "json_output.h"

#include <cstdio>

namespace orvane::cli {

void printMessage(const std::string& text)
{
    std::string line = "orvane-cli: " + text;
    if (line.back() != '\n')
        line += '\n';
    std::fputs(line.c_str(), stderr);
}

int usageError(const std::string& problem, const char* usage)
{
    printMessage(problem);
    std::fputs(usage, stderr);
    return exitUsage;
}

bool wantsHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h")
            return true;
    return false;
}

int printText(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        printMessage("the output could not be written");
        return exitInputFailed;
    }
    return exitSuccess;
}

int printDocument(const nlohmann::ordered_json& document)
{
    return printText(jsonText(document));
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
