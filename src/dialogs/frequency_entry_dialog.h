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

    // The width at which a window manager's title bar shows the caption in full.
    static int widthForCaption(const QString& caption);

private:
    // The title bar's icon, its three buttons and their margins.
    static constexpr int titleBarRoomPx = 140;

    QLineEdit* frequencyBox_ = nullptr;
    double frequencyMhz_ = 0.0;
};

} // namespace orvane
