#include "amplifier/carrier_estimate.h"

#include <cmath>

namespace orvane::amplifier {

namespace {

// 1.96 standard deviations, in dB of a relative error.
constexpr double halfWidthDbPerRelative = 1.959964 * 4.342944819;

} // namespace

CarrierEstimate estimateCarrier(const std::vector<TrialStats>& stats, std::size_t slotCount,
                                std::size_t slot, std::size_t trials)
{
    CarrierEstimate estimate;
    if (trials == 0)
        return estimate;
    TrialStats total;
    for (std::size_t t = 0; t < trials; ++t) {
        const TrialStats& s = stats[t * slotCount + slot];
        total.inputEnergy += s.inputEnergy;
        total.crossEnergy += s.crossEnergy;
        total.outputEnergy += s.outputEnergy;
        total.weightedInput += s.weightedInput;
        total.weightedCross += s.weightedCross;
        total.weightedOutput += s.weightedOutput;
    }
    if (!(total.inputEnergy > 0.0))
        return estimate;
    const Complex gain = total.crossEnergy / total.inputEnergy;
    estimate.gain = gain;
    const auto residual = [&gain](double output, Complex cross, double input) {
        return std::max(0.0, output - 2.0 * std::real(std::conj(gain) * cross) +
                                 std::norm(gain) * input);
    };
    // The fitted gain takes along the part of the distortion that happens to line up with the
    // carrier in these frames; this adds back its expected size, so the mean stays unbiased.
    const double fitted = residual(total.weightedOutput, total.weightedCross, total.weightedInput) /
                          total.inputEnergy;
    std::vector<double> perTrial(trials);
    double residualSum = 0.0;
    for (std::size_t t = 0; t < trials; ++t) {
        const TrialStats& s = stats[t * slotCount + slot];
        perTrial[t] = residual(s.outputEnergy, s.crossEnergy, s.inputEnergy);
        residualSum += perTrial[t];
    }
    const double count = static_cast<double>(trials);
    estimate.intermodPower = (residualSum + fitted) / count;
    if (trials < 2 || !(estimate.intermodPower > 0.0) || std::norm(gain) == 0.0)
        return estimate;
    // The delta method on log(|gain|^2 / intermodPower): each frame's share of the error.
    const double meanInput = total.inputEnergy / count;
    const double meanResidual = residualSum / count;
    double sum = 0.0;
    double sumSquares = 0.0;
    for (std::size_t t = 0; t < trials; ++t) {
        const TrialStats& s = stats[t * slotCount + slot];
        const double share =
            2.0 * std::real((s.crossEnergy - gain * s.inputEnergy) / (gain * meanInput)) -
            (perTrial[t] - meanResidual) / estimate.intermodPower;
        sum += share;
        sumSquares += share * share;
    }
    const double variance = std::max(0.0, (sumSquares - sum * sum / count) / (count - 1.0));
    estimate.halfWidthDb = halfWidthDbPerRelative * std::sqrt(variance / count);
    return estimate;
}

} // namespace orvane::amplifier
