#include "model/entry_text.h"

#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<double> readEntryNumber(std::string_view text)
{
    double value = 0.0;
    if (!parseWholeNumber(text, value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> readEntryInteger(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    const long long largest = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > largest)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int leadingInteger(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    long long magnitude = 0;
    for (std::size_t i = 0; i < text.size() && isDigit(text[i]); ++i)
        magnitude =
            std::min<long long>(magnitude * 10 + (text[i] - '0'), std::numeric_limits<int>::max());
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string outsideFileRangeText(std::string_view quantity, std::string_view unit, double largest)
{
    const std::string limit = formatGeneral(largest, 15);
    std::string text = "The ";
    text += quantity;
    text += " must lie between -" + limit + " and " + limit;
    if (!unit.empty()) {
        text += ' ';
        text += unit;
    }
    text += '.';
    return text;
}

std::string belowFileCodeValueText(std::string_view quantity)
{
    std::string text = "The ";
    text += quantity;
    text += " must be at least " + formatFixed(smallestFileCodeValue, 0, 6) +
            ", the smallest a carrier file keeps.";
    return text;
}

} // namespace orvane
