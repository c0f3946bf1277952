#pragma once

#include "model/carrier_list.h"

#include <string>

namespace orvane::test {

// A plan of carrierCount FEC carriers 2 MHz apart from 5900 MHz, each with a level.
CarrierList samplePlan(int carrierCount);

// The carrier file of samplePlan(carrierCount), as the program writes it.
std::string samplePlanText(int carrierCount);

} // namespace orvane::test
