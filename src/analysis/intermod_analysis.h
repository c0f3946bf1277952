#pragma once

#include "model/carrier_list.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The aggregate intermodulation power density wanted across a frequency range: binCount equal
// bins between two frequencies (in either order).
struct DensityRange {
    double fromMhz = 0.0;
    double toMhz = 0.0;
    int binCount = 0;
};

struct IntermodOptions {
    // The transponder's third-order intercept point, output referred, in dBW; none: no levels,
    // only hits.
    std::optional<double> ip3Dbw;
    // Each carrier's occupied band counts this much wider on both sides.
    double guardKhz = 0.0;
    std::optional<DensityRange> density;
    // 0: every core.
    int threadCount = 0;
    // Set from another thread to stop early; the result then says it was cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // The share of products done (0..1), called now and then from the analysing threads, one
    // call at a time.
    std::function<void(double)> progress;
};

struct StrongestProduct {
    std::string label; // as the intermodulation report names it: "2*F1-F2"
    double frequencyMhz = 0.0;
    std::optional<double> powerDbw; // its power inside the carrier's symbol-rate band
};

// What the products do to one carrier of the plan sorted by frequency (F1 the lowest).
struct CarrierIntermod {
    int fNumber = 0;
    std::string label;
    double centreFrequencyMhz = 0.0;
    long long twoToneHits = 0;   // products 2*Fa-Fb whose span overlaps the carrier's band
    long long threeToneHits = 0; // products Fa+Fb-Fc likewise
    // Summed power of the rated products inside the symbol-rate band; none when nothing
    // rated puts power there.
    std::optional<double> imPowerDbw;
    // Carrier power over imPowerDbw; none without either.
    std::optional<double> cimDb;
    // False when a product without a level hits the carrier (C/IM is then an upper bound);
    // none when no intercept point was given.
    std::optional<bool> complete;
    std::optional<StrongestProduct> strongest;
};

// Power density per kHz in each bin of the range, from low to high frequency, on the same
// scale as the carriers' power densities; none in bins without rated power.
struct DensityCurve {
    double lowMhz = 0.0;
    double highMhz = 0.0;
    std::vector<std::optional<double>> binDbwPerKhz;
};

struct IntermodAnalysis {
    bool cancelled = false;
    // Set, and nothing analysed, for a plan of more than maxAnalysisCarriers carriers.
    std::optional<std::string> refusal;
    std::optional<double> ip3Dbw;
    double guardKhz = 0.0;
    long long products = 0;
    long long productsHitting = 0;   // products that hit at least one carrier
    std::optional<int> worstCarrier; // F-number of the lowest C/IM (the lowest F on a tie)
    std::optional<double> minCimDb;
    // False when the true lowest C/IM may lie below minCimDb: a carrier with a level is hit by a
    // product without one (its C/IM leaves that product out, or is unknown when nothing rated
    // reaches it); none without an intercept point or without a lowest C/IM.
    std::optional<bool> minCimComplete;
    std::vector<CarrierIntermod> carriers; // in F-number order
    DensityCurve density;
};

// The analysis keeps every pair of carriers in memory, about 100 bytes each (200 MB at this
// limit, where the products take minutes); a larger plan is refused.
inline constexpr int maxAnalysisCarriers = 2000;

// The refusal for a plan of more than maxAnalysisCarriers carriers.
std::string tooManyCarriersForAnalysisText(long long carrierCount);

// Which carriers the plan's third-order products hit and how hard (see the help page for the
// model). The plan is sorted by frequency on a copy, as the report sorts it, so F-numbers and
// labels agree with the report. Every value given is finite. Products are enumerated, never
// stored: memory grows with the square of the carriers only.
IntermodAnalysis analyseIntermod(const CarrierList& plan, const IntermodOptions& options);

} // namespace orvane
