#pragma once

#include <cmath>

namespace orvane {

// How far a product's span must reach into a carrier's band to hit it. Frequencies typed in
// decimal carry rounding errors of about 1e-12 MHz once in binary, so spans that meet a band
// edge to edge land a few ulps either side of it; no spectrum is planned to 1 Hz, so an
// overlap of 1 Hz or less is a touch, whatever the last bit says.
inline constexpr double touchToleranceMhz = 1e-6;

// Whether a product spanning [spanLowMhz, spanHighMhz] hits a band [bandLowMhz, bandHighMhz]
// (the carrier's occupied band widened by the guard): each reaches more than 1 Hz past the
// other's near edge. For spans and bands wider than 1 Hz that is an overlap of more than
// 1 Hz; a spectral line (a span or band of no width) hits when it lies more than 1 Hz inside.
// Every decision of the analysis, the placement and their tests goes through here.
inline bool spanHitsBand(double spanLowMhz, double spanHighMhz, double bandLowMhz,
                         double bandHighMhz)
{
    return spanLowMhz < bandHighMhz - touchToleranceMhz &&
           spanHighMhz > bandLowMhz + touchToleranceMhz;
}

// Whom a product may reach (runs, victims, bins) is chosen with this much room for rounding in
// the products' frequencies; every decision after that is exact, by spanHitsBand.
inline double roundingSlackMhz(double magnitudeMhz)
{
    return 1e-9 * (1.0 + std::fabs(magnitudeMhz));
}

} // namespace orvane
