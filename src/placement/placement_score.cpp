#include "placement/placement_score.h"

namespace orvane {

namespace {

// None stands for no C/IM at all, better than any value.
int compareCim(const std::optional<double>& a, const std::optional<double>& b)
{
    if (!a || !b)
        return a ? -1 : b ? 1 : 0;
    if (*a > *b + cimTieDb)
        return 1;
    if (*a < *b - cimTieDb)
        return -1;
    return 0;
}

int compareFewer(long long a, long long b)
{
    return a < b ? 1 : a > b ? -1 : 0;
}

} // namespace

int comparePlacementScores(const PlacementScore& a, const PlacementScore& b, bool levelled)
{
    if (levelled) {
        if (const int lowest = compareCim(a.lowestCimDb, b.lowestCimDb))
            return lowest;
        if (const int products = compareFewer(a.productsHitting, b.productsHitting))
            return products;
        if (const int second = compareCim(a.secondLowestCimDb, b.secondLowestCimDb))
            return second;
        return compareFewer(a.hits, b.hits);
    }
    if (const int products = compareFewer(a.productsHitting, b.productsHitting))
        return products;
    return compareFewer(a.hits, b.hits);
}

PlacementScore placementScoreOf(const IntermodAnalysis& analysis)
{
    PlacementScore score;
    score.productsHitting = analysis.productsHitting;
    for (const CarrierIntermod& carrier : analysis.carriers) {
        score.hits += carrier.twoToneHits + carrier.threeToneHits;
        if (!carrier.cimDb)
            continue;
        const double cim = *carrier.cimDb;
        if (!score.lowestCimDb || cim < *score.lowestCimDb) {
            score.secondLowestCimDb = score.lowestCimDb;
            score.lowestCimDb = cim;
        } else if (!score.secondLowestCimDb || cim < *score.secondLowestCimDb) {
            score.secondLowestCimDb = cim;
        }
    }
    return score;
}

} // namespace orvane
