#include "model/carrier_form_model.h"

#include "model/coding_tables.h"
#include "model/entry_text.h"
#include "model/file_number_limit.h"
#include "model/number_text.h"
#include "model/rounding.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace orvane {

namespace {

const char* const modulationProblemText = "Please choose a modulation.";
const char* const fecProblemText = "The FEC rate must be greater than 0.";
const char* const ratioProblemText = "The Reed-Solomon ratio must be greater than 0.";
const char* const efficiencyProblemText = "The spectral efficiency must be greater than 0.";
const char* const rolloffProblemText = "The IF filter roll-off must be greater than -100 %.";
const char* const rateProblemText = "These values give a rate too large to calculate.";
const char* const negativeDataRateText = "The data rate must not be negative.";
const char* const negativeSymbolRateText = "The symbol rate must not be negative.";
const char* const negativeBandwidthText = "The occupied bandwidth must not be negative.";

using F = FormField;

// Each form's boxes in the order of the form, which is the order OK checks them in.
const std::vector<FormField> fixedBoxes = {F::centre, F::symbolRate, F::bandwidth, F::power,
                                           F::rolloff};
const std::vector<FormField> fecBoxes = {F::centre,     F::power,    F::dataRate, F::overheads,
                                         F::symbolRate, F::fecValue, F::rsRatio,  F::rolloff,
                                         F::bandwidth,  F::rsN,      F::rsK};
const std::vector<FormField> spectralBoxes = {F::centre,     F::power,      F::dataRate,
                                              F::efficiency, F::symbolRate, F::fecValue,
                                              F::overheads,  F::rolloff,    F::bandwidth};

// A value as a box can show it: not-a-number and infinities become 0.
double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

unsigned wholeCount(double value)
{
    return static_cast<unsigned>(std::max(0, roundHalfUp(value)));
}

std::string codeText(unsigned code)
{
    return formatInteger(static_cast<long long>(code));
}

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

CarrierFormModel::CarrierFormModel(const Carrier& carrier, CalcMode mode)
    : mode_(mode == calcModeFixed || mode == calcModeSpectral ? mode : calcModeFec),
      carrier_(carrier)
{
    symbolRateIsInput_ = carrier.isSymbolRateGiven() == 1;
    if (mode_ == calcModeFixed)
        loadFixed(carrier);
    else if (mode_ == calcModeFec)
        loadFec(carrier);
    else
        loadSpectral(carrier);
}

const std::vector<FormField>& CarrierFormModel::boxes() const
{
    if (mode_ == calcModeFixed)
        return fixedBoxes;
    return mode_ == calcModeFec ? fecBoxes : spectralBoxes;
}

bool CarrierFormModel::has(FormField field) const
{
    if (field == F::modulation || field == F::fec)
        return mode_ != calcModeFixed;
    const std::vector<FormField>& all = boxes();
    return std::find(all.begin(), all.end(), field) != all.end();
}

const std::string& CarrierFormModel::text(FormField box) const
{
    return texts_[static_cast<std::size_t>(box)];
}

bool CarrierFormModel::enabled(FormField field) const
{
    switch (field) {
    case F::symbolRate:
        return symbolRateIsInput_;
    case F::bandwidth:
        return mode_ != calcModeFixed || !symbolRateIsInput_;
    case F::dataRate:
        return !symbolRateIsInput_;
    case F::fecValue:
        return fecPosition_ == fecOtherPosition;
    case F::rsRatio:
    case F::rsN:
    case F::rsK:
        return reedSolomonOn_;
    default:
        return true;
    }
}

bool CarrierFormModel::readOnly(FormField box) const
{
    return (box == F::bandwidth && mode_ != calcModeFixed) ||
           (box == F::overheads && mode_ == calcModeSpectral);
}

FormField CarrierFormModel::inputBox() const
{
    if (symbolRateIsInput_)
        return F::symbolRate;
    return mode_ == calcModeFixed ? F::bandwidth : F::dataRate;
}

FormField CarrierFormModel::fecField() const
{
    return fecPosition_ == fecOtherPosition ? F::fecValue : F::fec;
}

void CarrierFormModel::loadFixed(const Carrier& carrier)
{
    double factor = 0.0;
    carrier.getFixed(value(F::centre), value(F::bandwidth), value(F::power), factor);
    for (const FormField box : {F::centre, F::bandwidth, F::power})
        value(box) = finiteOrZero(value(box));
    rolloffPercent_ = rolloffPercentFromFactor(factor);

    // The symbol rate shown follows from the bandwidth and the whole-percent roll-off.
    value(F::symbolRate) = finiteOrZero(carrier.symbolRateKsps);
    if (rolloffFactor() > 0.0) {
        const double symbolRate =
            roundToDecimals(value(F::bandwidth) / rolloffFactor() * 1000.0, 3);
        if (std::isfinite(symbolRate))
            value(F::symbolRate) = symbolRate;
    }
    FormUpdate opening;
    show(opening);
    read();
    recalculate();
    show(opening);
}

void CarrierFormModel::loadFec(const Carrier& carrier)
{
    int modulationOrder = 0;
    double rsN = 1.0;
    double rsK = 1.0;
    double factor = 0.0;
    // The rate that is not the input starts from the carrier, in case it cannot be computed.
    if (symbolRateIsInput_) {
        carrier.getFecBySymbolRate(value(F::centre), value(F::symbolRate), value(F::overheads),
                                   modulationOrder, value(F::fecValue), rsN, rsK, value(F::power),
                                   factor);
        value(F::dataRate) = carrier.dataRateKbps;
    } else {
        carrier.getFecByDataRate(value(F::centre), value(F::dataRate), value(F::overheads),
                                 modulationOrder, value(F::fecValue), rsN, rsK, value(F::power),
                                 factor);
        value(F::symbolRate) = carrier.symbolRateKsps;
    }
    value(F::bandwidth) = carrier.occupiedBandwidthMhz;
    for (const FormField box :
         {F::centre, F::dataRate, F::symbolRate, F::overheads, F::fecValue, F::power, F::bandwidth})
        value(box) = finiteOrZero(value(box));

    rolloffPercent_ = rolloffPercentFromFactor(factor);
    modulationPosition_ = orvane::modulationPosition(modulationOrder);
    value(F::rsRatio) = finiteOrZero(rsN / rsK);
    // A carrier read from a file holds only the ratio (in rsN, with rsK 1).
    if (rsK > 1.0) {
        rsNValue_ = wholeCount(rsN);
        rsKValue_ = wholeCount(rsK);
    }
    fecPosition_ = fecRateIndex(value(F::fecValue));
    if (fecPosition_ < 0)
        fecPosition_ = fecOtherPosition;
    reedSolomonOn_ = std::fabs(value(F::rsRatio) - 1.0) > 0.00001;

    FormUpdate opening;
    recalculate();
    show(opening);
    applyReedSolomon();
}

void CarrierFormModel::loadSpectral(const Carrier& carrier)
{
    int modulationOrder = 0;
    double factor = 0.0;
    if (symbolRateIsInput_) {
        carrier.getSpectralBySymbolRate(value(F::centre), value(F::symbolRate),
                                        value(F::efficiency), modulationOrder, value(F::fecValue),
                                        value(F::power), factor);
        value(F::dataRate) = carrier.dataRateKbps;
    } else {
        carrier.getSpectralByDataRate(value(F::centre), value(F::dataRate), value(F::efficiency),
                                      modulationOrder, value(F::fecValue), value(F::power), factor);
        value(F::symbolRate) = carrier.symbolRateKsps;
    }
    value(F::overheads) = carrier.overheadKbps;
    value(F::bandwidth) = carrier.occupiedBandwidthMhz;
    for (const FormField box : spectralBoxes)
        if (box != F::rolloff)
            value(box) = finiteOrZero(value(box));

    rolloffPercent_ = rolloffPercentFromFactor(factor);
    modulationPosition_ = orvane::modulationPosition(modulationOrder);
    fecPosition_ = fecRateIndex(value(F::fecValue));
    if (fecPosition_ < 0)
        fecPosition_ = fecOtherPosition;

    FormUpdate opening;
    recalculate();
    show(opening);
}

void CarrierFormModel::read()
{
    unreadable_.reset();
    for (const FormField box : boxes()) {
        const std::string& shown = text(box);
        if (box == F::rsN || box == F::rsK) {
            (box == F::rsN ? rsNText_ : rsKText_) = shown;
        } else if (box == F::rolloff) {
            if (const std::optional<int> percent = readEntryInteger(shown))
                rolloffPercent_ = *percent;
            else
                unreadable_.set(static_cast<std::size_t>(box));
        } else if (const std::optional<double> number = readEntryNumber(shown)) {
            value(box) = *number;
        } else {
            unreadable_.set(static_cast<std::size_t>(box));
        }
    }
}

void CarrierFormModel::rewrite(FormUpdate& update, FormField box, std::string wanted)
{
    std::string& shown = texts_[static_cast<std::size_t>(box)];
    if (shown == wanted)
        return;
    shown = wanted;
    update.rewrites.push_back({box, std::move(wanted)});
}

void CarrierFormModel::show(FormUpdate& update)
{
    for (const FormField box : boxes()) {
        if (box == F::rsN || box == F::rsK) {
            rewrite(update, box, box == F::rsN ? rsNText_ : rsKText_);
        } else if (unreadable(box)) {
            continue;
        } else if (box == F::rolloff) {
            const std::optional<int> shown = readEntryInteger(text(box));
            if (!shown || *shown != rolloffPercent_)
                rewrite(update, box, formatInteger(rolloffPercent_));
        } else {
            std::string wanted = formatGeneral(value(box), 15);
            const std::optional<double> shown = readEntryNumber(text(box));
            const std::optional<double> written = readEntryNumber(wanted);
            if (!shown || !written || *shown != *written)
                rewrite(update, box, std::move(wanted));
        }
    }
}

FormUpdate CarrierFormModel::readRecalculateShow()
{
    read();
    recalculate();
    FormUpdate update;
    show(update);
    return update;
}

void CarrierFormModel::recalculate()
{
    if (mode_ == calcModeFixed)
        recalculateFixed();
    else if (mode_ == calcModeFec)
        recalculateFec();
    else
        recalculateSpectral();
}

void CarrierFormModel::recalculateFixed()
{
    const double factor = rolloffFactor();
    if (unreadable(F::rolloff) || unreadable(inputBox()) || factor <= 0.0)
        return;
    if (symbolRateIsInput_) {
        const double bandwidth = factor * (value(F::symbolRate) * 0.001);
        if (!std::isfinite(bandwidth))
            return;
        value(F::bandwidth) = bandwidth;
        markWritten(F::bandwidth);
    } else {
        const double symbolRate = roundToDecimals(value(F::bandwidth) / factor * 1000.0, 3);
        if (!std::isfinite(symbolRate))
            return;
        value(F::symbolRate) = symbolRate;
        markWritten(F::symbolRate);
    }
}

void CarrierFormModel::recalculateFec()
{
    const double factor = rolloffFactor();
    for (const FormField box : {F::overheads, inputBox(), F::fecValue, F::rsRatio, F::rolloff})
        if (unreadable(box))
            return;
    const double fec = value(F::fecValue);
    const double ratio = value(F::rsRatio);
    if (modulationPosition_ < 0 || fec <= 0.0 || ratio <= 0.0 || factor <= 0.0)
        return;
    const int bitsPerSymbolShown = modulationPosition_ + 1;
    const double overheads = value(F::overheads);
    if (symbolRateIsInput_) {
        const double symbolRate = value(F::symbolRate);
        const double bandwidth = roundToDecimals(symbolRate * 0.001 * factor, 4);
        const double dataRate =
            roundToDecimals(bitsPerSymbolShown * symbolRate / ratio * fec - overheads, 3);
        if (!allFinite({dataRate, bandwidth}))
            return;
        value(F::dataRate) = dataRate;
        markWritten(F::dataRate);
        value(F::bandwidth) = bandwidth;
    } else {
        const double symbolRate = roundToDecimals(
            ((overheads + value(F::dataRate)) / fec * ratio) / bitsPerSymbolShown, 3);
        const double bandwidth = roundToDecimals(symbolRate * 0.001 * factor, 4);
        if (!allFinite({symbolRate, bandwidth}))
            return;
        value(F::symbolRate) = symbolRate;
        markWritten(F::symbolRate);
        value(F::bandwidth) = bandwidth;
    }
    markWritten(F::bandwidth);
}

void CarrierFormModel::recalculateSpectral()
{
    // The rates and bandwidth, and the overheads, are two calculations: each is skipped when
    // a value it needs is missing or unusable, and its boxes then keep what they show.
    const double factor = rolloffFactor();
    const double efficiency = value(F::efficiency);
    if (!unreadable(inputBox()) && !unreadable(F::efficiency) && !unreadable(F::rolloff) &&
        efficiency > 0.0 && factor > 0.0) {
        const double symbolRate =
            symbolRateIsInput_ ? value(F::symbolRate) : value(F::dataRate) / efficiency;
        const double dataRate =
            symbolRateIsInput_ ? value(F::symbolRate) * efficiency : value(F::dataRate);
        const double bandwidth = roundToDecimals(symbolRate * 0.001 * factor, 4);
        if (allFinite({symbolRate, dataRate, bandwidth})) {
            value(F::symbolRate) = symbolRate;
            value(F::dataRate) = dataRate;
            value(F::bandwidth) = bandwidth;
            markWritten(symbolRateIsInput_ ? F::dataRate : F::symbolRate);
            markWritten(F::bandwidth);
        }
    }

    // The FEC value only shows the overheads, so any value (0 too) is shown with them.
    if (modulationPosition_ >= 0 && !unreadable(F::fecValue) && !unreadable(F::dataRate) &&
        !unreadable(F::symbolRate)) {
        const int bitsPerSymbolShown = modulationPosition_ + 1;
        const double overheads =
            bitsPerSymbolShown * value(F::symbolRate) * value(F::fecValue) - value(F::dataRate);
        if (std::isfinite(overheads)) {
            value(F::overheads) = overheads;
            markWritten(F::overheads);
        }
    }
}

FormUpdate CarrierFormModel::typed(FormField box, const std::string& typedText)
{
    texts_[static_cast<std::size_t>(box)] = typedText;
    if (box == F::centre || box == F::power || readOnly(box) || !has(box))
        return {};
    if (box == F::rsN || box == F::rsK)
        return codeTyped(box == F::rsN);
    if (box == F::rsRatio)
        return ratioTyped();
    return readRecalculateShow();
}

FormUpdate CarrierFormModel::modulationChosen(int position)
{
    modulationPosition_ = position;
    return readRecalculateShow();
}

FormUpdate CarrierFormModel::fecChosen(int position)
{
    fecPosition_ = position;
    read();
    FormUpdate update;
    if (position >= 0 && position < fecOtherPosition) {
        value(F::fecValue) = fecRateValues[static_cast<std::size_t>(position)];
        markWritten(F::fecValue);
    } else if (position == fecOtherPosition) {
        update.focus = F::fecValue;
    }
    recalculate();
    show(update);
    return update;
}

FormUpdate CarrierFormModel::reedSolomonTicked(bool on)
{
    reedSolomonOn_ = on;
    return applyReedSolomon();
}

void CarrierFormModel::inputChosen(bool symbolRateIsInput)
{
    symbolRateIsInput_ = symbolRateIsInput;
}

void CarrierFormModel::setRatio(double ratio)
{
    value(F::rsRatio) = ratio;
    markWritten(F::rsRatio);
}

FormUpdate CarrierFormModel::applyReedSolomon()
{
    read();
    if (!reedSolomonOn_) {
        // n and k stay remembered, so ticking again restores them.
        setRatio(1.0);
        rsNText_.clear();
        rsKText_.clear();
    } else if (rsNValue_ > 0 && rsKValue_ > 0) {
        rsNText_ = codeText(rsNValue_);
        rsKText_ = codeText(rsKValue_);
        setRatio(roundToDecimals(static_cast<double>(rsNValue_) / rsKValue_, 6));
        rsValuesKnown_ = true;
    }
    recalculate();
    FormUpdate update;
    show(update);
    return update;
}

FormUpdate CarrierFormModel::codeTyped(bool forN)
{
    std::string& codeBoxText = forN ? rsNText_ : rsKText_;
    unsigned& code = forN ? rsNValue_ : rsKValue_;
    std::string& otherText = forN ? rsKText_ : rsNText_;
    const unsigned otherCode = forN ? rsKValue_ : rsNValue_;

    const std::string before = codeBoxText;
    read();
    if (codeBoxText == before)
        return {};
    const int typedCode = leadingInteger(codeBoxText);
    if (typedCode > 0) {
        rsValuesKnown_ = true;
        code = static_cast<unsigned>(typedCode);
        codeBoxText = codeText(code);
        if (otherCode > 0) {
            otherText = codeText(otherCode);
            setRatio(roundToDecimals(static_cast<double>(rsNValue_) / rsKValue_, 6));
        } else {
            otherText.clear();
            setRatio(1.0);
        }
    } else {
        if (rsValuesKnown_) {
            setRatio(1.0);
            rsValuesKnown_ = false;
        }
        codeBoxText.clear();
        code = 0;
    }
    recalculate();
    FormUpdate update;
    show(update);
    return update;
}

FormUpdate CarrierFormModel::ratioTyped()
{
    const double before = value(F::rsRatio);
    read();
    if (value(F::rsRatio) == before)
        return {};
    rsValuesKnown_ = false;
    rsNText_.clear();
    rsKText_.clear();
    rsNValue_ = 0;
    rsKValue_ = 0;
    recalculate();
    FormUpdate update;
    show(update);
    return update;
}

std::optional<FormProblem> CarrierFormModel::entryProblem() const
{
    // A box the user cannot edit holds a value the form computes again.
    for (const FormField box : boxes())
        if (box != F::rsN && box != F::rsK && unreadable(box) && enabled(box) && !readOnly(box))
            return FormProblem{box,
                               std::string(box == F::rolloff ? enterIntegerText : enterNumberText)};
    return std::nullopt;
}

std::optional<FormProblem> CarrierFormModel::rulesProblem()
{
    const auto problem = [](FormField field, const char* message) {
        return std::optional<FormProblem>(FormProblem{field, message});
    };
    if (mode_ == calcModeSpectral && !(value(F::efficiency) > 0.0))
        return problem(F::efficiency, efficiencyProblemText);
    if (mode_ != calcModeFixed && modulationPosition_ < 0)
        return problem(F::modulation, modulationProblemText);
    if (mode_ == calcModeFec && !(value(F::fecValue) > 0.0))
        return problem(fecField(), fecProblemText);
    if (mode_ == calcModeFec && reedSolomonOn_ && !(value(F::rsRatio) > 0.0))
        return problem(F::rsRatio, ratioProblemText);
    if (!(rolloffFactor() > 0.0))
        return problem(F::rolloff, rolloffProblemText);
    return std::nullopt;
}

std::optional<FormProblem> CarrierFormModel::buildProblem(Carrier& rebuilt) const
{
    const double factor = rolloffFactor();
    const double centre = values_[static_cast<std::size_t>(F::centre)];
    const double power = values_[static_cast<std::size_t>(F::power)];
    const auto shown = [this](FormField box) { return values_[static_cast<std::size_t>(box)]; };
    const int modulationOrder =
        static_cast<int>(powerOfTwo(static_cast<unsigned>(modulationPosition_ + 1)));
    if (mode_ == calcModeFixed) {
        if (symbolRateIsInput_)
            rebuilt.setFixedSymbolRate(centre, shown(F::symbolRate), power, factor);
        else
            rebuilt.setFixedBandwidth(centre, shown(F::bandwidth), power, factor);
    } else if (mode_ == calcModeFec) {
        double rsN = 1.0;
        double rsK = 1.0;
        if (reedSolomonOn_) {
            if (rsValuesKnown_ && rsNValue_ > 1 && rsKValue_ > 1) {
                rsN = rsNValue_;
                rsK = rsKValue_;
            } else {
                rsN = shown(F::rsRatio);
            }
        }
        // The carrier computes its dependent rate itself, without the form's rounding.
        if (symbolRateIsInput_)
            rebuilt.setFecFromSymbolRate(centre, shown(F::symbolRate), shown(F::overheads),
                                         modulationOrder, shown(F::fecValue), rsN, rsK, power,
                                         factor);
        else
            rebuilt.setFecFromDataRate(centre, shown(F::dataRate), shown(F::overheads),
                                       modulationOrder, shown(F::fecValue), rsN, rsK, power,
                                       factor);
    } else if (symbolRateIsInput_) {
        rebuilt.setSpectralFromSymbolRate(centre, shown(F::symbolRate), shown(F::efficiency),
                                          modulationOrder, shown(F::fecValue), power, factor);
    } else {
        rebuilt.setSpectralFromDataRate(centre, shown(F::dataRate), shown(F::efficiency),
                                        modulationOrder, shown(F::fecValue), power, factor);
    }
    if (!allFinite({rebuilt.symbolRateKsps, rebuilt.dataRateKbps, rebuilt.occupiedBandwidthMhz}))
        return FormProblem{inputBox(), rateProblemText};
    return signProblem(rebuilt);
}

std::optional<FormProblem> CarrierFormModel::signProblem(const Carrier& rebuilt) const
{
    // A carrier of negative width would be drawn inside out and counted as an interferer; a
    // width of 0 is a spectral line. The box typed in is named first; a rate that only the
    // overheads make negative sends the focus to them.
    const bool fixed = mode_ == calcModeFixed;
    const FormField input = inputBox();
    if (fixed && !symbolRateIsInput_ && rebuilt.occupiedBandwidthMhz < 0.0)
        return FormProblem{input, negativeBandwidthText};
    if (symbolRateIsInput_ && rebuilt.symbolRateKsps < 0.0)
        return FormProblem{input, negativeSymbolRateText};
    if (!fixed && !symbolRateIsInput_ && rebuilt.dataRateKbps < 0.0)
        return FormProblem{input, negativeDataRateText};
    if (!fixed && rebuilt.dataRateKbps < 0.0)
        return FormProblem{mode_ == calcModeFec ? F::overheads : input, negativeDataRateText};
    if (rebuilt.symbolRateKsps < 0.0)
        return FormProblem{mode_ == calcModeFec ? F::overheads : input, negativeSymbolRateText};
    if (rebuilt.occupiedBandwidthMhz < 0.0)
        return FormProblem{input, negativeBandwidthText};
    return std::nullopt;
}

std::optional<FormProblem> CarrierFormModel::fileLimitProblem(const Carrier& rebuilt) const
{
    struct Stored {
        bool held;
        double value;
        FormField field;
        const char* quantity;
        const char* unit;
        double largest;
    };
    const bool fixed = mode_ == calcModeFixed;
    const bool fec = mode_ == calcModeFec;
    // What the carrier file writes of this carrier; a fixed bandwidth is written in kHz.
    const Stored stored[] = {
        {true, rebuilt.centreFrequencyMhz, F::centre, "centre frequency", "MHz", largestFileNumber},
        {fixed, rebuilt.occupiedBandwidthMhz, inputBox(), "occupied bandwidth", "MHz",
         largestFileNumber / 1000.0},
        {!fixed, rebuilt.dataRateKbps, inputBox(), "data rate", "kbps", largestFileNumber},
        {fec, rebuilt.overheadKbps, F::overheads, "overheads", "kbps", largestFileNumber},
        {!fixed && !fec, rebuilt.spectralEfficiency, F::efficiency, "spectral efficiency", "bps/Hz",
         largestFileNumber},
        {!fixed, rebuilt.fecRate, fecField(), "FEC rate", "", largestFileNumber},
        {fec, rebuilt.rsN / rebuilt.rsK, F::rsRatio, "Reed-Solomon ratio", "", largestFileNumber},
        {true, rebuilt.powerDbw, F::power, "power level", "dBW", largestFileNumber}};
    for (const Stored& number : stored)
        if (number.held && !fitsInFile(number.value, number.largest))
            return FormProblem{number.field,
                               outsideFileRangeText(number.quantity, number.unit, number.largest)};
    // Codes too small for the file's six decimals; the spectral form's FEC value takes no part
    // in its rates, and a file keeps it whatever it is.
    const Stored smallest[] = {
        {fec, rebuilt.fecRate, fecField(), "FEC rate", "", 0.0},
        {fec, rebuilt.rsN / rebuilt.rsK, F::rsRatio, "Reed-Solomon ratio", "", 0.0},
        {!fixed && !fec, rebuilt.spectralEfficiency, F::efficiency, "spectral efficiency", "",
         0.0}};
    for (const Stored& number : smallest)
        if (number.held && number.value < smallestFileCodeValue)
            return FormProblem{number.field, belowFileCodeValueText(number.quantity)};
    return std::nullopt;
}

FormAcceptance CarrierFormModel::accept()
{
    FormAcceptance result;
    result.carrier = carrier_;
    read();
    result.problem = entryProblem();
    if (!result.problem)
        result.problem = rulesProblem();
    if (result.problem)
        return result;
    if (mode_ == calcModeFixed) {
        recalculate();
        show(result.update);
    }
    result.problem = buildProblem(result.carrier);
    if (!result.problem)
        result.problem = fileLimitProblem(result.carrier);
    return result;
}

} // namespace orvane
