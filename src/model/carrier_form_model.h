#pragma once

#include "model/carrier.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The boxes and lists of the carrier forms; each form has some of them. The fields before
// modulation are text boxes.
enum class FormField {
    centre,
    power,
    dataRate,
    symbolRate,
    bandwidth,
    overheads,
    efficiency,
    fecValue,
    rsRatio,
    rolloff,
    rsN,
    rsK,
    modulation,
    fec,
};
constexpr int formBoxCount = static_cast<int>(FormField::modulation);

struct FormRewrite {
    FormField box;
    std::string text;
};

// What one edit changes on the form besides what the user did.
struct FormUpdate {
    std::vector<FormRewrite> rewrites; // boxes whose text is replaced, in form order
    std::optional<FormField> focus;    // where the focus moves
};

// Why OK cannot build the carrier, and which field gets the focus.
struct FormProblem {
    FormField field;
    std::string message;
};

struct FormAcceptance {
    FormUpdate update;
    std::optional<FormProblem> problem; // when set the form stays open
    Carrier carrier;                    // rebuilt; the label is the one handed in
};

// The carrier forms' values and their live recalculation, without any widgets: a form for a
// fixed bandwidth or symbol rate (calcModeFixed), for FEC and modulation (calcModeFec) or for
// a spectral efficiency (calcModeSpectral). It knows the text every box shows, takes one edit
// at a time, recalculates as the form does while the user types (with the form's display
// rounding), tells which boxes to rewrite, and builds the carrier on OK.
//
// A box whose text is not (yet) a number keeps its value and is left alone, so the form never
// rewrites what the user is typing nor calculates from it. A box is rewritten only when its
// text does not already read as the new value, so the form's own writing ends after one round.
//
// The Reed-Solomon part is either "n and k known" (both boxes filled, the ratio derived from
// them) or "ratio only" (boxes empty, the ratio typed or taken from the carrier). Unticking
// keeps n and k, so ticking again brings them back; typing a ratio forgets them.
class CarrierFormModel {
public:
    CarrierFormModel(const Carrier& carrier, CalcMode mode);

    CalcMode mode() const { return mode_; }
    bool has(FormField field) const;
    const std::string& text(FormField box) const;
    bool enabled(FormField field) const;
    bool readOnly(FormField box) const;
    int modulationPosition() const { return modulationPosition_; }
    int fecPosition() const { return fecPosition_; }
    bool reedSolomonOn() const { return reedSolomonOn_; }
    // The symbol rate is the input; otherwise the bandwidth (fixed) or data rate (coded) is.
    bool symbolRateIsInput() const { return symbolRateIsInput_; }

    FormUpdate typed(FormField box, const std::string& text);
    FormUpdate modulationChosen(int position);
    // A named rate takes its table value and closes the value box; "Other" opens it.
    FormUpdate fecChosen(int position);
    FormUpdate reedSolomonTicked(bool on);
    // Recalculates nothing.
    void inputChosen(bool symbolRateIsInput);
    FormAcceptance accept();

private:
    const std::vector<FormField>& boxes() const;
    double& value(FormField box) { return values_[static_cast<std::size_t>(box)]; }
    bool unreadable(FormField box) const { return unreadable_[static_cast<std::size_t>(box)]; }
    void markWritten(FormField box) { unreadable_.reset(static_cast<std::size_t>(box)); }
    FormField inputBox() const;
    FormField fecField() const;
    double rolloffFactor() const { return rolloffPercent_ * 0.01 + 1.0; }

    void loadFixed(const Carrier& carrier);
    void loadFec(const Carrier& carrier);
    void loadSpectral(const Carrier& carrier);

    void read();
    void show(FormUpdate& update);
    void rewrite(FormUpdate& update, FormField box, std::string wanted);
    FormUpdate readRecalculateShow();
    void recalculate();
    void recalculateFixed();
    void recalculateFec();
    void recalculateSpectral();

    void setRatio(double ratio);
    FormUpdate applyReedSolomon();
    FormUpdate codeTyped(bool forN);
    FormUpdate ratioTyped();

    std::optional<FormProblem> entryProblem() const;
    std::optional<FormProblem> rulesProblem();
    std::optional<FormProblem> buildProblem(Carrier& rebuilt) const;
    // Refuses a negative data rate, symbol rate or occupied bandwidth.
    std::optional<FormProblem> signProblem(const Carrier& rebuilt) const;
    // Refuses what a saved plan could not keep, so that everything saved reads back.
    std::optional<FormProblem> fileLimitProblem(const Carrier& rebuilt) const;

    CalcMode mode_;
    Carrier carrier_;
    std::array<std::string, formBoxCount> texts_;
    std::array<double, formBoxCount> values_{};
    std::bitset<formBoxCount> unreadable_;
    int rolloffPercent_ = 0;
    int modulationPosition_ = -1;
    int fecPosition_ = 0;
    bool reedSolomonOn_ = false;
    bool symbolRateIsInput_ = false;
    // The n and k texts as the form means them, and the code they stand for (0: not set).
    std::string rsNText_;
    std::string rsKText_;
    unsigned rsNValue_ = 0;
    unsigned rsKValue_ = 0;
    bool rsValuesKnown_ = false;
};

} // namespace orvane
