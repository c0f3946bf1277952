#pragma once

#include "amplifier/amplifier_simulation.h"
#include "files/file_error.h"

#include <optional>
#include <string>

namespace orvane {

// The spectrum as CSV: a heading line "frequencyMhz,dbwPerKhz", then one line per point
// (frequency to the hertz, density to 0.001 dB), every line ending in CR LF.
std::string outputSpectrumCsv(const OutputSpectrum& spectrum);
// Writes it through the safe file writer; none when written.
std::optional<FileError> saveOutputSpectrum(const OutputSpectrum& spectrum,
                                            const std::string& path);

} // namespace orvane
