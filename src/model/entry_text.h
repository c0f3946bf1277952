#pragma once

#include "model/file_number_limit.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// What a form says of a box that does not hold what it must.
inline constexpr const char* enterNumberText = "Please enter a number.";
inline constexpr const char* enterIntegerText = "Please enter an integer.";

// A box's text as a finite number; blanks around it are allowed, nothing else is. The point is
// the decimal separator whatever the user's locale.
std::optional<double> readEntryNumber(std::string_view text);
// A whole number with an optional sign, blanks around it allowed, within the int range.
std::optional<int> readEntryInteger(std::string_view text);
// The leading whole number of a text (after blanks and an optional sign), as atoi reads it
// but clamped to the int range; 0 when the text does not start with digits.
int leadingInteger(std::string_view text);

// "The <quantity> must lie between -<largest> and <largest> <unit>."
std::string outsideFileRangeText(std::string_view quantity, std::string_view unit,
                                 double largest = largestFileNumber);
// "The %s must be at least 0.000001, the smallest a carrier file keeps."
std::string belowFileCodeValueText(std::string_view quantity);

} // namespace orvane
