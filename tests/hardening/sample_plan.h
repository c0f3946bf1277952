#pragma once

#include "model/carrier_list.h"

#include <string>

namespace orvane::test {

// A plan of carrierCount FEC carriers 2 MHz apart from 5900 MHz, each with a level.
inline CarrierList samplePlan(int carrierCount)
{
    CarrierList plan;
    plan.title = "Sample plan";
    plan.viewStartMhz = 5850.0;
    plan.viewStopMhz = 6425.0;
    for (int i = 0; i < carrierCount; ++i) {
        Carrier carrier;
        carrier.setFecFromDataRate(5900.0 + 2.0 * i, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 10.0, 1.2);
        carrier.label = "Carrier " + std::to_string(i + 1);
        plan.append(carrier);
    }
    return plan;
}

} // namespace orvane::test
