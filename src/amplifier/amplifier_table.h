#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One measured point of an amplifier: a single carrier's input and output levels in dB
// relative to single-carrier saturation (so both are usually at most 0) and the phase shift
// the amplifier gives it, in degrees.
struct AmplifierTablePoint {
    double inputDb = 0.0;
    double outputDb = 0.0;
    double phaseDeg = 0.0;
};

// A measured curve, its points in rising input.
struct AmplifierTable {
    std::vector<AmplifierTablePoint> points;
};

struct AmplifierTableRead {
    std::optional<AmplifierTable> table;
    std::string problem; // what is wrong, naming the line; empty when a table was read
};

// Why these points make no curve (fewer than two, a value not finite, a level beyond 300 dB
// from saturation or a phase beyond 3600 degrees, inputs not strictly rising); none when they
// do.
std::optional<std::string> amplifierTableProblem(const std::vector<AmplifierTablePoint>& points);

// A CSV text of lines "input dB, output dB[, phase degrees]" (no phase: 0). Blank lines and
// lines starting with '#' are skipped, and so is a first line that does not start with a
// number (column headings). The input column must run one way, up or down; the table holds
// the points in rising input. Numbers are read without the user's locale; levels beyond
// 300 dB from saturation and phases beyond 3600 degrees are refused.
AmplifierTableRead readAmplifierTable(std::string_view text);
// The same from a file; a file that cannot be read gives the program's message for it.
AmplifierTableRead loadAmplifierTable(const std::string& path);

} // namespace orvane
