#include "files/carrier_file.h"

#include "files/file_reading.h"
#include "files/line_reading.h"
#include "files/safe_file_writer.h"
#include "files/text_encoding.h"
#include "model/number_text.h"
#include "model/program_identity.h"
#include "model/rounding.h"

#include <charconv>
#include <cmath>

namespace orvane {

namespace {

constexpr const char* lineEnd = "\r\n";
// A power above this is a level worth writing; -999 marks a carrier without one.
constexpr double writtenLevelThresholdDbw = -998.0;
// The skipped-lines message names at most this many lines, so that a garbage file still
// gives a message that fits on the screen.
constexpr std::size_t mostSkippedLinesNamed = 20;

class CarrierTextReader {
public:
    CarrierTextReader(CarrierList& list, FileReadResult& result) : list_(list), result_(result) {}

    void readLine(std::string_view line, int lineNumber);

private:
    void skip(int lineNumber, const char* reason)
    {
        result_.skipped.push_back({lineNumber, reason});
    }
    void readViewRange(std::string_view text, int lineNumber);
    void readRolloff(std::string_view text, int lineNumber);
    void readFecCarrier(std::string_view text, int lineNumber);
    void readSpectralCarrier(std::string_view text, int lineNumber);
    void readFixedCarrier(std::string_view text, int lineNumber);
    double readPower(NumberFields& fields) const
    {
        return levelMode_ ? fields.next() : noPowerLevelDbw;
    }
    void add(Carrier& carrier, std::string_view label, int lineNumber);

    CarrierList& list_;
    FileReadResult& result_;
    bool levelMode_ = false;
};

void CarrierTextReader::readLine(std::string_view line, int lineNumber)
{
    const std::string_view text = trimSeparators(line);
    if (text.empty())
        return;
    switch (text.front()) {
    case '/':
    case ';':
        return;
    case 'F':
    case 'f':
        readViewRange(text, lineNumber);
        return;
    case 'L':
    case 'l':
        levelMode_ = true;
        return;
    case 'R':
    case 'r':
        readRolloff(text, lineNumber);
        return;
    case 'C':
    case 'c':
        readFecCarrier(text, lineNumber);
        return;
    case 'S':
    case 's':
        readSpectralCarrier(text, lineNumber);
        return;
    default:
        readFixedCarrier(text, lineNumber);
        return;
    }
}

void CarrierTextReader::readViewRange(std::string_view text, int lineNumber)
{
    NumberFields fields(dropLeading(text, "Ff"));
    const double startMhz = fields.next();
    const double stopMhz = fields.next();
    // The carriers' outer edges may lie beyond the largest carrier number, so only a number
    // that is not finite makes the view range unusable.
    if (!std::isfinite(startMhz) || !std::isfinite(stopMhz)) {
        skip(lineNumber, "the view range is not a usable number; the line is ignored");
        return;
    }
    list_.viewStartMhz = startMhz;
    list_.viewStopMhz = stopMhz;
}

void CarrierTextReader::readRolloff(std::string_view text, int lineNumber)
{
    const RolloffLine line = readRolloffLine(text);
    if (line.refusal)
        skip(lineNumber, line.refusal);
    else
        list_.currentRolloffFactor = line.factor;
}

void CarrierTextReader::readFecCarrier(std::string_view text, int lineNumber)
{
    NumberFields fields(dropLeading(text, "CcSs"));
    const double centreMhz = fields.next();
    const double dataRateKbps = fields.next();
    const double overheadKbps = fields.next();
    const double order = fields.next();
    const double fecRate = fields.next();
    double rsRatio = fields.next();
    const double powerDbw = readPower(fields);
    if (!fields.allUsable()) {
        skip(lineNumber, "a number is not finite or too large");
        return;
    }
    if (rsRatio == 0.0)
        rsRatio = 1.0;
    const int modulationOrder = roundHalfUp(std::fabs(order));
    if (!(fecRate > 0.0)) {
        skip(lineNumber, "the FEC rate is not above 0");
        return;
    }
    if (fecRate < smallestFileCodeValue) {
        skip(lineNumber, "the FEC rate is below 0.000001, the smallest a saved file keeps");
        return;
    }
    if (std::fabs(rsRatio) < smallestFileCodeValue) {
        skip(lineNumber,
             "the Reed-Solomon ratio is below 0.000001, the smallest a saved file keeps");
        return;
    }
    if (modulationOrder < 2) {
        skip(lineNumber, "the modulation order is below 2");
        return;
    }
    Carrier carrier;
    carrier.setFecFromDataRate(centreMhz, dataRateKbps, overheadKbps, modulationOrder, fecRate,
                               rsRatio, 1.0, powerDbw, list_.currentRolloffFactor);
    add(carrier, fields.rest(), lineNumber);
}

void CarrierTextReader::readSpectralCarrier(std::string_view text, int lineNumber)
{
    NumberFields fields(dropLeading(text, "CcSs"));
    const double centreMhz = fields.next();
    const double dataRateKbps = fields.next();
    const double efficiency = fields.next();
    const double order = fields.next();
    const double fecRate = fields.next();
    const double powerDbw = readPower(fields);
    if (!fields.allUsable()) {
        skip(lineNumber, "a number is not finite or too large");
        return;
    }
    if (!(efficiency > 0.0)) {
        skip(lineNumber, "the spectral efficiency is not above 0");
        return;
    }
    if (efficiency < smallestFileCodeValue) {
        skip(lineNumber,
             "the spectral efficiency is below 0.000001, the smallest a saved file keeps");
        return;
    }
    Carrier carrier;
    carrier.setSpectralFromDataRate(centreMhz, dataRateKbps, efficiency,
                                    roundHalfUp(std::fabs(order)), fecRate, powerDbw,
                                    list_.currentRolloffFactor);
    add(carrier, fields.rest(), lineNumber);
}

void CarrierTextReader::readFixedCarrier(std::string_view text, int lineNumber)
{
    NumberFields fields(text);
    const double centreMhz = fields.next();
    const double bandwidthKhz = fields.next();
    const double powerDbw = readPower(fields);
    if (!fields.allUsable()) {
        skip(lineNumber, "a number is not finite or too large");
        return;
    }
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthKhz * 0.001, powerDbw,
                              list_.currentRolloffFactor);
    add(carrier, fields.rest(), lineNumber);
}

void CarrierTextReader::add(Carrier& carrier, std::string_view label, int lineNumber)
{
    // Finite inputs can still combine into an infinite rate (a huge rate over a tiny FEC rate).
    const bool finite =
        std::isfinite(carrier.symbolRateKsps) && std::isfinite(carrier.symbolRateMsps) &&
        std::isfinite(carrier.occupiedBandwidthMhz) && std::isfinite(carrier.dataRateKbps) &&
        std::isfinite(carrier.spectralEfficiency);
    if (!finite) {
        skip(lineNumber, "the carrier's rates are not finite");
        return;
    }
    // Only a hand-written line holds one: a carrier of negative width would be drawn inside
    // out and counted as an interferer. A width of 0 is a spectral line.
    if (carrier.symbolRateKsps < 0.0 || carrier.occupiedBandwidthMhz < 0.0) {
        skip(lineNumber, "the carrier's symbol rate or occupied bandwidth would be negative");
        return;
    }
    carrier.label = windows1252ToUtf8(label);
    list_.appendWithoutBounds(std::move(carrier));
}

// The program keeps each line break of a title or label as one TAB; a file line must not
// break, so any CR LF, lone LF or lone CR left in the text becomes a TAB too.
std::string oneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line.push_back('\t');
            ++i;
        } else if (c == '\r' || c == '\n') {
            line.push_back('\t');
        } else {
            line.push_back(c);
        }
    }
    return utf8ToWindows1252(line);
}

// A plan of many carriers writes hundreds of thousands of numbers: no text object for each.
void appendFixed(std::string& out, double value, int width, int precision)
{
    char text[fixedTextRoom(8, 6)];
    out.append(text, writeFixed(text, value, width, precision));
}

void appendInteger(std::string& out, int value)
{
    char text[16];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void appendCarrierLine(std::string& out, const Carrier& carrier)
{
    if (carrier.calcMode == calcModeFixed) {
        double centreMhz = 0, bandwidthMhz = 0, powerDbw = 0, rolloff = 0;
        carrier.getFixed(centreMhz, bandwidthMhz, powerDbw, rolloff);
        appendFixed(out, centreMhz, 7, 5);
        out += ' ';
        appendFixed(out, bandwidthMhz * 1000.0, 5, 3);
    } else if (carrier.calcMode == calcModeSpectral) {
        double centreMhz = 0, dataRateKbps = 0, efficiency = 0, fecRate = 0, powerDbw = 0;
        double rolloff = 0;
        int order = 0;
        carrier.getSpectralByDataRate(centreMhz, dataRateKbps, efficiency, order, fecRate, powerDbw,
                                      rolloff);
        out += "S ";
        appendFixed(out, centreMhz, 7, 5);
        out += ' ';
        appendFixed(out, dataRateKbps, 5, 3);
        out += ' ';
        appendFixed(out, efficiency, 8, 6);
        out += ' ';
        appendInteger(out, order);
        out += ' ';
        appendFixed(out, fecRate, 8, 6);
    } else {
        double centreMhz = 0, dataRateKbps = 0, overheadKbps = 0, fecRate = 0, rsN = 0, rsK = 0;
        double powerDbw = 0, rolloff = 0;
        int order = 0;
        carrier.getFecByDataRate(centreMhz, dataRateKbps, overheadKbps, order, fecRate, rsN, rsK,
                                 powerDbw, rolloff);
        out += "C ";
        appendFixed(out, centreMhz, 7, 5);
        out += ' ';
        appendFixed(out, dataRateKbps, 5, 3);
        out += ' ';
        appendFixed(out, overheadKbps, 5, 3);
        out += ' ';
        appendInteger(out, order);
        out += ' ';
        appendFixed(out, fecRate, 8, 6);
        out += ' ';
        appendFixed(out, rsN / rsK, 8, 6);
    }
    out += ' ';
}

} // namespace

std::string skippedLinesText(const std::vector<SkippedLine>& skipped)
{
    if (skipped.empty())
        return std::string();
    std::string text = skipped.size() == 1 ? "One line could not be used and was skipped:\n"
                                           : formatInteger(static_cast<long long>(skipped.size())) +
                                                 " lines could not be used and were skipped:\n";
    for (std::size_t i = 0; i < skipped.size() && i < mostSkippedLinesNamed; ++i)
        text += "Line " + formatInteger(skipped[i].lineNumber) + ": " + skipped[i].reason + ".\n";
    if (skipped.size() > mostSkippedLinesNamed)
        text += "... and " +
                formatInteger(static_cast<long long>(skipped.size() - mostSkippedLinesNamed)) +
                " more.\n";
    return text;
}

bool readingMustStop(const CarrierList& list, FileReadResult& result, int lineNumber)
{
    if (list.count() >= mostCarriersRead)
        result.skipped.push_back({lineNumber, "the file holds more than " +
                                                  formatInteger(mostCarriersRead) +
                                                  " carriers; this line and the rest of the "
                                                  "file were not read"});
    else if (result.skipped.size() >= mostLinesRefused)
        result.skipped.push_back(
            {lineNumber, "more than " + formatInteger(static_cast<long long>(mostLinesRefused)) +
                             " lines could not be used; this line and the rest of the file "
                             "were not read"});
    else
        return false;
    return true;
}

std::string noCarriersFoundText(const std::string& path)
{
    return "No carriers were found in " + path + ".";
}

FileReadResult readCarrierText(CarrierList& list, std::string_view bytes)
{
    FileReadResult result;
    list.isModcodList = 0;
    list.removeAll();
    list.currentRolloffFactor = defaultRolloffFactor;

    LineSplitter lines(bytes);
    std::string_view line;
    if (!lines.next(line))
        return result;
    list.title = windows1252ToUtf8(trimSeparators(line));
    list.viewStartMhz = 0.0;
    list.viewStopMhz = 0.0;
    list.clearBoundsForReading();

    CarrierTextReader reader(list, result);
    while (lines.next(line) && !readingMustStop(list, result, lines.lineNumber()))
        reader.readLine(line, lines.lineNumber());

    if (list.empty())
        return result;
    list.updateBounds();
    if (list.viewStartMhz == 0.0) {
        list.viewStartMhz = list.lowestEdgeMhz();
        list.viewStopMhz = list.highestEdgeMhz();
    }
    result.loaded = true;
    return result;
}

FileReadResult loadCarrierFile(CarrierList& list, const std::string& path)
{
    std::string bytes;
    if (std::optional<FileError> error = readWholeFile(path, bytes)) {
        list.isModcodList = 0;
        list.removeAll();
        FileReadResult result;
        result.error = std::move(error);
        return result;
    }
    return readCarrierText(list, bytes);
}

std::string writeCarrierText(CarrierList& list)
{
    std::string out;
    out.reserve(256 + static_cast<std::size_t>(list.count()) * 96);
    out += oneLine(list.title);
    out += lineEnd;
    out += lineEnd;
    out += "//Carrier file created by ";
    out += versionText;
    out += ' ';
    out += lineEnd;
    out += lineEnd;
    out += "F ";
    appendFixed(out, list.viewStartMhz, 7, 5);
    out += ' ';
    appendFixed(out, list.viewStopMhz, 7, 5);
    out += lineEnd;

    list.currentRolloffFactor = defaultRolloffFactor;
    bool levelMode = false;
    for (const Carrier& carrier : list) {
        if (!levelMode && carrier.powerDbw > writtenLevelThresholdDbw) {
            out += lineEnd;
            out += 'L';
            out += lineEnd;
            levelMode = true;
        }
        if (carrier.rolloffFactor != list.currentRolloffFactor) {
            out += "R ";
            appendFixed(out, carrier.rolloffFactor, 6, 4);
            out += lineEnd;
            list.currentRolloffFactor = carrier.rolloffFactor;
        }
        appendCarrierLine(out, carrier);
        if (levelMode) {
            appendFixed(out, carrier.powerDbw, 5, 3);
            out += ' ';
        }
        out += oneLine(carrier.label);
        out += lineEnd;
    }
    out += lineEnd;
    out += lineEnd;
    return out;
}

FileWriteResult saveCarrierFile(CarrierList& list, const std::string& path)
{
    FileWriteResult result;
    if (list.empty()) {
        result.nothingToSave = true;
        return result;
    }
    if (path.empty())
        return result;
    result.error = writeFileSafely(path, writeCarrierText(list));
    result.written = !result.error;
    return result;
}

std::string writeResultText(const FileWriteResult& result)
{
    if (result.nothingToSave)
        return noDataToSaveText;
    if (result.error)
        return fileErrorText(*result.error);
    return std::string();
}

} // namespace orvane
