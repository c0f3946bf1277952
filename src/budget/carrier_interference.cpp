#include "budget/carrier_interference.h"

namespace orvane {

std::vector<CarrierInterference> interferenceFromAnalysis(const IntermodAnalysis& analysis)
{
    std::vector<CarrierInterference> interference;
    interference.reserve(analysis.carriers.size());
    for (const CarrierIntermod& carrier : analysis.carriers)
        interference.push_back({carrier.cimDb, carrier.complete.value_or(true)});
    return interference;
}

std::vector<CarrierInterference>
interferenceFromSimulation(const std::vector<SimulatedCarrier>& carriers)
{
    std::vector<CarrierInterference> interference;
    interference.reserve(carriers.size());
    for (const SimulatedCarrier& carrier : carriers)
        interference.push_back({carrier.cimDb, true});
    return interference;
}

} // namespace orvane
