#include "analysis/uniform_sum.h"

#include <algorithm>

namespace orvane {

namespace {

// The sum of two centred uniforms of widths wide >= narrow has a trapezoid density: rising
// over (-outer, -inner), flat at 1/wide over [-inner, inner], falling over (inner, outer).
struct Trapezoid {
    double wide;
    double narrow;
    double outer; // (wide + narrow) / 2
    double inner; // (wide - narrow) / 2
};

// The squared distance d over wide * narrow, halved; d never exceeds narrow, and dividing
// before multiplying keeps tiny and huge widths in range.
double halfSquareOver(const Trapezoid& shape, double distance)
{
    return 0.5 * (distance / shape.narrow) * (distance / shape.wide);
}

double trapezoidCdf(const Trapezoid& shape, double u)
{
    if (u <= -shape.outer)
        return 0.0;
    if (u >= shape.outer)
        return 1.0;
    if (u < -shape.inner)
        return halfSquareOver(shape, u + shape.outer);
    if (u <= shape.inner)
        return 0.5 + u / shape.wide;
    return 1.0 - halfSquareOver(shape, shape.outer - u);
}

// The mean of the trapezoid's distribution function over [low, high] (high > low): the
// interval is cut where the function changes its formula, and on each piece (a polynomial of
// degree two at most) the mean is its value at the middle plus its curvature times
// length^2 / 24. Weighing the pieces by their lengths stays exact however short the interval,
// where a difference of antiderivatives would lose every digit.
double trapezoidCdfMean(const Trapezoid& shape, double low, double high)
{
    const double cuts[6] = {low,
                            std::clamp(-shape.outer, low, high),
                            std::clamp(-shape.inner, low, high),
                            std::clamp(shape.inner, low, high),
                            std::clamp(shape.outer, low, high),
                            high};
    double weighted = 0.0;
    double total = 0.0;
    for (int piece = 0; piece < 5; ++piece) {
        const double length = cuts[piece + 1] - cuts[piece];
        if (length <= 0.0)
            continue;
        total += length;
        const double middle = 0.5 * (cuts[piece] + cuts[piece + 1]);
        double mean = 0.0;
        switch (piece) {
        case 0:
            mean = 0.0;
            break;
        case 1:
            mean =
                halfSquareOver(shape, middle + shape.outer) + halfSquareOver(shape, length) / 12.0;
            break;
        case 2:
            mean = 0.5 + middle / shape.wide;
            break;
        case 3:
            mean = 1.0 - halfSquareOver(shape, shape.outer - middle) -
                   halfSquareOver(shape, length) / 12.0;
            break;
        default:
            mean = 1.0;
            break;
        }
        weighted += length * mean;
    }
    return total > 0.0 ? weighted / total : trapezoidCdf(shape, 0.5 * (low + high));
}

} // namespace

double UniformSum::exactLowerHalf(double x) const
{
    // The narrowest width smooths the trapezoid of the other two.
    const Trapezoid shape{wide_, middle_, 0.5 * (wide_ + middle_), 0.5 * (wide_ - middle_)};
    if (!(narrow_ > 0.0))
        return trapezoidCdf(shape, x);
    return trapezoidCdfMean(shape, x - 0.5 * narrow_, x + 0.5 * narrow_);
}

} // namespace orvane
