#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// printf "%W.Pf" without the user's locale: P decimals, padded with blanks on the left to at
// least W characters. Non-finite values print as "inf", "-inf" or "nan" (as printf does).
std::string formatFixed(double value, int width, int precision);

// The most characters writeFixed writes for this width and precision, whatever the value.
constexpr std::size_t fixedTextRoom(int width, int precision)
{
    return static_cast<std::size_t>(width > 0 ? width : 0) +
           static_cast<std::size_t>(precision > 6 ? precision : 6) + 320;
}

// formatFixed written at out, which has room for fixedTextRoom(width, precision) characters;
// returns the end. Writers of millions of numbers use it: with up to 9 decimals and below
// 10^(18 - decimals) it rounds the exact binary value in integers, half to even as printf
// does, instead of going through a general conversion.
char* writeFixed(char* out, double value, int width, int precision);

// printf "%.Ng" without the user's locale: the shortest general form with up to N significant
// digits (5850 -> "5850", 740.741 -> "740.741").
std::string formatGeneral(double value, int significantDigits = 15);

// The shortest text that reads back as exactly the same double.
std::string formatShortest(double value);

// printf "%i".
std::string formatInteger(long long value);

// One number read the way strtod reads it in the "C" locale (leading white space, optional
// sign, digits with an optional point and exponent; also hexadecimal, inf and nan) from the
// front of text. consumed is the number of characters used; 0 when no number could be read,
// and the value is then 0. A value out of range reads as strtod gives it (+-HUGE_VAL or a
// tiny value) with outOfRange set.
struct NumberPrefix {
    double value = 0.0;
    std::size_t consumed = 0;
    bool outOfRange = false;
};
NumberPrefix readNumberPrefix(std::string_view text);

// A whole text as one number: blanks around it are allowed, anything else is not.
bool parseWholeNumber(std::string_view text, double& value);

} // namespace orvane
