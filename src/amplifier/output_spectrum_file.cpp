#include "amplifier/output_spectrum_file.h"

#include "files/safe_file_writer.h"
#include "model/number_text.h"

namespace orvane {

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
