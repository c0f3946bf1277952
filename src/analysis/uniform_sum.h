#pragma once

#include "analysis/lanes.h"

#include <algorithm>
#include <cmath>

namespace orvane {

// The sum U1 + U2 + U3 of three independent uniform variables centred on 0, of the given
// widths (finite, not negative). A width of 0 is a point mass; with all three 0 the sum is a
// point mass at 0, whose distribution function is taken as 1/2 there, as for any such sum it
// is by symmetry. Every value is accurate to about 1e-11 or better whatever the widths' ratios.
//
// The analysis evaluates hundreds of millions of these, so the common case (widths within a
// factor of 100 of one another) is inline: at most five truncated cubes.
class UniformSum {
public:
    UniformSum(double width1, double width2, double width3)
        : UniformSum(width1, width2, width3,
                     width1 > 0.0 && width2 > 0.0 && width3 > 0.0 ? 1.0 / (width1 * width2 * width3)
                                                                  : 0.0)
    {
    }

    // With 1 / (width1 * width2 * width3) known already (0 when a width is 0), which spares
    // a division when the widths' inverses are at hand.
    UniformSum(double width1, double width2, double width3, double inverseProduct)
    {
        wide_ = std::max(std::max(width1, width2), width3);
        narrow_ = std::min(std::min(width1, width2), width3);
        middle_ = std::max(std::min(width1, width2), std::min(std::max(width1, width2), width3));
        reach_ = 0.5 * (width1 + width2 + width3);
        // The cubes cancel to within about 3e-16 * wide^2 / (middle * narrow).
        cubic_ = narrow_ > 0.0 && middle_ * narrow_ >= 1e-4 * wide_ * wide_;
        scale_ = inverseProduct / 6.0;
    }

    // Half the width of the whole sum: it lies within [-reach, reach].
    double reach() const { return reach_; }

    // P(sum <= x); x not NaN.
    double cdf(double x) const
    {
        if (!(x > -reach_ && x < reach_))
            return reach_ > 0.0 ? (x < 0.0 ? 0.0 : 1.0) : (x < 0.0 ? 0.0 : x > 0.0 ? 1.0 : 0.5);
        const double lowerHalf =
            cubic_ ? cubicLowerHalf(reach_ - std::fabs(x)) : exactLowerHalf(-std::fabs(x));
        return x > 0.0 ? 1.0 - lowerHalf : lowerHalf;
    }

    // P(low <= sum <= high), low <= high.
    double share(double low, double high) const
    {
        if (high <= -reach_ || low >= reach_)
            return reach_ > 0.0 ? 0.0 : cdf(high) - cdf(low);
        const double upper = high >= reach_ ? 1.0 : cdf(high);
        const double lower = low <= -reach_ ? 0.0 : cdf(low);
        return std::max(0.0, upper - lower);
    }

private:
    // The distribution function at t - reach (0 < t < reach) as a sum of truncated cubes from
    // the left end of the support: each cube starts at a sum of widths, and those starting
    // beyond the middle are always 0 here. Near the ends of the support, where most bands
    // cut a product, only the first cubes count.
    double cubicLowerHalf(double t) const
    {
        double sum = t * t * t;
        if (t > narrow_) {
            double d = t - narrow_;
            sum -= d * d * d;
            if (t > middle_) {
                d = t - middle_;
                sum -= d * d * d;
                if (t > wide_) {
                    d = t - wide_;
                    sum -= d * d * d;
                }
                d = t - middle_ - narrow_;
                if (d > 0.0)
                    sum += d * d * d;
            }
        }
        return sum * scale_;
    }

    // Any widths, for -reach < x <= 0 (see uniform_sum.cpp).
    double exactLowerHalf(double x) const;

    double wide_ = 0.0;
    double middle_ = 0.0;
    double narrow_ = 0.0;
    double reach_ = 0.0;
    double scale_ = 0.0;
    bool cubic_ = false;
};

// UniformSum::cdf in its common form for four sums at once, lane by lane: the sums' shapes
// (reach, the three widths in order, 1 / (6 * their product)) and the points x. Every cube is
// taken, the missing ones being 0, so that no lane needs a branch; the values are those of
// cdf() to the last bit. Only for lanes whose widths pass UniformSum's test for the form.
// Without wideBeyondOthers the caller vouches that no wide width exceeds its middle and narrow
// ones together, so the last cube is 0 and left out.
inline void cubicUniformSumCdf(const lanes::Doubles& x, const lanes::Doubles& reach,
                               const lanes::Doubles& narrow, const lanes::Doubles& middle,
                               const lanes::Doubles& wide, const lanes::Doubles& scale,
                               bool wideBeyondOthers, lanes::Doubles& cdf)
{
    const lanes::Doubles zero = {};
    const lanes::Doubles one = zero + 1.0;
    lanes::Doubles magnitude;
    lanes::magnitude(x, magnitude);
    lanes::Doubles t;
    lanes::positive(reach - magnitude, t);
    lanes::Doubles pastNarrow;
    lanes::Doubles pastMiddle;
    lanes::Doubles pastWide;
    lanes::positive(t - narrow, pastNarrow);
    lanes::positive(t - middle, pastMiddle);
    lanes::positive(t - wide, pastWide);
    lanes::Doubles cubes = t * t * t - pastNarrow * pastNarrow * pastNarrow -
                           pastMiddle * pastMiddle * pastMiddle - pastWide * pastWide * pastWide;
    if (wideBeyondOthers) {
        lanes::Doubles pastBoth;
        lanes::positive(t - middle - narrow, pastBoth);
        cubes += pastBoth * pastBoth * pastBoth;
    }
    const lanes::Doubles lowerHalf = cubes * scale;
    cdf = x > zero ? one - lowerHalf : lowerHalf;
}

// Whether UniformSum uses that form for these widths, lane by lane.
inline void cubicUniformSumLanes(const lanes::Doubles& narrow, const lanes::Doubles& middle,
                                 const lanes::Doubles& wide, lanes::Masks& cubic)
{
    const lanes::Doubles zero = {};
    cubic = (narrow > zero) & (middle * narrow >= 1e-4 * wide * wide);
}

inline double uniformSumCdf(double x, double width1, double width2, double width3)
{
    return UniformSum(width1, width2, width3).cdf(x);
}

inline double uniformSumShare(double low, double high, double width1, double width2, double width3)
{
    return UniformSum(width1, width2, width3).share(low, high);
}

} // namespace orvane
