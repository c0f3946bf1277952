#include "amplifier/amplifier_table.h"

#include "files/file_reading.h"
#include "files/line_reading.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// Levels further from saturation than this, and phase shifts of more than ten turns, mean
// nothing for an amplifier and would overflow its gain or the interpolation.
constexpr double mostLevelDb = 300.0;
constexpr double mostPhaseDeg = 3600.0;

bool pointUsable(double inputDb, double outputDb, double phaseDeg)
{
    return std::fabs(inputDb) <= mostLevelDb && std::fabs(outputDb) <= mostLevelDb &&
           std::fabs(phaseDeg) <= mostPhaseDeg;
}

std::string lineText(int lineNumber)
{
    return "Line " + formatInteger(lineNumber) + ": ";
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

} // namespace

std::optional<std::string> amplifierTableProblem(const std::vector<AmplifierTablePoint>& points)
{
    if (points.size() < 2)
        return std::string("An amplifier table needs at least two points.");
    for (std::size_t i = 0; i < points.size(); ++i) {
        const AmplifierTablePoint& point = points[i];
        if (!std::isfinite(point.inputDb) || !std::isfinite(point.outputDb) ||
            !std::isfinite(point.phaseDeg))
            return "Point " + formatInteger(static_cast<long long>(i) + 1) +
                   " of the amplifier table is not finite.";
        if (!pointUsable(point.inputDb, point.outputDb, point.phaseDeg))
            return "Point " + formatInteger(static_cast<long long>(i) + 1) +
                   " of the amplifier table lies beyond 300 dB from saturation or 3600 degrees.";
        if (i > 0 && !(point.inputDb > points[i - 1].inputDb))
            return std::string("The amplifier table's input levels are not monotone.");
    }
    return std::nullopt;
}

AmplifierTableRead readAmplifierTable(std::string_view text)
{
    AmplifierTableRead read;
    std::vector<AmplifierTablePoint> points;
    std::vector<int> lineNumbers;
    LineSplitter lines(text);
    bool firstLine = true;
    for (std::string_view line; lines.next(line);) {
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (firstLine && readNumberPrefix(line).consumed == 0) {
            firstLine = false; // column headings
            continue;
        }
        firstLine = false;
        if (fields.size() < 2 || fields.size() > 3) {
            read.problem = lineText(lines.lineNumber()) +
                           "a point needs two or three numbers (input dB, output dB, phase "
                           "degrees).";
            return read;
        }
        double values[3] = {0.0, 0.0, 0.0};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!parseWholeNumber(fields[i], values[i]) || !std::isfinite(values[i])) {
                read.problem = lineText(lines.lineNumber()) + "'" + std::string(fields[i]) +
                               "' is not a finite number.";
                return read;
            }
        }
        if (!pointUsable(values[0], values[1], values[2])) {
            read.problem = lineText(lines.lineNumber()) +
                           "a level lies beyond 300 dB from saturation or the phase beyond "
                           "3600 degrees.";
            return read;
        }
        points.push_back({values[0], values[1], values[2]});
        lineNumbers.push_back(lines.lineNumber());
    }
    if (points.size() < 2) {
        read.problem = "An amplifier table needs at least two points.";
        return read;
    }
    const bool falling = points[1].inputDb < points[0].inputDb;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double step = points[i].inputDb - points[i - 1].inputDb;
        if (!(falling ? step < 0.0 : step > 0.0)) {
            read.problem = lineText(lineNumbers[i]) +
                           "the input levels are not monotone (each must be above the one "
                           "before, or each below).";
            return read;
        }
    }
    if (falling)
        std::reverse(points.begin(), points.end());
    read.table = AmplifierTable{std::move(points)};
    return read;
}

AmplifierTableRead loadAmplifierTable(const std::string& path)
{
    std::string bytes;
    if (const std::optional<FileError> error = readWholeFile(path, bytes)) {
        AmplifierTableRead read;
        read.problem = fileErrorText(*error);
        return read;
    }
    AmplifierTableRead read = readAmplifierTable(bytes);
    if (!read.table)
        read.problem = path + ": " + read.problem;
    return read;
}

} // namespace orvane
