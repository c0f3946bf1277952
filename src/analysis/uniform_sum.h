#pragma once

#include "analysis/lanes.h"

#include <algorithm>
#include <cmath>

namespace orvane {

// Whether a sum of three uniforms of these widths (wide >= middle >= narrow) takes the form of
// truncated cubes: they cancel to within about 3e-16 * wide^2 / (middle * narrow), so the form
// serves widths within a factor of about 100 of each other.
inline bool usesCubicForm(double wide, double middle, double narrow)
{
    return narrow > 0.0 && middle * narrow >= 1e-4 * wide * wide;
}

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
        cubic_ = usesCubicForm(wide_, middle_, narrow_);
        scale_ = inverseProduct / 6.0;
    }

    // Half the width of the whole sum: it lies within [-reach, reach].
    double reach() const { return reach_; }

    // P(sum <= x); x not NaN.
    double cdf(double x) const
    {
        if (!(reach_ > 0.0))
            return x < 0.0 ? 0.0 : x > 0.0 ? 1.0 : 0.5;
        return x > 0.0 ? 1.0 - tail(x) : tail(x);
    }

    // The mass beyond |x| on one side: P(sum <= -|x|), which by symmetry is P(sum >= |x|).
    // Worked from the end of the shape, so a grazing band gets the same tiny share on either
    // side rather than a difference of two numbers near 1 on one of them.
    double tail(double x) const
    {
        const double distance = std::fabs(x);
        if (!(distance < reach_))
            return 0.0;
        return cubic_ ? cubicLowerHalf(reach_ - distance) : exactLowerHalf(-distance);
    }

    // P(low <= sum <= high), low <= high: each side's tail taken directly.
    double share(double low, double high) const
    {
        if (!(reach_ > 0.0))
            return cdf(high) - cdf(low);
        if (high <= -reach_ || low >= reach_)
            return 0.0;
        double inside = 0.0;
        if (high <= 0.0)
            inside = tail(high) - tail(low);
        else if (low >= 0.0)
            inside = tail(low) - tail(high);
        else
            inside = 1.0 - tail(low) - tail(high);
        return std::max(0.0, inside);
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

// UniformSum::tail in its common form for four sums at once, lane by lane: each sum's half
// width reach, its narrow and middle widths, its last cube and 1 / (6 * the product of its
// widths). Of the last two cubes, -(t - wide)^3 and +(t - middle - narrow)^3, at most one can
// start within half the reach: lastStart and lastSign say which (the first unless the wide
// width exceeds the other two together). Every cube that can start is taken, the missing ones
// being 0, so that no lane needs a branch. Only for widths that pass usesCubicForm.
struct CubicLanes {
    lanes::Doubles reach;
    lanes::Doubles narrow;
    lanes::Doubles middle;
    lanes::Doubles lastStart;
    lanes::Doubles lastSign;
    lanes::Doubles scale;
};

__attribute__((always_inline)) inline void
cubicUniformSumTail(const lanes::Doubles& x, const CubicLanes& shape, lanes::Doubles& mass)
{
    lanes::Doubles magnitude;
    lanes::magnitude(x, magnitude);
    lanes::Doubles t; // how far the tail reaches in from the end of the shape
    lanes::positive(shape.reach - magnitude, t);
    lanes::Doubles pastNarrow;
    lanes::Doubles pastMiddle;
    lanes::Doubles pastLast;
    lanes::positive(t - shape.narrow, pastNarrow);
    lanes::positive(t - shape.middle, pastMiddle);
    lanes::positive(t - shape.lastStart, pastLast);
    mass =
        (t * t * t - pastNarrow * pastNarrow * pastNarrow - pastMiddle * pastMiddle * pastMiddle +
         shape.lastSign * (pastLast * pastLast * pastLast)) *
        shape.scale;
}

// UniformSum::share the same way, the bands running from low to high (low <= high in every
// lane).
__attribute__((always_inline)) inline void cubicUniformSumShare(const lanes::Doubles& low,
                                                                const lanes::Doubles& high,
                                                                const CubicLanes& shape,
                                                                lanes::Doubles& share)
{
    const lanes::Doubles zero = {};
    lanes::Doubles lowTail;
    lanes::Doubles highTail;
    cubicUniformSumTail(low, shape, lowTail);
    cubicUniformSumTail(high, shape, highTail);
    const lanes::Masks below = high <= zero;
    const lanes::Masks above = low >= zero;
    const lanes::Doubles across = 1.0 - lowTail - highTail;
    const lanes::Doubles inside =
        below ? highTail - lowTail : (above ? lowTail - highTail : across);
    lanes::positive(inside, share);
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
