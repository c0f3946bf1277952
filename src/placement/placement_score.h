#pragma once

#include "analysis/intermod_analysis.h"

#include <optional>

namespace orvane {

// What the placement optimises, as the intermodulation analysis reports it.
struct PlacementScore {
    // The lowest and second-lowest C/IM over the carriers that have one; none where there is
    // no such carrier (no rated product reaches a carrier with a level: the best there is).
    std::optional<double> lowestCimDb;
    std::optional<double> secondLowestCimDb;
    long long productsHitting = 0; // products that hit at least one carrier
    long long hits = 0;            // hits summed over the carriers
};

// C/IM values closer than this count as equal: the figures are shown to 0.01 dB, and sums of
// the same powers in another order differ in the last bits.
inline constexpr double cimTieDb = 1e-6;

// +1 when a is better than b, -1 when worse, 0 when they tie. With an intercept point
// (levelled): the higher lowest C/IM, then fewer products hitting, then the higher
// second-lowest C/IM, then fewer hits. Without: fewer products hitting, then fewer hits.
int comparePlacementScores(const PlacementScore& a, const PlacementScore& b, bool levelled);

// The score of an analysed plan.
PlacementScore placementScoreOf(const IntermodAnalysis& analysis);

} // namespace orvane
