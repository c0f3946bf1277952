#pragma once

#include "amplifier/amplifier_simulation.h"
#include "files/file_error.h"

#include <cstddef>
#include <optional>
#include <string>

namespace orvane {

// The spectrum with every binsPerPoint bins (at least 1) merged into one point at their centre,
// holding their mean power density (so the power over any whole point is kept): the
// simulation's bins are a few kHz apart, a picture wants a few hundred points.
OutputSpectrum mergedSpectrum(const OutputSpectrum& spectrum, std::size_t binsPerPoint);

// The spectrum as CSV: a heading line "frequencyMhz,dbwPerKhz", then one line per point
// (frequency to the hertz, density to 0.001 dB), every line ending in CR LF.
std::string outputSpectrumCsv(const OutputSpectrum& spectrum);
// Writes it through the safe file writer; none when written.
std::optional<FileError> saveOutputSpectrum(const OutputSpectrum& spectrum,
                                            const std::string& path);

} // namespace orvane
