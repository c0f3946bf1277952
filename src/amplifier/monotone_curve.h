#pragma once

#include <vector>

namespace orvane {

// A shape-preserving cubic through points (Fritsch and Carlson's monotone piecewise cubic
// Hermite interpolation): between two points it never overshoots them, so a rising measured
// curve stays rising and a flat stretch stays flat. Outside the points it holds the end values.
class MonotoneCurve {
public:
    MonotoneCurve() = default;
    // xs strictly increasing, as many ys; at least one point.
    MonotoneCurve(std::vector<double> xs, std::vector<double> ys);
    double at(double x) const;

private:
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::vector<double> slopes_;
};

} // namespace orvane
