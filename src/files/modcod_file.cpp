#include "files/modcod_file.h"

#include "files/file_reading.h"
#include "files/line_reading.h"
#include "files/text_encoding.h"
#include "model/rounding.h"

#include <cmath>

namespace orvane {

namespace {

constexpr std::string_view modcodKeyword = "MODCOD";

double oneWhenZero(double value)
{
    return value == 0.0 ? 1.0 : value;
}

class ModcodTextReader {
public:
    ModcodTextReader(CarrierList& list, FileReadResult& result) : list_(list), result_(result) {}

    void readLine(std::string_view line, int lineNumber);

private:
    void skip(int lineNumber, const char* reason)
    {
        result_.skipped.push_back({lineNumber, reason});
    }
    void readRolloff(std::string_view text, int lineNumber);
    void readFecEntry(std::string_view text, int lineNumber);
    void readSpectralEntry(std::string_view text, int lineNumber);
    void add(std::string_view label);

    CarrierList& list_;
    FileReadResult& result_;
    int section_ = 0;
    // Every entry is filled into this one record, which is never reset: what an entry does
    // not set keeps the value of the entry before it.
    Carrier working_;
};

void ModcodTextReader::readLine(std::string_view line, int lineNumber)
{
    const std::string_view text = trimSeparators(line);
    if (text.empty())
        return;
    switch (text.front()) {
    case 'C':
        section_ = 0;
        return;
    case 'E':
        section_ = 1;
        return;
    case 'R':
        readRolloff(text, lineNumber);
        return;
    case 'F':
        readFecEntry(text, lineNumber);
        return;
    case 'S':
        readSpectralEntry(text, lineNumber);
        return;
    default:
        return;
    }
}

void ModcodTextReader::readRolloff(std::string_view text, int lineNumber)
{
    const RolloffLine line = readRolloffLine(text);
    if (line.refusal)
        skip(lineNumber, line.refusal);
    else
        list_.currentRolloffFactor = line.factor;
}

void ModcodTextReader::readFecEntry(std::string_view text, int lineNumber)
{
    NumberFields fields(dropLeading(text, "FfSs"));
    const double overheadKbps = fields.next();
    const double order = fields.next();
    const double fecRate = fields.next();
    const double rsN = fields.next();
    const double rsK = fields.next();
    const double paramA = fields.next();
    const double paramB = fields.next();
    if (!fields.allUsable()) {
        skip(lineNumber, "a number is not finite or too large");
        return;
    }
    working_.applyModcodFec(overheadKbps, roundHalfUp(std::fabs(order)), fecRate, oneWhenZero(rsN),
                            oneWhenZero(rsK), list_.currentRolloffFactor, paramA, paramB, section_);
    add(fields.rest());
}

void ModcodTextReader::readSpectralEntry(std::string_view text, int lineNumber)
{
    NumberFields fields(dropLeading(text, "FfSs"));
    const double efficiency = fields.next();
    const double order = fields.next();
    const double fecRate = fields.next();
    const double paramA = fields.next();
    const double paramB = fields.next();
    if (!fields.allUsable()) {
        skip(lineNumber, "a number is not finite or too large");
        return;
    }
    working_.applyModcodSpectral(efficiency, roundHalfUp(std::fabs(order)), fecRate,
                                 list_.currentRolloffFactor, paramA, paramB, section_);
    add(fields.rest());
}

void ModcodTextReader::add(std::string_view label)
{
    working_.label = windows1252ToUtf8(label);
    list_.appendWithoutBounds(working_);
}

} // namespace

std::string noModcodEntriesText(const std::string& path)
{
    return "No modcod entries were found in " + path + ".";
}

FileReadResult readModcodText(CarrierList& list, std::string_view bytes)
{
    FileReadResult result;
    list.isModcodList = 1;
    list.removeAll();
    list.currentRolloffFactor = defaultRolloffFactor;

    LineSplitter lines(bytes);
    std::string_view line;
    if (!lines.next(line) || trimSeparators(line) != modcodKeyword)
        return result;
    if (lines.next(line)) {
        list.title = windows1252ToUtf8(trimSeparators(line));
        list.viewStartMhz = 0.0;
        list.viewStopMhz = 0.0;
        list.clearBoundsForReading();
    }

    ModcodTextReader reader(list, result);
    while (lines.next(line) && !readingMustStop(list, result, lines.lineNumber()))
        reader.readLine(line, lines.lineNumber());
    result.loaded = !list.empty();
    return result;
}

FileReadResult loadModcodFile(CarrierList& list, const std::string& path)
{
    std::string bytes;
    if (std::optional<FileError> error = readWholeFile(path, bytes)) {
        list.isModcodList = 1;
        list.removeAll();
        FileReadResult result;
        result.error = std::move(error);
        return result;
    }
    return readModcodText(list, bytes);
}

} // namespace orvane
