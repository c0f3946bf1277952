#pragma once

#include "model/carrier.h"
#include "model/carrier_list.h"

#include <optional>
#include <string_view>

namespace orvane {

// Two FEC rates name the same code when they differ by no more than this: catalogues and
// carrier files keep six decimals, so 2/3 is written 0.666667.
inline constexpr double sameFecRateTolerance = 1e-6;

// The bytes of data/modcod/dvb-s2.modcod as the program was built with them.
std::string_view shippedDvbS2CatalogueText();
// That catalogue read once by the modcod reader: the reference for carriers not taken from a
// catalogue, the same wherever the program runs.
const CarrierList& shippedDvbS2Catalogue();

// The Es/N0 in dB a carrier's modcod needs. A carrier taken from a catalogue: its entry's first
// parameter (modcodParamA). A carrier defined by data rate or spectral efficiency: that of the
// first entry of reference with the same modulation order and an FEC rate within
// sameFecRateTolerance. None otherwise (a fixed-bandwidth carrier has no modcod) and for a
// value that is not finite.
std::optional<double> requiredEsN0Db(const Carrier& carrier, const CarrierList& reference);

} // namespace orvane
