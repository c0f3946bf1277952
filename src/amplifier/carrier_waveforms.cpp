#include "amplifier/carrier_waveforms.h"

#include <algorithm>
#include <cmath>
// liquid.h uses std::complex<float> for its complex type when <complex> comes first.
#include <liquid/liquid.h>

namespace orvane::amplifier {

namespace {

constexpr double pi = 3.14159265358979323846;

modulation_scheme schemeFor(int modulationOrder)
{
    switch (modulationOrder) {
    case 2:
        return LIQUID_MODEM_BPSK;
    case 4:
        return LIQUID_MODEM_QPSK;
    case 8:
        return LIQUID_MODEM_PSK8;
    case 16:
        return LIQUID_MODEM_APSK16;
    case 32:
        return LIQUID_MODEM_APSK32;
    default:
        break;
    }
    if (modulationOrder < 2)
        return LIQUID_MODEM_QPSK;
    if (modulationOrder <= 4)
        return LIQUID_MODEM_QAM4;
    if (modulationOrder <= 8)
        return LIQUID_MODEM_QAM8;
    if (modulationOrder <= 16)
        return LIQUID_MODEM_QAM16;
    if (modulationOrder <= 32)
        return LIQUID_MODEM_QAM32;
    if (modulationOrder <= 64)
        return LIQUID_MODEM_QAM64;
    if (modulationOrder <= 128)
        return LIQUID_MODEM_QAM128;
    return LIQUID_MODEM_QAM256;
}

} // namespace

std::vector<std::complex<double>> constellationFor(int modulationOrder)
{
    modem modulator = modem_create(schemeFor(modulationOrder));
    const unsigned int size = 1u << modem_get_bps(modulator);
    std::vector<std::complex<double>> points(size);
    double power = 0.0;
    for (unsigned int symbol = 0; symbol < size; ++symbol) {
        liquid_float_complex point;
        modem_modulate(modulator, symbol, &point);
        points[symbol] = std::complex<double>(point.real(), point.imag());
        power += std::norm(points[symbol]);
    }
    modem_destroy(modulator);
    const double scale = 1.0 / std::sqrt(power / size);
    for (std::complex<double>& point : points)
        point *= scale;
    return points;
}

double rootRaisedCosine(double frequencyInSymbols, double rolloff)
{
    const double beta = std::clamp(rolloff, 0.0, 1.0);
    const double f = std::fabs(frequencyInSymbols);
    const double flatEdge = 0.5 * (1.0 - beta);
    if (f <= flatEdge)
        return 1.0;
    if (f >= 0.5 * (1.0 + beta))
        return 0.0;
    return std::sqrt(0.5 * (1.0 + std::cos(pi / beta * (f - flatEdge))));
}

} // namespace orvane::amplifier
