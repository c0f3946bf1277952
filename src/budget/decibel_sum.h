#pragma once

#include <optional>
#include <vector>

namespace orvane {

// Powers in dB added as powers: 10·log10(Σ 10^(p/10)). Worked from the largest, so the sum of
// finite values is finite however far apart they lie; none for no values.
std::optional<double> powerSumDb(const std::vector<double>& powersDb);

// Independent impairments of one carrier together, each given as a carrier-to-impairment ratio
// in dB (C/N, C/IM, ...): −10·log10(Σ 10^(−r/10)). 23, 20 and 24 dB give 17.2 dB. None for no
// ratios.
std::optional<double> combinedRatioDb(const std::vector<double>& ratiosDb);

} // namespace orvane
