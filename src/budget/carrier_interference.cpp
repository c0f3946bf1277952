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

} // namespace orvane
