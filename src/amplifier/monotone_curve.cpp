#include "amplifier/monotone_curve.h"

#include <algorithm>
#include <cmath>

namespace orvane {

MonotoneCurve::MonotoneCurve(std::vector<double> xs, std::vector<double> ys)
    : xs_(std::move(xs)), ys_(std::move(ys)), slopes_(xs_.size(), 0.0)
{
    const std::size_t n = xs_.size();
    if (n < 2)
        return;
    std::vector<double> secants(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i)
        secants[i] = (ys_[i + 1] - ys_[i]) / (xs_[i + 1] - xs_[i]);
    // The ends take their piece's secant, which cannot overshoot.
    slopes_[0] = secants[0];
    slopes_[n - 1] = secants[n - 2];
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double before = secants[i - 1];
        const double after = secants[i];
        if (before * after <= 0.0) {
            slopes_[i] = 0.0; // a peak, a dip or a flat step: no overshoot
            continue;
        }
        // The weighted harmonic mean of the two secants (Fritsch and Butland), which keeps
        // the piece between them monotone.
        const double h0 = xs_[i] - xs_[i - 1];
        const double h1 = xs_[i + 1] - xs_[i];
        const double w0 = 2.0 * h1 + h0;
        const double w1 = h1 + 2.0 * h0;
        slopes_[i] = (w0 + w1) / (w0 / before + w1 / after);
    }
}

double MonotoneCurve::at(double x) const
{
    if (xs_.empty())
        return 0.0;
    if (!(x > xs_.front()))
        return ys_.front();
    if (!(x < xs_.back()))
        return ys_.back();
    const std::size_t upper =
        static_cast<std::size_t>(std::upper_bound(xs_.begin(), xs_.end(), x) - xs_.begin());
    const std::size_t i = upper - 1;
    const double h = xs_[upper] - xs_[i];
    const double t = (x - xs_[i]) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * ys_[i] + (t3 - 2 * t2 + t) * h * slopes_[i] +
           (-2 * t3 + 3 * t2) * ys_[upper] + (t3 - t2) * h * slopes_[upper];
}

} // namespace orvane
