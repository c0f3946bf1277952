#include "amplifier/amplifier_model.h"

#include <cmath>

namespace orvane {

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

std::optional<std::string> amplifierModelProblem(const AmplifierModel& model)
{
    if (hasOperatingPoint(model.kind) && !std::isfinite(model.saturatedOutputDbw))
        return std::string("The saturated output power is not a finite number.");
    switch (model.kind) {
    case AmplifierKind::saleh: {
        const SalehParameters& p = model.saleh;
        if (!std::isfinite(p.amplitudeAlpha) || !std::isfinite(p.amplitudeBeta) ||
            !std::isfinite(p.phaseAlpha) || !std::isfinite(p.phaseBeta))
            return std::string("The Saleh parameters must be finite numbers.");
        if (!(p.amplitudeAlpha > 0.0) || !(p.amplitudeBeta > 0.0))
            return std::string("The Saleh amplitude parameters must be above 0.");
        if (p.phaseBeta < 0.0)
            return std::string("The Saleh phase beta must not be negative.");
        return std::nullopt;
    }
    case AmplifierKind::rapp:
        if (!std::isfinite(model.rappSmoothness) || !(model.rappSmoothness > 0.0))
            return std::string("The Rapp smoothness p must be a finite number above 0.");
        return std::nullopt;
    case AmplifierKind::table:
        return amplifierTableProblem(model.table.points);
    case AmplifierKind::ip3:
        if (!std::isfinite(model.ip3Dbw))
            return std::string("The intercept point is not a finite number.");
        return std::nullopt;
    case AmplifierKind::linear:
        return std::nullopt;
    }
    return std::string("Unknown amplifier.");
}

std::string_view amplifierKindName(AmplifierKind kind)
{
    switch (kind) {
    case AmplifierKind::saleh:
        return "saleh";
    case AmplifierKind::rapp:
        return "rapp";
    case AmplifierKind::table:
        return "table";
    case AmplifierKind::ip3:
        return "ip3";
    case AmplifierKind::linear:
        return "linear";
    }
    return "";
}

std::optional<AmplifierKind> amplifierKindNamed(std::string_view name)
{
    for (const AmplifierKind kind :
         {AmplifierKind::saleh, AmplifierKind::rapp, AmplifierKind::table, AmplifierKind::ip3,
          AmplifierKind::linear})
        if (amplifierKindName(kind) == name)
            return kind;
    return std::nullopt;
}

AmplifierCurve::AmplifierCurve(const AmplifierModel& model) : kind_(model.kind)
{
    switch (kind_) {
    case AmplifierKind::saleh:
        phaseAlpha_ = model.saleh.phaseAlpha;
        phaseBeta_ = model.saleh.phaseBeta;
        inverseAmplitudeBeta_ = 1.0 / model.saleh.amplitudeBeta;
        break;
    case AmplifierKind::rapp:
        rappTwiceSmoothness_ = 2.0 * model.rappSmoothness;
        break;
    case AmplifierKind::table: {
        const std::vector<AmplifierTablePoint>& points = model.table.points;
        std::vector<double> inputs;
        std::vector<double> outputs;
        std::vector<double> phases;
        for (const AmplifierTablePoint& point : points) {
            inputs.push_back(point.inputDb);
            outputs.push_back(point.outputDb);
            phases.push_back(point.phaseDeg * pi / 180.0);
        }
        if (!points.empty()) {
            tableFirstInputDb_ = points.front().inputDb;
            tableFirstGainDb_ = points.front().outputDb - points.front().inputDb;
        }
        tableOutputDb_ = MonotoneCurve(inputs, outputs);
        tablePhaseRad_ = MonotoneCurve(inputs, phases);
        break;
    }
    case AmplifierKind::ip3:
    case AmplifierKind::linear:
        break;
    }
}

std::complex<double> AmplifierCurve::gain(double inputPower) const
{
    switch (kind_) {
    case AmplifierKind::saleh: {
        const double s = inputPower * inverseAmplitudeBeta_;
        const double phase = phaseAlpha_ * s / (1.0 + phaseBeta_ * s);
        return std::polar(2.0 / (1.0 + inputPower), phase);
    }
    case AmplifierKind::rapp:
        return 1.0 / std::pow(1.0 + std::pow(inputPower, 0.5 * rappTwiceSmoothness_),
                              1.0 / rappTwiceSmoothness_);
    case AmplifierKind::table: {
        // Below the first point the amplifier is linear at the first point's gain and phase.
        const double inputDb = inputPower > 0.0 ? 10.0 * std::log10(inputPower) : -HUGE_VAL;
        const double gainDb =
            inputDb < tableFirstInputDb_ ? tableFirstGainDb_ : tableOutputDb_.at(inputDb) - inputDb;
        return std::polar(std::pow(10.0, gainDb / 20.0), tablePhaseRad_.at(inputDb));
    }
    case AmplifierKind::ip3:
        return 1.0 - inputPower;
    case AmplifierKind::linear:
        return 1.0;
    }
    return 1.0;
}

double AmplifierCurve::outputAmplitude(double inputAmplitude) const
{
    return std::abs(gain(inputAmplitude * inputAmplitude)) * inputAmplitude;
}

double AmplifierCurve::phaseShiftRad(double inputAmplitude) const
{
    return std::arg(gain(inputAmplitude * inputAmplitude));
}

double AmplifierCurve::smallSignalPowerGain() const
{
    return std::norm(gain(0.0));
}

void AmplifierCurve::apply(std::complex<double>* samples, std::size_t count) const
{
    for (std::size_t i = 0; i < count; ++i)
        samples[i] *= gain(std::norm(samples[i]));
}

} // namespace orvane
