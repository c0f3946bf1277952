#pragma once

#include <cmath>
#include <string>

namespace orvane {

// How a carrier's occupied bandwidth follows from its data (calcMode).
enum CalcMode : int {
    calcModeFixed = 0,    // a fixed bandwidth or symbol rate with a roll-off
    calcModeFec = 1,      // data rate, overheads, modulation, FEC rate and Reed-Solomon code
    calcModeSpectral = 2, // data rate and spectral efficiency
};

// A power of -999 dBW means the carrier has no power level.
constexpr double noPowerLevelDbw = -999.0;

// The roll-off factor of a new carrier and of a file before its first "R" line (35 %).
constexpr double defaultRolloffFactor = 1.35;

// One carrier of a plan; also a modcod catalogue entry and an intermodulation product.
// A plain value: copied whole wherever it goes. Every building operation leaves the derived
// fields consistent (symbolRateMsps = symbolRateKsps / 1000, occupiedBandwidthMhz =
// symbolRateMsps * rolloffFactor). The label keeps each line break as one TAB.
struct Carrier {
    double spectralEfficiency = 1.0; // bit/s per symbol/s
    std::string label;
    double powerDbw = 20.0;
    double modcodParamB = 1e-7; // last number of a modcod entry, carried only
    double modcodParamA = 10.0; // second-to-last number of a modcod entry, carried only
    int modcodSection = 0;      // 0 after a "C" marker of a modcod file, 1 after an "E" marker
    int fromModcod = 0;
    int symbolRateGiven = 0; // 1 when the symbol rate was the input
    int calcMode = calcModeFec;
    double symbolRateMsps = 1.0;
    double occupiedBandwidthMhz = 1.35;
    double rolloffFactor = defaultRolloffFactor; // 1 + percent / 100
    double centreFrequencyMhz = 6000.0;
    double dataRateKbps = 1000.0;
    double overheadKbps = 0.0;
    double rsN = 1.0; // Reed-Solomon n; a carrier file keeps the ratio n/k here with rsK = 1
    double rsK = 1.0;
    double fecRate = 0.5;
    int modulationOrder = 4;
    double symbolRateKsps = 1000.0;

    // Every numeric field back to its default; the label stays.
    void resetToDefaults();

    void setFixedBandwidth(double centreMhz, double bandwidthMhz, double powerDbw,
                           double rolloffFactor);
    void setFixedSymbolRate(double centreMhz, double symbolRateKsps, double powerDbw,
                            double rolloffFactor);
    void setFecFromDataRate(double centreMhz, double dataRateKbps, double overheadKbps,
                            int modulationOrder, double fecRate, double rsN, double rsK,
                            double powerDbw, double rolloffFactor);
    void setFecFromSymbolRate(double centreMhz, double symbolRateKsps, double overheadKbps,
                              int modulationOrder, double fecRate, double rsN, double rsK,
                              double powerDbw, double rolloffFactor);
    void setSpectralFromDataRate(double centreMhz, double dataRateKbps, double spectralEfficiency,
                                 int modulationOrder, double fecRate, double powerDbw,
                                 double rolloffFactor);
    void setSpectralFromSymbolRate(double centreMhz, double symbolRateKsps,
                                   double spectralEfficiency, int modulationOrder, double fecRate,
                                   double powerDbw, double rolloffFactor);

    // Fill from a modcod entry: only the named fields change (no reset).
    void applyModcodFec(double overheadKbps, int modulationOrder, double fecRate, double rsN,
                        double rsK, double rolloffFactor, double modcodParamA, double modcodParamB,
                        int modcodSection);
    void applyModcodSpectral(double spectralEfficiency, int modulationOrder, double fecRate,
                             double rolloffFactor, double modcodParamA, double modcodParamB,
                             int modcodSection);

    void getFixed(double& centreMhz, double& bandwidthMhz, double& powerDbw,
                  double& rolloffFactor) const;
    void getFecByDataRate(double& centreMhz, double& dataRateKbps, double& overheadKbps,
                          int& modulationOrder, double& fecRate, double& rsN, double& rsK,
                          double& powerDbw, double& rolloffFactor) const;
    void getFecBySymbolRate(double& centreMhz, double& symbolRateKsps, double& overheadKbps,
                            int& modulationOrder, double& fecRate, double& rsN, double& rsK,
                            double& powerDbw, double& rolloffFactor) const;
    void getSpectralByDataRate(double& centreMhz, double& dataRateKbps, double& spectralEfficiency,
                               int& modulationOrder, double& fecRate, double& powerDbw,
                               double& rolloffFactor) const;
    void getSpectralBySymbolRate(double& centreMhz, double& symbolRateKsps,
                                 double& spectralEfficiency, int& modulationOrder, double& fecRate,
                                 double& powerDbw, double& rolloffFactor) const;

    double centreFrequency() const { return centreFrequencyMhz; }
    void setCentreFrequency(double mhz) { centreFrequencyMhz = mhz; }
    int getCalcMode() const { return calcMode; }
    int isSymbolRateGiven() const { return symbolRateGiven; }

    double lowerEdgeMhz() const { return centreFrequencyMhz - occupiedBandwidthMhz * 0.5; }
    double upperEdgeMhz() const { return centreFrequencyMhz + occupiedBandwidthMhz * 0.5; }
    double lowerSymbolEdgeMhz() const { return centreFrequencyMhz - symbolRateMsps * 0.5; }
    double upperSymbolEdgeMhz() const { return centreFrequencyMhz + symbolRateMsps * 0.5; }
    // Power spread over the symbol rate in kSps; -999 (no density) for a carrier without a
    // power level or without a positive symbol rate.
    double powerDensityDbw() const;
};

// Whether intermodulation and the budget can rate the carrier's power: a finite level above
// -998 dBW, clear of the -999 that marks a carrier without one.
constexpr double ratedPowerAboveDbw = -998.0;
inline bool hasRatedPowerLevel(const Carrier& carrier)
{
    return carrier.powerDbw > ratedPowerAboveDbw && std::isfinite(carrier.powerDbw);
}

// percent * 0.01 + 1.
double rolloffFactorFromPercent(int percent);
// roundHalfUp((factor - 1) * 100).
int rolloffPercentFromFactor(double factor);
// roundHalfUp(ln M / ln 2); 0 for an order below 1.
int bitsPerSymbol(int modulationOrder);
// 2^n by repeated doubling, n taken as unsigned (so only its low bits matter past 31).
unsigned int powerOfTwo(unsigned int n);

} // namespace orvane
