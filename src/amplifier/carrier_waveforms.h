#pragma once

#include <complex>
#include <vector>

namespace orvane::amplifier {

// The symbol alphabet a carrier of this modulation order sends, scaled to a mean power of 1:
// 2 BPSK, 4 QPSK, 8 8PSK, 16 16APSK, 32 32APSK; other orders from 3 up the rectangular QAM
// with the next power of two points (at most 256); orders below 2 QPSK.
std::vector<std::complex<double>> constellationFor(int modulationOrder);

// The root-raised-cosine amplitude response at a frequency in units of the symbol rate from
// the carrier's centre: 1 inside (1 - rolloff) / 2, 0 beyond (1 + rolloff) / 2, the square
// root of the raised cosine between. The roll-off is taken within [0, 1].
double rootRaisedCosine(double frequencyInSymbols, double rolloff);

} // namespace orvane::amplifier
