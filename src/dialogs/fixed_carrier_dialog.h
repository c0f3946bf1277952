#pragma once

#include "dialogs/field_reader.h"
#include "dialogs/help_key_dialog.h"
#include "model/carrier.h"

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvane {

// A carrier of fixed occupied bandwidth, or of a symbol rate and the IF filter roll-off.
// The rate that is not the input follows live while the user types; OK rebuilds the caller's
// carrier from the input, Cancel leaves it untouched.
class FixedCarrierDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    FixedCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);

    void accept() override;

private:
    void buildForm();
    void loadFromCarrier();
    void read(FieldReader& reader);
    void showValues();
    void recalculate();
    void enableRateBoxes();

    void rateTextChanged();
    void inputChosen(bool bandwidthChosen);

    Carrier& carrier_;

    QPlainTextEdit* labelBox_ = nullptr;
    QLineEdit* centreBox_ = nullptr;
    QRadioButton* symbolRateRadio_ = nullptr;
    QLineEdit* symbolRateBox_ = nullptr;
    QRadioButton* bandwidthRadio_ = nullptr;
    QLineEdit* bandwidthBox_ = nullptr;
    QLineEdit* powerBox_ = nullptr;
    QLineEdit* rolloffBox_ = nullptr;

    double centreMhz_ = 0.0;
    double symbolRateKsps_ = 0.0;
    double bandwidthMhz_ = 0.0;
    double powerDbw_ = 0.0;
    int rolloffPercent_ = 0;
    bool bandwidthIsInput_ = true;

    UnreadableBoxes unreadable_;
    // Set while the dialog writes its own boxes, so their change signals start nothing.
    bool writing_ = false;
};

} // namespace orvane
