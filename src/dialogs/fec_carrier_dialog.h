#pragma once

#include "dialogs/carrier_form_dialog.h"

namespace orvane {

// A carrier given by its data rate, overheads, modulation, FEC rate and an optional
// Reed-Solomon code, or by its symbol rate with the same coding. The other rate and the
// occupied bandwidth follow live.
class FecCarrierDialog : public CarrierFormDialog {
    Q_OBJECT

public:
    FecCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);
};

} // namespace orvane
