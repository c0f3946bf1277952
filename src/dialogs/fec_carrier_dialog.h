#pragma once

#include "dialogs/field_reader.h"
#include "dialogs/help_key_dialog.h"
#include "model/carrier.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvane {

// A carrier given by its data rate, overheads, modulation, FEC rate and an optional
// Reed-Solomon code, or by its symbol rate with the same coding. The other rate and the
// occupied bandwidth follow live; OK rebuilds the caller's carrier, Cancel leaves it untouched.
//
// The Reed-Solomon part is either "n and k known" (both boxes filled, the ratio derived from
// them) or "ratio only" (boxes empty, the ratio typed or taken from the carrier). Unchecking
// keeps n and k, so checking again brings them back; typing a ratio forgets them.
class FecCarrierDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    FecCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);

    void accept() override;

private:
    void buildForm();
    void loadFromCarrier();
    void read(FieldReader& reader);
    void showValues();
    void recalculate();
    bool symbolRateFromDataRate();
    bool dataRateFromSymbolRate();
    void enableRateBoxes();
    void setRatio(double ratio);
    void applyReedSolomonCheck();
    void rsCodeTextChanged(bool forN);

    void numberTextChanged();
    void modulationChosen();
    void fecChosen();
    void reedSolomonClicked();
    void rsNTextChanged();
    void rsKTextChanged();
    void ratioTextChanged();
    void inputChosen(bool dataRateChosen);

    Carrier& carrier_;

    QPlainTextEdit* labelBox_ = nullptr;
    QLineEdit* centreBox_ = nullptr;
    QLineEdit* powerBox_ = nullptr;
    QRadioButton* dataRateRadio_ = nullptr;
    QLineEdit* dataRateBox_ = nullptr;
    QLineEdit* overheadsBox_ = nullptr;
    QRadioButton* symbolRateRadio_ = nullptr;
    QLineEdit* symbolRateBox_ = nullptr;
    QComboBox* modulationList_ = nullptr;
    QComboBox* fecList_ = nullptr;
    QLineEdit* fecValueBox_ = nullptr;
    QCheckBox* reedSolomonCheck_ = nullptr;
    QLineEdit* rsNBox_ = nullptr;
    QLineEdit* rsKBox_ = nullptr;
    QLineEdit* ratioBox_ = nullptr;
    QLineEdit* rolloffBox_ = nullptr;
    QLineEdit* bandwidthBox_ = nullptr;

    double centreMhz_ = 0.0;
    double powerDbw_ = 0.0;
    double dataRateKbps_ = 0.0;
    double overheadKbps_ = 0.0;
    double symbolRateKsps_ = 0.0;
    double fecValue_ = 0.0;
    double rsRatio_ = 1.0;
    double bandwidthMhz_ = 0.0;
    int rolloffPercent_ = 0;
    int modulationPosition_ = -1;
    int fecPosition_ = 0;
    bool reedSolomonOn_ = false;
    QString rsNText_;
    QString rsKText_;

    bool dataRateIsInput_ = true;
    int bitsPerSymbolShown_ = 0;
    unsigned rsNValue_ = 0;
    unsigned rsKValue_ = 0;
    bool rsValuesKnown_ = false;

    UnreadableBoxes unreadable_;
    // Set while the dialog writes its own controls, so their change signals start nothing.
    bool writing_ = false;
};

} // namespace orvane
