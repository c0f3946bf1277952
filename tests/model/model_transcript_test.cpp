#include "model/carrier_form_model.h"

#include "model/carrier_list.h"
#include "model/coding_tables.h"
#include "model/entry_text.h"
#include "model/file_number_limit.h"
#include "model/number_text.h"
#include "model/rounding.h"
#include "support/c_locale_printf.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <locale.h>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

// Each file of tests/data/model is a transcript: lines of calls, of carriers built, of edits
// on a carrier list and of edits a user makes on a carrier form, each followed by the model's
// answers ("> " lines). The test replays the lines and compares the answers it gets with the
// file's.
namespace orvane {
namespace {

using test::printfInCLocale;

const std::array<const char*, 14> fieldNames = {
    "centre",   "power",   "dataRate", "symbolRate", "bandwidth", "overheads",  "efficiency",
    "fecValue", "rsRatio", "rolloff",  "rsN",        "rsK",       "modulation", "fec"};

FormField fieldNamed(const std::string& name)
{
    const auto named = std::find(fieldNames.begin(), fieldNames.end(), name);
    EXPECT_NE(named, fieldNames.end()) << "no form field " << name;
    return static_cast<FormField>(named - fieldNames.begin());
}

const char* nameOf(FormField field)
{
    return fieldNames[static_cast<std::size_t>(field)];
}

std::string numbers(const std::vector<double>& values)
{
    std::string text;
    for (double value : values)
        text += printfInCLocale(" %.17g", value);
    return text;
}

std::string describe(const Carrier& c)
{
    return "mode " + std::to_string(c.calcMode) + " symbolRateGiven " +
           std::to_string(c.symbolRateGiven) + " modulation " + std::to_string(c.modulationOrder) +
           " label " + c.label + "\n>  centre power dataRate overheads" +
           numbers({c.centreFrequencyMhz, c.powerDbw, c.dataRateKbps, c.overheadKbps}) +
           "\n>  fec rsN rsK efficiency" +
           numbers({c.fecRate, c.rsN, c.rsK, c.spectralEfficiency}) +
           "\n>  ksps msps bandwidth rolloff" +
           numbers({c.symbolRateKsps, c.symbolRateMsps, c.occupiedBandwidthMhz, c.rolloffFactor}) +
           "\n>  edges symbol edges density" +
           numbers({c.lowerEdgeMhz(), c.upperEdgeMhz(), c.lowerSymbolEdgeMhz(),
                    c.upperSymbolEdgeMhz(), c.powerDensityDbw()}) +
           "\n>  modcod " + std::to_string(c.fromModcod) + " section " +
           std::to_string(c.modcodSection) + numbers({c.modcodParamA, c.modcodParamB});
}

std::string describe(const FormUpdate& update)
{
    std::string text = "rewrites";
    for (const FormRewrite& rewrite : update.rewrites)
        text += std::string(" ") + nameOf(rewrite.box) + "=\"" + rewrite.text + "\"";
    if (update.focus)
        text += std::string(" focus ") + nameOf(*update.focus);
    return text;
}

// Every box's text (with "-" for disabled, "=" for read-only), the lists and the switches.
std::string describe(const CarrierFormModel& form)
{
    std::string text;
    for (int at = 0; at < formBoxCount; ++at) {
        const auto box = static_cast<FormField>(at);
        if (form.has(box))
            text += std::string(form.enabled(box) ? "" : "-") + (form.readOnly(box) ? "=" : "") +
                    nameOf(box) + "=\"" + form.text(box) + "\" ";
    }
    return text + "\n>  modulation " + std::to_string(form.modulationPosition()) +
           (form.enabled(FormField::modulation) ? "" : " (off)") + " fec " +
           std::to_string(form.fecPosition()) + " rs " + (form.reedSolomonOn() ? "on" : "off") +
           " input " + (form.symbolRateIsInput() ? "symbolRate" : "other");
}

double numberIn(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// The numbers of a line's remaining words, read like strtod in the C locale.
std::vector<double> numbersOf(std::istringstream& words)
{
    std::vector<double> values;
    for (std::string word; words >> word;)
        values.push_back(numberIn(word));
    return values;
}

// Sets the carrier up as a building operation named by the line's first word does.
void build(Carrier& c, const std::string& how, std::istringstream& words)
{
    const std::vector<double> v = numbersOf(words);
    const auto n = [&](std::size_t count) { return v.size() == count; };
    if (how == "calcMode" && n(1))
        c.calcMode = static_cast<int>(v[0]);
    else if (how == "rolloffFactor" && n(1))
        c.rolloffFactor = v[0];
    else if (how == "symbolRateGiven" && n(1))
        c.symbolRateGiven = static_cast<int>(v[0]);
    else if (how == "fixedBandwidth" && n(4))
        c.setFixedBandwidth(v[0], v[1], v[2], v[3]);
    else if (how == "fixedSymbolRate" && n(4))
        c.setFixedSymbolRate(v[0], v[1], v[2], v[3]);
    else if (how == "fecFromDataRate" && n(9))
        c.setFecFromDataRate(v[0], v[1], v[2], static_cast<int>(v[3]), v[4], v[5], v[6], v[7],
                             v[8]);
    else if (how == "fecFromSymbolRate" && n(9))
        c.setFecFromSymbolRate(v[0], v[1], v[2], static_cast<int>(v[3]), v[4], v[5], v[6], v[7],
                               v[8]);
    else if (how == "spectralFromDataRate" && n(7))
        c.setSpectralFromDataRate(v[0], v[1], v[2], static_cast<int>(v[3]), v[4], v[5], v[6]);
    else if (how == "spectralFromSymbolRate" && n(7))
        c.setSpectralFromSymbolRate(v[0], v[1], v[2], static_cast<int>(v[3]), v[4], v[5], v[6]);
    else if (how == "reset" && n(0))
        c.resetToDefaults();
    else if (how == "modcodFec" && n(9))
        c.applyModcodFec(v[0], static_cast<int>(v[1]), v[2], v[3], v[4], v[5], v[6], v[7],
                         static_cast<int>(v[8]));
    else if (how == "modcodSpectral" && n(7))
        c.applyModcodSpectral(v[0], static_cast<int>(v[1]), v[2], v[3], v[4], v[5],
                              static_cast<int>(v[6]));
    else
        ADD_FAILURE() << "cannot build a carrier by " << how;
}

std::string shown(double value)
{
    return printfInCLocale("%.17g", value);
}

template <typename Number> std::string shown(const std::optional<Number>& value)
{
    return value ? shown(static_cast<double>(*value)) : "none";
}

// A call of one of the model's small functions, or none when the line is no such call.
std::optional<std::string> callAnswer(const std::string& line)
{
    std::istringstream words(line);
    std::string call;
    words >> call;
    if (const auto quote = line.find('"'); quote != std::string::npos) {
        const std::string text = line.substr(quote + 1, line.rfind('"') - quote - 1);
        if (call == "entry")
            return "number " + shown(readEntryNumber(text)) + " integer " +
                   shown(readEntryInteger(text)) + " leading " +
                   std::to_string(leadingInteger(text));
        if (double value = 0.0; call == "parseWholeNumber")
            return parseWholeNumber(text, value) ? shown(value) : "refused";
        if (call == "prefix") {
            const NumberPrefix prefix = readNumberPrefix(text);
            return "value " + shown(prefix.value) + " consumed " + std::to_string(prefix.consumed) +
                   (prefix.outOfRange ? " out of range" : "");
        }
        return std::nullopt;
    }
    using Call = std::function<std::string(const std::vector<double>& x)>;
    static const std::map<std::string, Call> calls = {
        {"formatGeneral", [](const auto& x) { return formatGeneral(x.at(0)); }},
        {"formatShortest", [](const auto& x) { return formatShortest(x.at(0)); }},
        {"formatInteger", [](const auto& x) { return formatInteger(int(x.at(0))); }},
        {"roundHalfUp", [](const auto& x) { return std::to_string(roundHalfUp(x.at(0))); }},
        {"roundHalfUpExact", [](const auto& x) { return shown(roundHalfUpExact(x.at(0))); }},
        {"roundToDecimals",
         [](const auto& x) { return shown(roundToDecimals(x[0], int(x.at(1)))); }},
        {"integerPower", [](const auto& x) { return shown(integerPower(x[0], int(x.at(1)))); }},
        {"fecRateIndex", [](const auto& x) { return std::to_string(fecRateIndex(x.at(0))); }},
        {"modulationPosition",
         [](const auto& x) { return std::to_string(modulationPosition(int(x.at(0)))); }},
        {"fitsInFile", [](const auto& x) { return fitsInFile(x.at(0)) ? "yes" : "no"; }},
        {"rolloffPercentFromFactor",
         [](const auto& x) { return std::to_string(rolloffPercentFromFactor(x.at(0))); }},
        {"bitsPerSymbol",
         [](const auto& x) { return std::to_string(bitsPerSymbol(int(x.at(0)))); }},
        {"powerOfTwo",
         [](const auto& x) { return std::to_string(powerOfTwo(static_cast<unsigned>(x.at(0)))); }}};
    const auto found = calls.find(call);
    return found == calls.end() ? std::nullopt : std::optional(found->second(numbersOf(words)));
}

// Lowest and highest edge, then level floor and ceiling.
std::string bounds(const CarrierList& list)
{
    return formatGeneral(list.lowestEdgeMhz(), 10) + ".." +
           formatGeneral(list.highestEdgeMhz(), 10) + " " + formatGeneral(list.levelFloor(), 10) +
           ".." + formatGeneral(list.levelCeiling(), 10);
}

using Places = std::map<std::string, CarrierPosition>;

// An edit of the carrier list, answered by the bounds the list then has and, when a full
// recomputation would give others, those. A place is an index, or a name ("@C") that "keep"
// gave the place at an index.
std::string listAnswer(CarrierList& list, Places& kept, const Carrier& carrier,
                       const std::string& edit, std::istringstream& words)
{
    std::string place;
    words >> place;
    const auto positionAt = [&](const std::string& name) {
        return name[0] == '@' ? std::optional(kept[name]) : list.findIndex(std::stoi(name));
    };
    double number = 0.0;
    if (edit == "new") {
        list = CarrierList();
    } else if (edit == "append") {
        for (int count = place.empty() ? 1 : std::stoi(place); count > 0; --count)
            list.append(carrier);
    } else if (edit == "appendWithoutBounds") {
        list.appendWithoutBounds(carrier);
    } else if (edit == "keep" && words >> number) {
        kept[place] = *list.findIndex(static_cast<int>(number));
    } else if (edit == "at") {
        const std::optional<CarrierPosition> position = positionAt(place);
        const std::optional<int> index = position ? list.indexOf(*position) : std::nullopt;
        return position ? "\"" + list.at(*position).label + "\" at " +
                              (index ? std::to_string(*index) : "no index")
                        : "no place";
    } else if (edit == "replace") {
        list.replaceAt(*positionAt(place), carrier);
    } else if (edit == "remove") {
        list.removeAt(*positionAt(place));
    } else if (edit == "removeAll") {
        list.removeAll();
    } else if (edit == "update") {
        list.updateBounds();
    } else if (edit == "shift" || edit == "scrunch") {
        edit == "shift" ? list.shift(std::stod(place)) : list.scrunch(std::stod(place));
    } else if (edit == "sort") {
        list.sortByFrequency();
    } else if (edit == "show") {
        std::string shown = std::to_string(list.count()) + ":";
        for (const Carrier& each : list)
            shown += " " + each.label + "@" + formatGeneral(each.centreFrequencyMhz, 10);
        return shown;
    } else {
        return "unknown list edit";
    }
    CarrierList recomputed = list;
    recomputed.updateBounds();
    return bounds(list) +
           (bounds(recomputed) == bounds(list) ? "" : " recomputed " + bounds(recomputed));
}

struct Session {
    std::optional<CarrierFormModel> form;
    Carrier carrier;
    CarrierList list;
    Places kept;
};

std::string answerOf(Session& session, const std::string& line)
{
    if (std::optional<std::string> answer = callAnswer(line))
        return *answer;
    std::optional<CarrierFormModel>& form = session.form;
    Carrier& carrier = session.carrier;
    std::istringstream words(line);
    words.imbue(std::locale::classic());
    std::string command;
    std::string argument;
    words >> command >> argument;
    if (command == "list")
        return listAnswer(session.list, session.kept, carrier, argument, words);
    if (command == "carrier") {
        if (argument == "new")
            carrier = Carrier{};
        else if (argument == "label")
            words >> carrier.label;
        else
            build(carrier, argument, words);
        return describe(carrier);
    }
    if (command == "open") {
        const CalcMode mode = argument == "fixed" ? calcModeFixed
                              : argument == "fec" ? calcModeFec
                                                  : calcModeSpectral;
        form.emplace(carrier, mode);
        return describe(*form);
    }
    if (!form)
        return "no form open";
    if (command == "show")
        return describe(*form);
    if (command == "type") {
        const auto quote = line.find('"');
        return describe(
            form->typed(fieldNamed(argument), line.substr(quote + 1, line.rfind('"') - quote - 1)));
    }
    if (command == "modulation")
        return describe(form->modulationChosen(std::stoi(argument)));
    if (command == "fec")
        return describe(
            form->fecChosen(argument == "other" ? fecOtherPosition : std::stoi(argument)));
    if (command == "rs")
        return describe(form->reedSolomonTicked(argument == "on"));
    if (command == "input") {
        form->inputChosen(argument == "symbolRate");
        return describe(*form);
    }
    if (command == "accept") {
        const FormAcceptance accepted = form->accept();
        if (accepted.problem)
            return describe(accepted.update) + "\n>  refused at " +
                   nameOf(accepted.problem->field) + ": " + accepted.problem->message;
        return describe(accepted.update) + "\n>  " + describe(accepted.carrier);
    }
    return "unknown command";
}

std::string replay(const std::string& transcript)
{
    std::istringstream lines(transcript);
    Session session;
    std::string replayed;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(">", 0) == 0)
            continue;
        replayed += line + "\n";
        if (line.empty() || line[0] == '#')
            continue;
        replayed += "> " + answerOf(session, line) + "\n";
    }
    return replayed;
}

class ModelTranscript : public ::testing::TestWithParam<std::string> {};

TEST_P(ModelTranscript, GivesTheRecordedAnswers)
{
    const std::string name = "model/" + GetParam();
    test::expectGolden(replay(test::dataFile(name)), name);
}

INSTANTIATE_TEST_SUITE_P(Transcripts, ModelTranscript,
                         ::testing::ValuesIn(test::dataFiles("model", ".txt")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

} // namespace
} // namespace orvane
