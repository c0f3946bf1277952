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

// How much work the analysis takes on without being told otherwise: evaluations of a product
// on a carrier it may reach (estimateIntermodEvaluations), about ten minutes on two cores. A
// plan of 5,000 carriers placed irregularly needs about 1.3e11; on a raster, whose products
// coincide, a thousandth of that.
inline constexpr double defaultIntermodEvaluationBudget = 2e11;

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
    // A plan estimated to need more evaluations than this is refused before any work; none:
    // no limit (the caller offers a Cancel or a time limit instead).
    std::optional<double> maxEvaluations = defaultIntermodEvaluationBudget;
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
    // Set, and nothing analysed, for inputs out of range (intermodInputProblem), a plan
    // beyond the evaluation budget, or when memory ran out.
    std::optional<std::string> refusal;
    // The estimated evaluations of products on carriers (also set when refused for them).
    double estimatedEvaluations = 0.0;
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

// The refusal for a plan estimated to need more evaluations than the budget.
std::string tooMuchIntermodWorkText(double evaluations, double budget);

// The evaluations of products on carriers the analysis of this plan with these options would
// make (the guard and the density range widen it), estimated in a small fraction of the
// analysis's time from an even sample of carrier pairs; this is what maxEvaluations is
// compared with. 0 for a plan whose options intermodInputProblem refuses.
double estimateIntermodEvaluations(const CarrierList& plan, const IntermodOptions& options);

// Which carriers the plan's third-order products hit and how hard (see the help page for the
// model). The plan is sorted by frequency on a copy, as the report sorts it, so F-numbers and
// labels agree with the report. Every value given is finite. Products are enumerated, never
// stored, and memory grows linearly with the carriers. Nothing is thrown: inputs out of range,
// work beyond the budget and running out of memory give a refusal.
IntermodAnalysis analyseIntermod(const CarrierList& plan, const IntermodOptions& options);

} // namespace orvane
