#pragma once

#include "dialogs/help_key_dialog.h"
#include "model/carrier_form_model.h"

#include <array>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvane {

// A carrier dialog as a view of a CarrierFormModel: it makes the form's controls, hands every
// edit to the model and writes back what the model says; the dialog of each mode lays the
// controls out. OK rebuilds the caller's carrier, Cancel leaves it untouched.
class CarrierFormDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    void accept() override;

protected:
    CarrierFormDialog(Carrier& carrier, CalcMode mode, unsigned helpKey, const QString& caption,
                      QWidget* parent);

    QLineEdit* box(FormField field) const { return boxes_[static_cast<std::size_t>(field)]; }
    QPlainTextEdit* labelBox() const { return labelBox_; }
    // Chooses the data rate (or, in the fixed form, the bandwidth) as the input.
    QRadioButton* rateRadio() const { return rateRadio_; }
    QRadioButton* symbolRateRadio() const { return symbolRateRadio_; }
    QComboBox* modulationList() const { return modulationList_; }
    QComboBox* fecList() const { return fecList_; }
    QCheckBox* reedSolomonCheck() const { return reedSolomonCheck_; }

    // A caption, its box and the unit in three columns of a row.
    void placeBox(QGridLayout* form, int row, int column, QWidget* caption, FormField field,
                  const char* unit);
    // The rows both coded forms share; the right-hand sides of rows 2 and 4 are left free.
    QGridLayout* makeCodedForm();
    // Puts the form and the OK and Cancel buttons into the dialog, sets the tab order, shows
    // the model's values and starts forwarding edits to it.
    void finishForm(QGridLayout* form, std::initializer_list<QWidget*> tabOrder);

private:
    void makeControls(CalcMode mode);
    void showModel();
    void apply(const FormUpdate& update);
    void enableBoxes();
    QWidget* control(FormField field) const;

    Carrier& carrier_;
    CarrierFormModel model_;
    std::array<QLineEdit*, formBoxCount> boxes_{};
    QPlainTextEdit* labelBox_ = nullptr;
    QRadioButton* rateRadio_ = nullptr;
    QRadioButton* symbolRateRadio_ = nullptr;
    QComboBox* modulationList_ = nullptr;
    QComboBox* fecList_ = nullptr;
    QCheckBox* reedSolomonCheck_ = nullptr;
    // Set while the dialog writes its own controls, so their change signals start nothing.
    bool writing_ = false;
};

} // namespace orvane
