#pragma once

#include "placement/free_space.h"
#include "placement/placement.h"

#include <optional>
#include <vector>

// The placement's constraints, checked and put in the form the search uses.
namespace orvane::placement {

struct Problem {
    // The plan sorted by frequency (F-number order) and each carrier's place in the plan given.
    std::vector<Carrier> carriers;
    std::vector<int> listIndex;
    std::vector<double> halfWidthMhz; // half the occupied bandwidth
    std::vector<char> locked;
    std::vector<int> movable; // in F-number order
    Interval band;
    double spacingMhz = 0.0;
    Grid grid{0.00001};
    // What no moved carrier may overlap: forbidden ranges and locked carriers widened by the
    // spacing, sorted.
    std::vector<Interval> blocked;
    std::optional<double> ip3Dbw;
    double guardKhz = 0.0;
    // The plan given keeps the constraints, so the result must be at least as good.
    bool inputMeetsConstraints = false;
    // Centres of a placement that keeps the constraints (found by packing), per carrier.
    std::vector<double> packedCentresMhz;
};

// The problem, or why there is none.
struct Setup {
    std::optional<PlacementRefusal> refusal;
    Problem problem;
};

Setup setUpPlacement(const CarrierList& plan, const PlacementOptions& options);

// The free gaps for moved carriers with these present (the others absent: NaN).
std::vector<Interval> gapsBeside(const Problem& problem, const std::vector<double>& centresMhz,
                                 int leaveOut);

} // namespace orvane::placement
