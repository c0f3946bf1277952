#include "analysis/uniform_sum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace orvane {
namespace {

// Simpson's rule on each piece between the kinks: exact for the piecewise quadratic
// integrands below, so the reference is as good as the arithmetic.
double integrate(const std::function<double(double)>& f, double from, double to,
                 std::vector<double> kinks)
{
    kinks.push_back(from);
    kinks.push_back(to);
    std::sort(kinks.begin(), kinks.end());
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < kinks.size(); ++i) {
        const double a = std::clamp(kinks[i], from, to);
        const double b = std::clamp(kinks[i + 1], from, to);
        sum += (b - a) / 6.0 * (f(a) + 4.0 * f(0.5 * (a + b)) + f(b));
    }
    return sum;
}

// P(U3 <= s), P(U2 + U3 <= t) and P(U1 + U2 + U3 <= x), each level averaging the one below
// over its own width.
double uniformCdf(double s, double w3)
{
    if (w3 == 0.0)
        return s < 0.0 ? 0.0 : s > 0.0 ? 1.0 : 0.5;
    return std::clamp(s / w3 + 0.5, 0.0, 1.0);
}

double twoSumCdf(double t, double w2, double w3)
{
    if (w2 == 0.0)
        return uniformCdf(t, w3);
    return integrate([&](double v) { return uniformCdf(t - v, w3); }, -w2 / 2, w2 / 2,
                     {t - w3 / 2, t + w3 / 2}) /
           w2;
}

double referenceCdf(double x, std::array<double, 3> w)
{
    // Widest innermost: every integrand is then continuous.
    std::sort(w.begin(), w.end());
    if (w[0] == 0.0)
        return twoSumCdf(x, w[1], w[2]);
    std::vector<double> kinks;
    for (const double k : {(w[1] + w[2]) / 2, (w[1] - w[2]) / 2}) {
        kinks.push_back(x - k);
        kinks.push_back(x + k);
    }
    return integrate([&](double u) { return twoSumCdf(x - u, w[1], w[2]); }, -w[0] / 2, w[0] / 2,
                     kinks) /
           w[0];
}

using Widths = std::array<double, 3>;

TEST(UniformSumCdf, MatchesIntegrationAcrossTheWholeReach)
{
    for (const Widths w :
         {Widths{1, 1, 1}, Widths{2, 1, 0.5}, Widths{5, 0.1, 0.1}, Widths{1, 2.5, 1.2},
          Widths{1, 1, 0}, Widths{0.3, 0, 7}, Widths{1, 0, 0}, Widths{0, 0, 0}, Widths{1, 1, 1e-12},
          Widths{1e-300, 1, 2}, Widths{1e-9, 1, 3}, Widths{1e-7, 2e-7, 1e3}, Widths{4e5, 3e5, 2e5},
          Widths{1, 0.01, 0.005}}) {
        const double reach = std::max(0.5 * (w[0] + w[1] + w[2]), 1e-3);
        for (const double at :
             {-1.2, -0.99, -0.7, -0.5, -0.31, -0.1, 0.0, 0.05, 0.4, 0.77, 1.0, 1.5}) {
            const double x = at * reach;
            const double expected = referenceCdf(x, w);
            EXPECT_NEAR(uniformSumCdf(x, w[0], w[1], w[2]), expected, 1e-12)
                << w[0] << " " << w[1] << " " << w[2] << " at " << x;
            // The order of the widths does not matter.
            EXPECT_NEAR(uniformSumCdf(x, w[2], w[0], w[1]), expected, 1e-12)
                << w[0] << " " << w[1] << " " << w[2] << " at " << x;
        }
    }
}

TEST(UniformSumShare, PointMassesAndBandsAroundTheWholeShape)
{
    // Three equal widths: two thirds within half a width of the centre.
    EXPECT_NEAR(uniformSumShare(-0.5, 0.5, 1, 1, 1), 2.0 / 3.0, 1e-15);
    EXPECT_EQ(uniformSumShare(-2.0, 2.0, 1, 1, 1), 1.0);
    EXPECT_EQ(uniformSumShare(1.5, 3.0, 1, 1, 1), 0.0);
    // A point mass counts whole inside a band, half on a band's edge, not at all in an empty band.
    EXPECT_EQ(uniformSumShare(-1.0, 1.0, 0, 0, 0), 1.0);
    EXPECT_EQ(uniformSumShare(0.0, 1.0, 0, 0, 0), 0.5);
    EXPECT_EQ(uniformSumShare(0.0, 0.0, 0, 0, 0), 0.0);
    EXPECT_EQ(uniformSumShare(0.2, 0.2, 1, 1, 1), 0.0);
}

// A band grazing either tail takes the same tiny share, t^3 / (6 w1 w2 w3), on each side
// (reach - t carries t to an ulp of reach, which the cube triples: hence the tolerance).
TEST(UniformSumShare, BothTailsAlike)
{
    for (const Widths w : {Widths{1, 1, 1}, Widths{2, 1, 0.5}, Widths{1, 0.01, 0.005}}) {
        const double reach = 0.5 * (w[0] + w[1] + w[2]);
        for (const double t : {1e-7, 1e-4, 1e-3}) {
            const double expected = t * t * t / (6 * w[0] * w[1] * w[2]);
            const double tolerance = expected * (3 * 4e-16 * reach / t + 1e-12);
            EXPECT_NEAR(uniformSumShare(reach - t, reach + 1, w[0], w[1], w[2]), expected,
                        tolerance)
                << w[0] << " " << w[1] << " " << w[2] << " t " << t;
            EXPECT_NEAR(uniformSumShare(-reach - 1, t - reach, w[0], w[1], w[2]), expected,
                        tolerance)
                << w[0] << " " << w[1] << " " << w[2] << " t " << t;
            // A band inside the upper half, ending t short of the end: the same on the mirror.
            EXPECT_EQ(uniformSumShare(0.3 * reach, reach - t, w[0], w[1], w[2]),
                      uniformSumShare(t - reach, -0.3 * reach, w[0], w[1], w[2]));
        }
    }
}

} // namespace
} // namespace orvane
