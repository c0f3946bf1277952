#pragma once

#include "dialogs/field_reader.h"
#include "dialogs/help_key_dialog.h"
#include "model/carrier.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvane {

// A carrier given by its data rate (or symbol rate) and a spectral efficiency. Modulation and
// FEC only show the overheads that the spectral efficiency leaves; they take no part in the
// rates. OK rebuilds the caller's carrier, Cancel leaves it untouched.
class SpectralCarrierDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    SpectralCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);

    void accept() override;

private:
    void buildForm();
    void loadFromCarrier();
    void read(FieldReader& reader);
    void showValues();
    void recalculate();
    void enableRateBoxes();

    void numberTextChanged();
    void modulationChosen();
    void fecChosen();
    void inputChosen(bool dataRateChosen);

    Carrier& carrier_;

    QPlainTextEdit* labelBox_ = nullptr;
    QLineEdit* centreBox_ = nullptr;
    QLineEdit* powerBox_ = nullptr;
    QRadioButton* dataRateRadio_ = nullptr;
    QLineEdit* dataRateBox_ = nullptr;
    QLineEdit* efficiencyBox_ = nullptr;
    QRadioButton* symbolRateRadio_ = nullptr;
    QLineEdit* symbolRateBox_ = nullptr;
    QComboBox* modulationList_ = nullptr;
    QComboBox* fecList_ = nullptr;
    QLineEdit* fecValueBox_ = nullptr;
    QLineEdit* overheadsBox_ = nullptr;
    QLineEdit* rolloffBox_ = nullptr;
    QLineEdit* bandwidthBox_ = nullptr;

    double centreMhz_ = 0.0;
    double powerDbw_ = 0.0;
    double dataRateKbps_ = 0.0;
    double spectralEfficiency_ = 0.0;
    double symbolRateKsps_ = 0.0;
    double fecValue_ = 0.0;
    double overheadKbps_ = 0.0;
    double bandwidthMhz_ = 0.0;
    int rolloffPercent_ = 0;
    int modulationPosition_ = -1;
    int fecPosition_ = 0;

    bool dataRateIsInput_ = true;
    int bitsPerSymbolShown_ = 0;

    UnreadableBoxes unreadable_;
    // Set while the dialog writes its own controls, so their change signals start nothing.
    bool writing_ = false;
};

} // namespace orvane
