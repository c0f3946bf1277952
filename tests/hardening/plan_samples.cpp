#include "plan_samples.h"

#include "files/carrier_file.h"
#include "model/number_text.h"

namespace orvane::test {

CarrierList samplePlan(int carrierCount)
{
    CarrierList plan;
    plan.title = "Sample plan";
    plan.viewStartMhz = 5850.0;
    plan.viewStopMhz = 6425.0;
    for (int i = 0; i < carrierCount; ++i) {
        Carrier carrier;
        carrier.setFecFromDataRate(5900.0 + 2.0 * i, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 10.0, 1.2);
        carrier.label = "Carrier " + formatInteger(i + 1);
        plan.append(carrier);
    }
    return plan;
}

std::string samplePlanText(int carrierCount)
{
    CarrierList plan = samplePlan(carrierCount);
    return writeCarrierText(plan);
}

} // namespace orvane::test
