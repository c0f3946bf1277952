#pragma once

#include "amplifier/amplifier_table.h"
#include "amplifier/monotone_curve.h"

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The transponder's amplifier, memoryless on the complex envelope: an input r e^(j phi) comes
// out as A(r) e^(j (phi + Phi(r))). Amplitudes are normalised: r = 1 is the single-carrier
// saturation input and A = 1 the saturated output power.
enum class AmplifierKind {
    saleh,  // travelling-wave tube: A = 2r / (1 + r^2), Phi = ap s / (1 + bp s), s = r^2 / ba
    rapp,   // solid-state: A = r / (1 + r^(2p))^(1 / (2p)), no phase shift
    table,  // a measured curve
    ip3,    // y = x (1 - |x|^2 / IP3) in watts: the intermodulation analysis's cubic model
    linear, // y = x: a distortion-free reference
};

// Saleh's fit A(x) = aa x / (1 + ba x^2), Phi(x) = ap x^2 / (1 + bp x^2); the defaults are his
// published travelling-wave tube. Normalised to saturation, aa drops out.
struct SalehParameters {
    double amplitudeAlpha = 2.1587;
    double amplitudeBeta = 1.1517;
    double phaseAlpha = 4.0033; // radians
    double phaseBeta = 9.1040;
};

struct AmplifierModel {
    AmplifierKind kind = AmplifierKind::saleh;
    // The output at normalised amplitude 1 (every kind but ip3).
    double saturatedOutputDbw = 0.0;
    SalehParameters saleh;
    double rappSmoothness = 2.0; // p
    AmplifierTable table;
    double ip3Dbw = 0.0; // output third-order intercept point of the ip3 kind
};

// What makes the model unusable (a value not finite, Saleh's betas or alpha not above 0, a
// negative phase beta, a smoothness not above 0, a table without a curve); none when usable.
std::optional<std::string> amplifierModelProblem(const AmplifierModel& model);

// "saleh", "rapp", "table", "ip3", "linear".
std::string_view amplifierKindName(AmplifierKind kind);
std::optional<AmplifierKind> amplifierKindNamed(std::string_view name);
// Every kind but ip3 is driven at an input back-off from its saturation; ip3 takes the plan's
// powers as they are.
inline bool hasOperatingPoint(AmplifierKind kind)
{
    return kind != AmplifierKind::ip3;
}

// A usable model's normalised curve, ready to distort samples. For ip3 the unit of power is
// the intercept point: y = x (1 - |x|^2).
class AmplifierCurve {
public:
    explicit AmplifierCurve(const AmplifierModel& model);

    // The complex gain y / x for an input of power |x|^2 = inputPower >= 0.
    std::complex<double> gain(double inputPower) const;
    // A(r) and Phi(r) in radians.
    double outputAmplitude(double inputAmplitude) const;
    double phaseShiftRad(double inputAmplitude) const;
    // |y / x|^2 as the input vanishes.
    double smallSignalPowerGain() const;
    void apply(std::complex<double>* samples, std::size_t count) const;

private:
    AmplifierKind kind_;
    double phaseAlpha_ = 0.0;
    double phaseBeta_ = 0.0;
    double inverseAmplitudeBeta_ = 0.0;
    double rappTwiceSmoothness_ = 0.0;
    double tableFirstInputDb_ = 0.0;
    double tableFirstGainDb_ = 0.0;
    MonotoneCurve tableOutputDb_;
    MonotoneCurve tablePhaseRad_;
};

} // namespace orvane
