#pragma once

#include <string>
#include <string_view>

namespace orvane::fuzz {

// Each check reads one input the way the program does and returns a description of the first
// promise it saw broken; empty when every promise held. The fuzz targets abort on a non-empty
// answer; the regression tests expect an empty one for every input a fuzzer ever found.

// The carrier-file reader: no NaN or infinity in a loaded carrier or the list's bounds, the
// refused-line rules kept, text in UTF-8.
std::string checkCarrierReader(std::string_view bytes);

// The modcod reader: every entry finite and marked as a catalogue entry.
std::string checkModcodReader(std::string_view bytes);

// The amplifier table reader: a table it gives makes a curve whose every output is a number;
// without a table it says why.
std::string checkAmplifierTableReader(std::string_view bytes);

// Whatever loads saves, and the saved file loads back to the same plan to the decimals the
// format keeps.
std::string checkRoundTrip(std::string_view bytes);

// The intermodulation analysis of a plan and options made from the bytes: refused exactly when
// the options are out of range, every number finite, the figures consistent, and the same to
// the last bit on one thread and on three.
std::string checkAnalysis(std::string_view bytes);

} // namespace orvane::fuzz
