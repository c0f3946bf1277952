#pragma once

#include "model/carrier_list.h"

#include <string>
#include <vector>

namespace orvane {

inline CarrierList planOf(const std::vector<Carrier>& carriers)
{
    CarrierList plan;
    for (const Carrier& carrier : carriers)
        plan.append(carrier);
    return plan;
}

// The help page's worked example: carriers of 1000 kSps and 20 dBW (roll-off 1.35) at 6010,
// 6000 and 6020 MHz in that order, labelled by frequency A, B (or the label given) and C.
inline CarrierList threeCarrierExample(const std::string& middleLabel = "B")
{
    CarrierList plan;
    for (const auto& [centreMhz, label] :
         {std::pair<double, std::string>{6010, middleLabel}, {6000, "A"}, {6020, "C"}}) {
        Carrier carrier;
        carrier.setFixedSymbolRate(centreMhz, 1000.0, 20.0, 1.35);
        carrier.label = label;
        plan.append(carrier);
    }
    return plan;
}

// QPSK 3/4 at 7500 kbps with a roll-off of 1.2: 5 MSps in 6 MHz.
inline Carrier qpskThreeQuarters(double centreMhz, double powerDbw)
{
    Carrier carrier;
    carrier.setFecFromDataRate(centreMhz, 7500.0, 0.0, 4, 0.75, 1.0, 1.0, powerDbw, 1.2);
    return carrier;
}

// The budget's worked example: two such carriers of 10 dBW, at 6005 and 5990 MHz.
inline CarrierList budgetExample()
{
    return planOf({qpskThreeQuarters(6005, 10), qpskThreeQuarters(5990, 10)});
}

} // namespace orvane
