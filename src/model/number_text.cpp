#include "model/number_text.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <system_error>
#include <vector>

namespace orvane {

namespace {

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

std::string padLeft(std::string text, int width)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    return value < 0 ? "-inf" : "inf";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isNumberCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' ||
           c == '-' || c == '.' || c == '_' || c == '(' || c == ')';
}

} // namespace

std::string formatFixed(double value, int width, int precision)
{
    if (!std::isfinite(value))
        return padLeft(nonFiniteText(value), width);
    if (precision < 0)
        precision = 6;
    std::vector<char> buffer(400 + static_cast<std::size_t>(precision));
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, precision);
    return padLeft(std::string(buffer.data(), result.ptr), width);
}

std::string formatGeneral(double value, int significantDigits)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    return std::string(buffer, result.ptr);
}

std::string formatShortest(double value)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatInteger(long long value)
{
    return std::to_string(value);
}

NumberPrefix readNumberPrefix(std::string_view text)
{
    NumberPrefix number;
    // strtod needs a terminated string. It never reads past leading white space and one run
    // of sign, digit, point, letter, underscore and bracket characters ("0x1p3", "nan(x)"),
    // so only that part is copied: a long label after a number costs nothing.
    std::size_t extent = 0;
    while (extent < text.size() && isBlank(text[extent]))
        ++extent;
    while (extent < text.size() && isNumberCharacter(text[extent]))
        ++extent;
    std::string copy(text.substr(0, extent));
    char* end = nullptr;
    errno = 0;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    const int error = errno;
    const std::size_t consumed = static_cast<std::size_t>(end - copy.c_str());
    if (consumed == 0)
        return number;
    number.value = value;
    number.consumed = consumed;
    number.outOfRange = (error == ERANGE);
    return number;
}

bool parseWholeNumber(std::string_view text, double& value)
{
    const NumberPrefix number = readNumberPrefix(text);
    if (number.consumed == 0)
        return false;
    for (std::size_t i = number.consumed; i < text.size(); ++i)
        if (!isBlank(text[i]))
            return false;
    value = number.value;
    return true;
}

} // namespace orvane
