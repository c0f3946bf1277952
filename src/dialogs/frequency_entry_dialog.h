#pragma once

#include "dialogs/help_key_dialog.h"

class QLineEdit;

namespace orvane {

// Asks for one frequency in MHz, under the caller's caption and starting from its value.
class FrequencyEntryDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    FrequencyEntryDialog(const QString& caption, double initialMhz, QWidget* parent = nullptr);

    // The value accepted with OK; the initial one until then.
    double frequencyMhz() const { return frequencyMhz_; }

    void accept() override;

private:
    QLineEdit* frequencyBox_ = nullptr;
    double frequencyMhz_ = 0.0;
};

} // namespace orvane
