#include "amplifier/output_spectrum.h"

#include "files/safe_file_writer.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>

namespace orvane {

OutputSpectrum mergedSpectrum(const OutputSpectrum& spectrum, std::size_t binsPerPoint)
{
    const std::size_t step = std::max<std::size_t>(binsPerPoint, 1);
    OutputSpectrum merged;
    merged.stepMhz = spectrum.stepMhz * static_cast<double>(step);
    merged.firstFrequencyMhz =
        spectrum.firstFrequencyMhz + 0.5 * spectrum.stepMhz * static_cast<double>(step - 1);
    const std::vector<double>& bins = spectrum.dbwPerKhz;
    for (std::size_t first = 0; first < bins.size(); first += step) {
        const std::size_t last = std::min(first + step, bins.size());
        double watts = 0.0;
        for (std::size_t i = first; i < last; ++i)
            watts += std::pow(10.0, bins[i] / 10.0);
        merged.dbwPerKhz.push_back(std::max(
            spectrumFloorDbwPerKhz, 10.0 * std::log10(watts / static_cast<double>(last - first))));
    }
    return merged;
}

std::string outputSpectrumCsv(const OutputSpectrum& spectrum)
{
    std::string text = "frequencyMhz,dbwPerKhz\r\n";
    text.reserve(text.size() + spectrum.dbwPerKhz.size() * 28);
    char number[fixedTextRoom(0, 6)];
    for (std::size_t i = 0; i < spectrum.dbwPerKhz.size(); ++i) {
        text.append(number, writeFixed(number, spectrum.frequencyMhz(i), 0, 6));
        text += ',';
        text.append(number, writeFixed(number, spectrum.dbwPerKhz[i], 0, 3));
        text += "\r\n";
    }
    return text;
}

std::optional<FileError> saveOutputSpectrum(const OutputSpectrum& spectrum, const std::string& path)
{
    return writeFileSafely(path, outputSpectrumCsv(spectrum));
}

} // namespace orvane
