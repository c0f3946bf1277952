#include "cli_support.h"

#include "commands.h"
#include "json_output.h"
#include "model/number_text.h"

#include <cmath>
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

bool readFiniteNumber(const std::vector<std::string>& args, std::size_t& i, double& value,
                      const char* command, const char* usage)
{
    const std::string& option = args[i];
    if (i + 1 >= args.size() || !parseWholeNumber(args[i + 1], value) || !std::isfinite(value)) {
        usageError(std::string(command) + ": " + option + " needs a finite number" +
                       (i + 1 < args.size() ? ", not '" + args[i + 1] + "'" : std::string()),
                   usage);
        return false;
    }
    ++i;
    return true;
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
