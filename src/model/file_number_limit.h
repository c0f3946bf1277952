#pragma once

#include <cmath>

namespace orvane {

// The largest size a number in a plan or catalogue file may have. The readers refuse larger
// ones, so whatever the program lets the user enter stays within it and reads back.
constexpr double largestFileNumber = 1e12;

// The smallest code value (FEC rate, Reed-Solomon ratio, spectral efficiency) a carrier file
// keeps ("%8.6f"): a smaller one would be saved as 0 and refused when the file is read again.
constexpr double smallestFileCodeValue = 0.000001;

// False for a value beyond the limit, and for infinities and not-a-number.
inline bool fitsInFile(double value, double largest = largestFileNumber)
{
    return std::fabs(value) <= largest;
}

} // namespace orvane
