#include "model/carrier.h"

#include "model/rounding.h"

#include <cmath>

namespace orvane {

void Carrier::resetToDefaults()
{
    std::string keptLabel = std::move(label);
    *this = Carrier();
    label = std::move(keptLabel);
}

void Carrier::setFixedBandwidth(double centreMhz, double bandwidthMhz, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeFixed;
    symbolRateGiven = 0;
    occupiedBandwidthMhz = bandwidthMhz;
    rolloffFactor = rolloff;
    powerDbw = power;
    centreFrequencyMhz = centreMhz;
    symbolRateMsps = bandwidthMhz / rolloff;
    symbolRateKsps = roundToDecimals(symbolRateMsps * 1000.0, 3);
}

void Carrier::setFixedSymbolRate(double centreMhz, double symbolRate, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeFixed;
    symbolRateGiven = 1;
    centreFrequencyMhz = centreMhz;
    powerDbw = power;
    rolloffFactor = rolloff;
    symbolRateKsps = symbolRate;
    symbolRateMsps = symbolRateKsps * 0.001;
    occupiedBandwidthMhz = symbolRateMsps * rolloffFactor;
}

namespace {

// Bits per symbol carried: 0 for a carrier without symbols rather than 0/0.
double efficiencyOf(double dataRateKbps, double symbolRateMsps)
{
    return symbolRateMsps != 0.0 ? dataRateKbps / (symbolRateMsps * 1000.0) : 0.0;
}

} // namespace

void Carrier::setFecFromDataRate(double centreMhz, double dataRate, double overhead, int order,
                                 double fec, double n, double k, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeFec;
    symbolRateGiven = 0;
    centreFrequencyMhz = centreMhz;
    dataRateKbps = dataRate;
    overheadKbps = overhead;
    modulationOrder = order;
    fecRate = fec;
    rsN = n;
    rsK = k;
    powerDbw = power;
    rolloffFactor = rolloff;
    const int bits = bitsPerSymbol(modulationOrder);
    symbolRateKsps = ((dataRateKbps + overheadKbps) / fecRate * (rsN / rsK)) / bits;
    symbolRateMsps = symbolRateKsps * 0.001;
    occupiedBandwidthMhz = symbolRateMsps * rolloffFactor;
    spectralEfficiency = efficiencyOf(dataRateKbps, symbolRateMsps);
}

void Carrier::setFecFromSymbolRate(double centreMhz, double symbolRate, double overhead, int order,
                                   double fec, double n, double k, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeFec;
    symbolRateGiven = 1;
    centreFrequencyMhz = centreMhz;
    symbolRateKsps = symbolRate;
    overheadKbps = overhead;
    modulationOrder = order;
    fecRate = fec;
    rsN = n;
    rsK = k;
    powerDbw = power;
    rolloffFactor = rolloff;
    const int bits = bitsPerSymbol(modulationOrder);
    dataRateKbps = bits * symbolRateKsps / (rsN / rsK) * fecRate - overheadKbps;
    symbolRateMsps = symbolRateKsps * 0.001;
    occupiedBandwidthMhz = symbolRateMsps * rolloffFactor;
    spectralEfficiency = efficiencyOf(dataRateKbps, symbolRateMsps);
}

void Carrier::setSpectralFromDataRate(double centreMhz, double dataRate, double efficiency,
                                      int order, double fec, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeSpectral;
    symbolRateGiven = 0;
    centreFrequencyMhz = centreMhz;
    dataRateKbps = dataRate;
    spectralEfficiency = efficiency;
    modulationOrder = order;
    fecRate = fec;
    powerDbw = power;
    rolloffFactor = rolloff;
    overheadKbps = 0.0;
    rsN = 1.0;
    rsK = 1.0;
    symbolRateKsps = dataRateKbps / spectralEfficiency;
    symbolRateMsps = symbolRateKsps * 0.001;
    occupiedBandwidthMhz = symbolRateMsps * rolloffFactor;
}

void Carrier::setSpectralFromSymbolRate(double centreMhz, double symbolRate, double efficiency,
                                        int order, double fec, double power, double rolloff)
{
    resetToDefaults();
    calcMode = calcModeSpectral;
    symbolRateGiven = 1;
    centreFrequencyMhz = centreMhz;
    symbolRateKsps = symbolRate;
    spectralEfficiency = efficiency;
    modulationOrder = order;
    fecRate = fec;
    powerDbw = power;
    rolloffFactor = rolloff;
    overheadKbps = 0.0;
    rsN = 1.0;
    rsK = 1.0;
    symbolRateMsps = symbolRateKsps * 0.001;
    occupiedBandwidthMhz = symbolRateMsps * rolloffFactor;
    dataRateKbps = symbolRateKsps * spectralEfficiency;
}

void Carrier::applyModcodFec(double overhead, int order, double fec, double n, double k,
                             double rolloff, double paramA, double paramB, int section)
{
    overheadKbps = overhead;
    modulationOrder = order;
    fecRate = fec;
    rsN = n;
    rsK = k;
    rolloffFactor = rolloff;
    modcodParamA = paramA;
    modcodParamB = paramB;
    modcodSection = section;
    fromModcod = 1;
    calcMode = calcModeFec;
}

void Carrier::applyModcodSpectral(double efficiency, int order, double fec, double rolloff,
                                  double paramA, double paramB, int section)
{
    spectralEfficiency = efficiency;
    modulationOrder = order;
    fecRate = fec;
    rolloffFactor = rolloff;
    modcodParamA = paramA;
    modcodParamB = paramB;
    modcodSection = section;
    rsN = 1.0;
    rsK = 1.0;
    fromModcod = 1;
    calcMode = calcModeSpectral;
}

void Carrier::getFixed(double& centreMhz, double& bandwidthMhz, double& power,
                       double& rolloff) const
{
    centreMhz = centreFrequencyMhz;
    bandwidthMhz = occupiedBandwidthMhz;
    power = powerDbw;
    rolloff = rolloffFactor;
}

void Carrier::getFecByDataRate(double& centreMhz, double& dataRate, double& overhead, int& order,
                               double& fec, double& n, double& k, double& power,
                               double& rolloff) const
{
    centreMhz = centreFrequencyMhz;
    dataRate = dataRateKbps;
    overhead = overheadKbps;
    order = modulationOrder;
    fec = fecRate;
    n = rsN;
    k = rsK;
    power = powerDbw;
    rolloff = rolloffFactor;
}

void Carrier::getFecBySymbolRate(double& centreMhz, double& symbolRate, double& overhead,
                                 int& order, double& fec, double& n, double& k, double& power,
                                 double& rolloff) const
{
    getFecByDataRate(centreMhz, symbolRate, overhead, order, fec, n, k, power, rolloff);
    symbolRate = symbolRateKsps;
}

void Carrier::getSpectralByDataRate(double& centreMhz, double& dataRate, double& efficiency,
                                    int& order, double& fec, double& power, double& rolloff) const
{
    centreMhz = centreFrequencyMhz;
    dataRate = dataRateKbps;
    efficiency = spectralEfficiency;
    order = modulationOrder;
    fec = fecRate;
    power = powerDbw;
    rolloff = rolloffFactor;
}

void Carrier::getSpectralBySymbolRate(double& centreMhz, double& symbolRate, double& efficiency,
                                      int& order, double& fec, double& power, double& rolloff) const
{
    getSpectralByDataRate(centreMhz, symbolRate, efficiency, order, fec, power, rolloff);
    symbolRate = symbolRateKsps;
}

double Carrier::powerDensityDbw() const
{
    if (!(powerDbw > noPowerLevelDbw))
        return powerDbw;
    // A carrier without a positive symbol rate has no density; -999 keeps infinity out of the
    // plot's level scale.
    if (!(symbolRateMsps > 0.0))
        return noPowerLevelDbw;
    return powerDbw - 10.0 * std::log10(symbolRateMsps * 1000.0);
}

double rolloffFactorFromPercent(int percent)
{
    return percent * 0.01 + 1.0;
}

int rolloffPercentFromFactor(double factor)
{
    return roundHalfUp((factor - 1.0) * 100.0);
}

int bitsPerSymbol(int modulationOrder)
{
    if (modulationOrder < 1)
        return 0;
    return roundHalfUp(std::log(static_cast<double>(modulationOrder)) / std::log(2.0));
}

unsigned int powerOfTwo(unsigned int n)
{
    unsigned int result = 1;
    for (unsigned int i = 0; i < n && result != 0; ++i)
        result *= 2;
    return result;
}

} // namespace orvane
