#pragma once

#include "analysis/intermod_analysis.h"
#include "model/carrier_list.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct FrequencyRange {
    double lowMhz = 0.0;
    double highMhz = 0.0;
};

struct PlacementOptions {
    // Every occupied band ends up inside [bandLowMhz, bandHighMhz].
    double bandLowMhz = 0.0;
    double bandHighMhz = 0.0;
    // Carriers that keep their centre, by F-number (1-based) of the plan sorted by frequency,
    // as the analysis and the report number them.
    std::vector<int> lockedFNumbers;
    // Centres of moved carriers are whole multiples of the raster, counted from 0 MHz; 0: free,
    // to the 10 Hz a carrier file keeps.
    double rasterKhz = 0.0;
    // The least distance between neighbouring occupied bands (0: they may touch).
    double spacingKhz = 0.0;
    // No moved carrier's occupied band overlaps these (touching is allowed).
    std::vector<FrequencyRange> forbidden;
    // As in the analysis: with an intercept point the lowest C/IM is maximised, without it the
    // products hitting carriers are minimised.
    std::optional<double> ip3Dbw;
    double guardKhz = 0.0;
    // The same plan, options, seed and effort give the same result on any machine and any
    // number of threads. Effort scales the work (1 is the default; 0 < effort <= 100).
    std::uint64_t seed = 1;
    double effort = 1.0;
    int threadCount = 0; // 0: every core
    // Set from another thread to stop; the result then says it was cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // The share of the work done (0..1), rising, called now and then from the working threads,
    // one call at a time.
    std::function<void(double)> progress;
};

// Options for a plan with the defaults: the band is the plan's view range.
PlacementOptions defaultPlacementOptions(const CarrierList& plan);

// Why no placement was made.
enum class PlacementRefusalReason {
    invalidOptions,        // a value out of range: the text names it
    nothingToPlace,        // no carrier, one carrier, or every carrier locked
    tooManyCarriers,       // more than maxPlacementCarriers
    carrierWiderThanBand,  // a carrier to move is wider than the band
    rasterCoarserThanBand, // no raster centre puts a carrier inside the band
    lockedOutsideBand,     // a locked carrier is not inside the band
    locksOverlap,          // two locked carriers overlap or are closer than the spacing
    noRoom,                // the carriers to move do not fit beside the locks and forbidden ranges
    outOfMemory,           // the work could not get the memory it needs
};

struct PlacementRefusal {
    PlacementRefusalReason reason = PlacementRefusalReason::invalidOptions;
    std::string text; // one or two sentences for the user, naming the carriers (F-numbers)
};

inline constexpr int maxPlacementCarriers = 500;

// The single values of the options, checked one at a time as a dialog reads its boxes.
enum class PlacementValue { raster, spacing, ip3, guard, effort };

// Why the placement would not take this value (rasterKhz, spacingKhz, ip3Dbw, guardKhz or
// effort), in the words checkPlacement uses; none when it takes it.
std::optional<std::string> placementValueProblem(PlacementValue which, double value);

enum class PlacementRange { band, forbidden };

// Why the placement would not take the band or a forbidden range with these ends (MHz); none
// when it runs from a lower to a higher frequency, both ends as a carrier file keeps them.
std::optional<std::string> placementRangeProblem(PlacementRange which, double lowMhz,
                                                 double highMhz);

struct MovedCarrier {
    int fNumber = 0; // in the plan given, sorted by frequency
    int index = 0;   // its place in the plan given
    std::string label;
    double fromMhz = 0.0;
    double toMhz = 0.0;
};

struct PlacementResult {
    // Set, and nothing placed, when the constraints cannot be met or the options are wrong.
    std::optional<PlacementRefusal> refusal;
    bool cancelled = false;
    // The proposal: the plan given, in its order, with new centres (only centres change);
    // the plan given itself when nothing better was found.
    CarrierList plan;
    // The analysis of the plan given and of the proposal, with the options' IP3 and guard.
    IntermodAnalysis before;
    IntermodAnalysis after;
    std::vector<MovedCarrier> moved; // in F-number order
    long long evaluations = 0;       // candidate centres weighed
};

// Why the placement refuses this plan whatever the options: too few carriers or too many.
std::optional<PlacementRefusal> placementCountRefusal(const CarrierList& plan);

// Why placeCarriers would refuse this plan and these options, found quickly without searching;
// none when a search can start.
std::optional<PlacementRefusal> checkPlacement(const CarrierList& plan,
                                               const PlacementOptions& options);

// Moves the carriers that are not locked so that the third-order products do the least harm,
// as the analysis measures it, within the band, raster, spacing and forbidden ranges. Never
// worse than the plan given when that plan meets the constraints. See docs/placement.md.
PlacementResult placeCarriers(const CarrierList& plan, const PlacementOptions& options);

} // namespace orvane
