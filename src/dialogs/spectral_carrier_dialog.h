#pragma once

#include "dialogs/carrier_form_dialog.h"

namespace orvane {

// A carrier given by its data rate (or symbol rate) and a spectral efficiency. Modulation and
// FEC only show the overheads that the spectral efficiency leaves; they take no part in the
// rates.
class SpectralCarrierDialog : public CarrierFormDialog {
    Q_OBJECT

public:
    SpectralCarrierDialog(Carrier& carrier, QWidget* parent = nullptr);
};

} // namespace orvane
