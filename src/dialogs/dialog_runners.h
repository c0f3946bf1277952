#pragma once

#include "model/carrier_list.h"

#include <optional>
#include <string>

class QWidget;

namespace orvane {

class ArrangeModel;

// Shows the carrier dialog for the carrier's calcMode (0 fixed, 2 spectral efficiency, any
// other FEC and modulation) modally; true on OK with the carrier rebuilt, false on Cancel with
// the carrier untouched.
bool runCarrierDialog(QWidget* parent, Carrier& carrier);
// The carrier selection dialog, with preselected (when given) already highlighted; the place
// of the highlighted row on OK, or none.
std::optional<CarrierPosition>
runCarrierSelection(QWidget* parent, const CarrierList& list, const std::string& caption,
                    const std::string& okButtonText,
                    std::optional<CarrierPosition> preselected = std::nullopt);
// The frequency entry dialog; the value on OK.
std::optional<double> runFrequencyEntry(QWidget* parent, const std::string& caption,
                                        double initialMhz);
// The Arrange Carriers dialog over the model; true on Apply.
bool runArrangeDialog(QWidget* parent, ArrangeModel& model);

} // namespace orvane
