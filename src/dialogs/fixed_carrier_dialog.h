#pragma once

#include "dialogs/carrier_form_dialog.h"

namespace orvane {

// A carrier of fixed occupied bandwidth, or of a symbol rate and the IF filter roll-off. The
// rate that is not the input follows live while the user types.
class FixedCarrierDialog : public CarrierFormDialog {
    Q_OBJECT

public:
    FixedCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);
};

} // namespace orvane
