#include "commands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* usageText =
    "Usage: orvane-cli COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  dump PLAN [--sort] [--shift MHZ] [--scrunch MHZ]...\n"
    "      Load a carrier file, apply the operations in the order given and print the plan\n"
    "      as one JSON object: its plan-wide values, every carrier with all its values,\n"
    "      edges and power density, and the lines the reader skipped. --sort sorts by\n"
    "      centre frequency, --shift moves every carrier by MHZ, --scrunch places the\n"
    "      carriers side by side from MHZ up.\n"
    "  resave PLAN OUT\n"
    "      Load a carrier file and save it again to OUT as Orvane writes carrier files.\n"
    "  modcod FILE\n"
    "      Print a modcod catalogue (title and entries) as one JSON object.\n"
    "  report PLAN OUT\n"
    "      Write the intermodulation report of a plan: HTML when OUT ends in .htm, else CSV.\n"
    "  image PLAN OUT [--size WxH] [--edges]\n"
    "      Draw the plan (default 801x601) and write OUT as BMP, as PNG when OUT ends in .png,\n"
    "      or as an SVG drawing (texts kept as text) when it ends in .svg.\n"
    "  analyse PLAN [--ip3 DBW] [--guard-khz K] [--format json|csv] [--max-seconds S]\n"
    "          [--transponder-mhz W] [--psat DBW] [--obo DB] [--cn0-sat DBHZ]\n"
    "      Which carriers the intermodulation products hit, with each carrier's C/IM when\n"
    "      the intercept point is given, and the transponder budget (power and bandwidth\n"
    "      shares, Es/N0, C/(N+IM), margin), as JSON or CSV.\n"
    "  place PLAN OUT [--band LOW HIGH] [--raster-khz K] [--spacing-khz S] [--lock F]...\n"
    "        [--forbid LOW:HIGH]... [--guard-khz G] [--ip3 DBW] [--seed N] [--effort E]\n"
    "      Move the carriers that are not locked so that the intermodulation products do\n"
    "      the least harm, write the plan to OUT and print the analysis before and after.\n"
    "  simulate PLAN --amplifier saleh|rapp|table|ip3 [--ibo DB] [--psat DBW] [--ip3 DBW]\n"
    "           [--saleh AA,BA,AP,BP] [--rapp-p P] [--table FILE] [--carriers modulated|tone]\n"
    "           [--seed N] [--precision-db D] [--spectrum OUT.csv]\n"
    "      Drive the transponder's amplifier with the plan's carriers at an operating point:\n"
    "      each carrier's output, intermodulation, C/IM and compression as JSON, and the\n"
    "      output spectrum as CSV.\n"
    "\n"
    "'orvane-cli COMMAND --help' describes one command. JSON goes to standard output,\n"
    "messages to standard error.\n"
    "\n"
    "Exit status: 0 on success, 1 when an input cannot be read or yields nothing,\n"
    "2 for a usage error.\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(usageText, stderr);
        return orvane::cli::exitUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usageText, stdout);
        return orvane::cli::exitSuccess;
    }
    if (command == "dump")
        return orvane::cli::runDump(args);
    if (command == "resave")
        return orvane::cli::runResave(args);
    if (command == "modcod")
        return orvane::cli::runModcod(args);
    if (command == "report")
        return orvane::cli::runReport(args);
    if (command == "image")
        return orvane::cli::runImage(args);
    if (command == "analyse")
        return orvane::cli::runAnalyse(args);
    if (command == "place")
        return orvane::cli::runPlace(args);
    if (command == "simulate")
        return orvane::cli::runSimulate(args);
    std::fprintf(stderr, "orvane-cli: unknown command '%s'\n\n%s", command.c_str(), usageText);
    return orvane::cli::exitUsage;
}
