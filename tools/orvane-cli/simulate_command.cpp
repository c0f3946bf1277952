#include "commands.h"

#include "amplifier/amplifier_simulation.h"
#include "amplifier/output_spectrum.h"
#include "cli_support.h"
#include "model/number_text.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <limits>

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* simulateUsage =
    "Usage: orvane-cli simulate PLAN --amplifier saleh|rapp|table|ip3 [--ibo DB] [--psat DBW]\n"
    "         [--ip3 DBW] [--saleh AA,BA,AP,BP] [--rapp-p P] [--table FILE]\n"
    "         [--carriers modulated|tone] [--seed N] [--precision-db D] [--spectrum OUT.csv]\n"
    "Drives the transponder's amplifier with the carriers of the carrier file PLAN and prints\n"
    "each carrier's output power, intermodulation power in its symbol-rate band, C/IM and\n"
    "compression, F-numbers as in the intermodulation report.\n"
    "  --amplifier A      saleh: travelling-wave tube (Saleh's model); rapp: solid-state\n"
    "                     amplifier; table: a measured curve; ip3: the analysis's cubic model\n"
    "  --ibo DB           input back-off of the whole load from single-carrier saturation,\n"
    "                     -30 to 100 (default 10; not for ip3, which takes the plan's powers)\n"
    "  --psat DBW         saturated output power (default 0; not for ip3)\n"
    "  --ip3 DBW          output third-order intercept point of the ip3 model (needed there)\n"
    "  --saleh AA,BA,AP,BP  the tube's four parameters (default 2.1587,1.1517,4.0033,9.1040)\n"
    "  --rapp-p P         the solid-state amplifier's smoothness, above 0 (default 2)\n"
    "  --table FILE       CSV lines of input dB, output dB (both relative to single-carrier\n"
    "                     saturation) and phase degrees, the input running one way\n"
    "  --carriers C       modulated (default): random symbols of each carrier's modulation,\n"
    "                     root-raised-cosine shaped; tone: every carrier an unmodulated tone\n"
    "  --seed N           the random numbers' seed, 0 or more (default 1): a seed repeats\n"
    "  --precision-db D   average until every C/IM is known to within D dB at 95 % (default\n"
    "                     0.2); a larger D is quicker\n"
    "  --spectrum FILE    write the output spectrum (frequencyMhz,dbwPerKhz) as CSV\n";

struct SimulateArguments {
    std::string planPath;
    std::string spectrumPath;
    std::string tablePath;
    SimulationOptions options;
    bool amplifierGiven = false;
    bool ip3Given = false;
    std::vector<std::string> givenOptions; // the model-specific options used
};

bool fail(const std::string& problem)
{
    usageError("simulate: " + problem, simulateUsage);
    return false;
}

// The option's value; false with the message printed when there is none.
bool readValue(const std::vector<std::string>& args, std::size_t& i, std::string& value)
{
    if (i + 1 >= args.size())
        return fail(args[i] + " needs a value");
    value = args[++i];
    return true;
}

bool readNumber(const std::vector<std::string>& args, std::size_t& i, double& value)
{
    std::string text;
    if (!readValue(args, i, text))
        return false;
    if (!parseWholeNumber(text, value) || !std::isfinite(value))
        return fail(args[i - 1] + " needs a finite number, not '" + text + "'");
    return true;
}

bool readSeed(const std::string& text, std::uint64_t& seed)
{
    if (text.empty() || text.size() > 20)
        return false;
    unsigned long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (std::numeric_limits<unsigned long long>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    seed = value;
    return true;
}

bool readSalehParameters(const std::string& text, SalehParameters& parameters)
{
    double values[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 3) != (comma != std::string::npos))
            return false;
        const std::string part =
            text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (!parseWholeNumber(part, values[i]) || !std::isfinite(values[i]))
            return false;
        start = comma + 1;
    }
    parameters = {values[0], values[1], values[2], values[3]};
    return true;
}

bool readOption(const std::vector<std::string>& args, std::size_t& i, SimulateArguments& read)
{
    const std::string& arg = args[i];
    AmplifierModel& model = read.options.amplifier;
    std::string text;
    if (arg == "--amplifier") {
        if (!readValue(args, i, text))
            return false;
        const std::optional<AmplifierKind> kind = amplifierKindNamed(text);
        if (!kind || *kind == AmplifierKind::linear)
            return fail("--amplifier is saleh, rapp, table or ip3, not '" + text + "'");
        model.kind = *kind;
        read.amplifierGiven = true;
        return true;
    }
    if (arg == "--ibo" || arg == "--psat" || arg == "--ip3" || arg == "--rapp-p" ||
        arg == "--precision-db") {
        double value = 0.0;
        if (!readNumber(args, i, value))
            return false;
        if (arg == "--ibo") {
            read.options.inputBackoffDb = value;
        } else if (arg == "--psat") {
            model.saturatedOutputDbw = value;
        } else if (arg == "--ip3") {
            model.ip3Dbw = value;
            read.ip3Given = true;
        } else if (arg == "--rapp-p") {
            if (!(value > 0.0))
                return fail("--rapp-p must be above 0");
            model.rappSmoothness = value;
        } else {
            if (!(value > 0.0))
                return fail("--precision-db must be above 0");
            read.options.precisionDb = value;
        }
        read.givenOptions.push_back(arg);
        return true;
    }
    if (arg == "--saleh") {
        if (!readValue(args, i, text))
            return false;
        if (!readSalehParameters(text, model.saleh))
            return fail("--saleh needs four finite numbers AA,BA,AP,BP, not '" + text + "'");
        read.givenOptions.push_back(arg);
        return true;
    }
    if (arg == "--table" || arg == "--spectrum") {
        if (!readValue(args, i, text))
            return false;
        (arg == "--table" ? read.tablePath : read.spectrumPath) = text;
        if (arg == "--table")
            read.givenOptions.push_back(arg);
        return true;
    }
    if (arg == "--carriers") {
        if (!readValue(args, i, text))
            return false;
        if (text != "modulated" && text != "tone")
            return fail("--carriers is modulated or tone, not '" + text + "'");
        read.options.signals = text == "tone" ? CarrierSignals::tones : CarrierSignals::modulated;
        return true;
    }
    if (arg == "--seed") {
        if (!readValue(args, i, text))
            return false;
        if (!readSeed(text, read.options.seed))
            return fail("--seed needs a whole number from 0 up, not '" + text + "'");
        return true;
    }
    if (arg.rfind("--", 0) == 0 || !read.planPath.empty())
        return fail("unknown argument '" + arg + "'");
    read.planPath = arg;
    return true;
}

// Options that belong to another amplifier are refused rather than silently ignored.
bool optionsFitTheAmplifier(const SimulateArguments& read)
{
    const AmplifierKind kind = read.options.amplifier.kind;
    for (const std::string& option : read.givenOptions) {
        const bool fits =
            option == "--precision-db" || (option == "--ip3"      ? kind == AmplifierKind::ip3
                                           : option == "--saleh"  ? kind == AmplifierKind::saleh
                                           : option == "--rapp-p" ? kind == AmplifierKind::rapp
                                           : option == "--table"  ? kind == AmplifierKind::table
                                                                  : hasOperatingPoint(kind));
        if (!fits)
            return fail(option + " does not apply to the " + std::string(amplifierKindName(kind)) +
                        " amplifier");
    }
    return true;
}

bool readArguments(const std::vector<std::string>& args, SimulateArguments& read)
{
    for (std::size_t i = 0; i < args.size(); ++i)
        if (!readOption(args, i, read))
            return false;
    if (read.planPath.empty())
        return fail("the carrier file is missing");
    if (!read.amplifierGiven)
        return fail("--amplifier is missing");
    if (!optionsFitTheAmplifier(read))
        return false;
    AmplifierModel& model = read.options.amplifier;
    if (model.kind == AmplifierKind::ip3 && !read.ip3Given)
        return fail("the ip3 amplifier needs --ip3 DBW");
    if (model.kind == AmplifierKind::table) {
        if (read.tablePath.empty())
            return fail("the table amplifier needs --table FILE");
        const AmplifierTableRead table = loadAmplifierTable(read.tablePath);
        if (!table.table)
            return fail(table.problem);
        model.table = *table.table;
    }
    const double ibo = read.options.inputBackoffDb;
    if (ibo < lowestInputBackoffDb || ibo > highestInputBackoffDb)
        return fail("--ibo must be from " + formatGeneral(lowestInputBackoffDb) + " to " +
                    formatGeneral(highestInputBackoffDb) + " dB");
    if (const std::optional<std::string> problem = amplifierModelProblem(model))
        return fail(*problem);
    return true;
}

// Statistical figures to 0.001 dB.
Json decibels(const std::optional<double>& value)
{
    return value ? Json(std::round(*value * 1000.0) / 1000.0) : Json(nullptr);
}

Json simulationDocument(const AmplifierSimulation& simulation)
{
    Json document;
    document["amplifier"] = std::string(amplifierKindName(simulation.amplifier));
    document["iboDb"] = decibels(simulation.inputBackoffDb);
    document["oboDb"] = decibels(simulation.outputBackoffDb);
    document["totalOutputDbw"] = decibels(simulation.totalOutputDbw);
    document["precisionDb"] = decibels(simulation.precisionDb);
    Json carriers = Json::array();
    for (const SimulatedCarrier& carrier : simulation.carriers) {
        Json entry;
        entry["f"] = carrier.fNumber;
        entry["label"] = carrier.label;
        entry["centreFrequencyMhz"] = carrier.centreFrequencyMhz;
        entry["outputPowerDbw"] = decibels(carrier.outputPowerDbw);
        entry["imPowerDbw"] = decibels(carrier.imPowerDbw);
        entry["cimDb"] = decibels(carrier.cimDb);
        entry["compressionDb"] = decibels(carrier.compressionDb);
        carriers.push_back(std::move(entry));
    }
    document["carriers"] = std::move(carriers);
    return document;
}

} // namespace

int runSimulate(const std::vector<std::string>& args)
{
    if (wantsHelp(args)) {
        std::fputs(simulateUsage, stdout);
        return exitSuccess;
    }
    SimulateArguments read;
    if (!readArguments(args, read))
        return exitUsage;
    CarrierList plan;
    FileReadResult loaded;
    if (!loadPlan(plan, read.planPath, loaded))
        return exitInputFailed;
    read.options.wantSpectrum = !read.spectrumPath.empty();
    const AmplifierSimulation simulation = simulateAmplifier(plan, read.options);
    if (simulation.refusal) {
        printMessage(*simulation.refusal);
        return exitInputFailed;
    }
    if (!simulation.precisionReached)
        printMessage(
            "the C/IM figures hold to within " + formatFixed(simulation.precisionDb, 0, 2) +
            " dB only: " + formatInteger(simulation.trials) + " frames is as many as are averaged");
    if (!read.spectrumPath.empty()) {
        if (const std::optional<FileError> error =
                saveOutputSpectrum(simulation.spectrum, read.spectrumPath)) {
            printMessage(fileErrorText(*error));
            return exitInputFailed;
        }
    }
    return printDocument(simulationDocument(simulation));
}

} // namespace orvane::cli
