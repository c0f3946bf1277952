#include "model/number_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <system_error>

namespace orvane {

namespace {

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

struct PowersOfTen {
    std::uint64_t value[20] = {1};
    constexpr PowersOfTen()
    {
        for (int i = 1; i < 20; ++i)
            value[i] = value[i - 1] * 10;
    }
    constexpr std::uint64_t operator[](int exponent) const { return value[exponent]; }
};
constexpr PowersOfTen powersOfTen;

constexpr char digitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233"
                              "34353637383940414243444546474849505152535455565758596061626364656667"
                              "6869707172737475767778798081828384858687888990919293949596979899";

// The integer path holds the value times 10^decimals below 10^18.
constexpr int mostIntegerDecimals = 9;
constexpr int integerDigitsLimit = 18;

__extension__ using Wide = unsigned __int128;

int decimalDigits(std::uint64_t value)
{
    int digits = 1;
    while (digits < 20 && value >= powersOfTen[digits])
        ++digits;
    return digits;
}

// The last count digits of value, written so that they end at end.
template <typename Unsigned> void writeDigitsBefore(char* end, Unsigned value, int count)
{
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, digitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (count == 1)
        end[-1] = static_cast<char>('0' + value % 10);
}

// value times 10^Decimals rounded to a whole number, half to even, from the exact binary value.
template <int Decimals> std::uint64_t scaledAndRounded(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biasedExponent != 0) {
        significand |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    const Wide product = Wide{significand} * powersOfTen[Decimals];
    if (exponent >= 0)
        return static_cast<std::uint64_t>(product << exponent);
    if (exponent < -100) // below 2^-47: far less than half of the last decimal
        return 0;
    const unsigned shift = static_cast<unsigned>(-exponent);
    const Wide whole = product >> shift;
    const Wide rest = product - (whole << shift);
    const Wide half = Wide{1} << (shift - 1);
    const bool up = rest > half || (rest == half && (whole & 1) != 0);
    return static_cast<std::uint64_t>(whole) + (up ? 1 : 0);
}

// The whole part of a number, for frequencies mostly four or five digits: written without
// counting its digits in a loop.
char* writeWhole(char* out, std::uint64_t value)
{
    if (value >= 100000) {
        const int digits = decimalDigits(value);
        if (value <= UINT32_MAX)
            writeDigitsBefore(out + digits, static_cast<std::uint32_t>(value), digits);
        else
            writeDigitsBefore(out + digits, value, digits);
        return out + digits;
    }
    auto small = static_cast<std::uint32_t>(value);
    if (small >= 10000) {
        *out++ = static_cast<char>('0' + small / 10000);
        small %= 10000;
    } else if (small < 100) {
        if (small < 10) {
            *out = static_cast<char>('0' + small);
            return out + 1;
        }
        std::memcpy(out, digitPairs + 2 * small, 2);
        return out + 2;
    } else if (small < 1000) {
        *out++ = static_cast<char>('0' + small / 100);
        std::memcpy(out, digitPairs + 2 * (small % 100), 2);
        return out + 2;
    }
    std::memcpy(out, digitPairs + 2 * (small / 100), 2);
    std::memcpy(out + 2, digitPairs + 2 * (small % 100), 2);
    return out + 4;
}

// Moves the text [start, end) right to fill at least width characters with blanks before it.
char* padLeft(char* start, char* end, int width)
{
    const std::ptrdiff_t length = end - start;
    if (length >= width)
        return end;
    const auto pad = static_cast<std::size_t>(width - length);
    std::memmove(start + pad, start, static_cast<std::size_t>(length));
    std::memset(start, ' ', pad);
    return start + width;
}

template <int Decimals> char* writeFixedDecimals(char* out, double value, int width)
{
    char* const start = out;
    if (std::signbit(value))
        *out++ = '-';
    const std::uint64_t units = scaledAndRounded<Decimals>(value);
    const std::uint64_t integerPart = units / powersOfTen[Decimals];
    out = writeWhole(out, integerPart);
    if (Decimals > 0) {
        *out++ = '.';
        out += Decimals;
        writeDigitsBefore(
            out, static_cast<std::uint32_t>(units - integerPart * powersOfTen[Decimals]), Decimals);
    }
    return padLeft(start, out, width);
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
    std::string text(fixedTextRoom(width, precision), '\0');
    text.resize(
        static_cast<std::size_t>(writeFixed(text.data(), value, width, precision) - text.data()));
    return text;
}

char* writeFixed(char* out, double value, int width, int precision)
{
    if (precision < 0)
        precision = 6;
    if (precision <= mostIntegerDecimals &&
        std::fabs(value) < static_cast<double>(powersOfTen[integerDigitsLimit - precision])) {
        switch (precision) {
        case 0:
            return writeFixedDecimals<0>(out, value, width);
        case 1:
            return writeFixedDecimals<1>(out, value, width);
        case 2:
            return writeFixedDecimals<2>(out, value, width);
        case 3:
            return writeFixedDecimals<3>(out, value, width);
        case 4:
            return writeFixedDecimals<4>(out, value, width);
        case 5:
            return writeFixedDecimals<5>(out, value, width);
        case 6:
            return writeFixedDecimals<6>(out, value, width);
        case 7:
            return writeFixedDecimals<7>(out, value, width);
        case 8:
            return writeFixedDecimals<8>(out, value, width);
        default:
            return writeFixedDecimals<9>(out, value, width);
        }
    }
    char* end = out;
    if (std::isfinite(value)) {
        end = std::to_chars(out, out + fixedTextRoom(width, precision), value,
                            std::chars_format::fixed, precision)
                  .ptr;
    } else {
        const std::string text = nonFiniteText(value);
        end = std::copy(text.begin(), text.end(), out);
    }
    return padLeft(out, end, width);
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
