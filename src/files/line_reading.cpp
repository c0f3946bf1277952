#include "files/line_reading.h"

#include "model/number_text.h"

#include <cmath>

namespace orvane {

bool LineSplitter::next(std::string_view& line)
{
    if (rest_.empty())
        return false;
    // A plain scan: find_first_of searches the set of two for every character.
    std::size_t end = 0;
    while (end < rest_.size() && rest_[end] != '\n' && rest_[end] != '\r')
        ++end;
    ++lineNumber_;
    if (end == rest_.size()) {
        line = rest_;
        rest_ = std::string_view();
        return true;
    }
    line = rest_.substr(0, end);
    std::size_t endLength = 1;
    if (rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n')
        endLength = 2;
    rest_.remove_prefix(end + endLength);
    return true;
}

bool isFieldSeparator(char c)
{
    return c == '\t' || c == ' ' || c == ',';
}

std::string_view trimSeparators(std::string_view text)
{
    while (!text.empty() && isFieldSeparator(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isFieldSeparator(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view dropLeading(std::string_view text, std::string_view extra)
{
    while (!text.empty() &&
           (isFieldSeparator(text.front()) || extra.find(text.front()) != std::string_view::npos))
        text.remove_prefix(1);
    return text;
}

double NumberFields::next()
{
    const NumberPrefix number = readNumberPrefix(rest_);
    rest_.remove_prefix(number.consumed);
    rest_ = dropLeading(rest_);
    if (number.outOfRange || !std::isfinite(number.value) ||
        std::fabs(number.value) > largestFileNumber)
        allUsable_ = false;
    return number.value;
}

RolloffLine readRolloffLine(std::string_view text)
{
    // The smallest factor a saved file keeps ("R %6.4f"): a smaller one would be saved as 0
    // and refused when the file is loaded again.
    constexpr double smallestRolloffFactor = 0.0001;
    NumberFields fields(dropLeading(text, "Rr"));
    RolloffLine line;
    line.factor = fields.next();
    if (!fields.allUsable())
        line.refusal = "the roll-off factor is not a usable number; the line is ignored";
    // A factor of 0 or below would divide fixed bandwidths by zero or make them negative.
    else if (!(line.factor > 0.0))
        line.refusal = "the roll-off factor is not above 0; the line is ignored";
    else if (line.factor < smallestRolloffFactor)
        line.refusal = "the roll-off factor is below 0.0001, the smallest a saved file keeps; "
                       "the line is ignored";
    return line;
}

} // namespace orvane
