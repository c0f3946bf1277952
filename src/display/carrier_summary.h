#pragma once

#include "model/carrier.h"

#include <string>

namespace orvane {

// What the plot tells about a carrier pointed at, one fact a line: its label, centre,
// occupied bandwidth, symbol rate, then data rate, modulation and FEC where its calculation
// mode has them, then power and power density (or that it has no power level).
std::string carrierSummary(const Carrier& carrier);

} // namespace orvane
