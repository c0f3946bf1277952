#pragma once

namespace orvane {

// The one rounding rule of the system: floor(x), plus one when the fraction is at least 0.5,
// so halves go upward (2.5 -> 3, -2.5 -> -2). Values outside the 32-bit range are clamped
// to it; NaN gives 0.
int roundHalfUp(double x);

// The same rule without the 32-bit limit; returns x itself for non-finite values.
double roundHalfUpExact(double x);

// x rounded to n decimals with roundHalfUp (a negative n counts as 0). A value whose scaled
// form is not finite is returned unchanged.
double roundToDecimals(double x, int n);

// 1.0 for n = 0; otherwise x multiplied by itself |n| - 1 times, the reciprocal for n < 0.
double integerPower(double x, int n);

} // namespace orvane
