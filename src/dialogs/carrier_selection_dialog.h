#pragma once

#include "dialogs/help_key_dialog.h"
#include "model/carrier_list.h"

#include <optional>

class QTreeWidget;

namespace orvane {

// Lets the user point at one entry of a plan (frequency, power, label) or of a modcod
// catalogue (its entry names). The pick is the highlighted row, whether the mouse or the
// keyboard moved the highlight; a double click does not close the dialog. A preselected entry
// starts out highlighted and picked.
class CarrierSelectionDialog : public HelpKeyDialog {
    Q_OBJECT

public:
    CarrierSelectionDialog(const CarrierList& list, const QString& caption,
                           const QString& okButtonText, QWidget* parent = nullptr,
                           std::optional<CarrierPosition> preselected = std::nullopt);

    std::optional<CarrierPosition> selectedEntry() const { return selectedEntry_; }

private:
    void fillList();
    void pickHighlightedRow();

    const CarrierList& list_;
    QTreeWidget* listView_ = nullptr;
    std::optional<CarrierPosition> selectedEntry_;
};

} // namespace orvane
