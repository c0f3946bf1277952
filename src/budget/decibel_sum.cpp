#include "budget/decibel_sum.h"

#include <algorithm>
#include <cmath>

namespace orvane {

std::optional<double> powerSumDb(const std::vector<double>& powersDb)
{
    if (powersDb.empty())
        return std::nullopt;
    const double largest = *std::max_element(powersDb.begin(), powersDb.end());
    double relative = 0.0; // at least 1: the largest term
    for (const double power : powersDb)
        relative += std::pow(10.0, (power - largest) / 10.0);
    return largest + 10.0 * std::log10(relative);
}

std::optional<double> combinedRatioDb(const std::vector<double>& ratiosDb)
{
    std::vector<double> impairments(ratiosDb.size());
    std::transform(ratiosDb.begin(), ratiosDb.end(), impairments.begin(),
                   [](double ratio) { return -ratio; });
    const std::optional<double> total = powerSumDb(impairments);
    if (!total)
        return std::nullopt;
    return -*total;
}

} // namespace orvane
