#include "commands/chooser_filters.h"

namespace orvane {

namespace {

std::vector<std::string> splitAtBars(const std::string& text)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char character : text) {
        if (character == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += character;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string qtPatterns(const std::string& patterns)
{
    std::string result;
    std::string pattern;
    const auto flush = [&] {
        if (pattern.empty())
            return;
        if (!result.empty())
            result += ' ';
        result += pattern == "*.*" ? "*" : pattern;
        pattern.clear();
    };
    for (const char character : patterns) {
        if (character == ';' || character == ' ')
            flush();
        else
            pattern += character;
    }
    flush();
    return result;
}

// The name without a trailing "(...)" of its own.
std::string nameWithoutPatterns(const std::string& name)
{
    std::string trimmed = name;
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.pop_back();
    if (!trimmed.empty() && trimmed.back() == ')') {
        const auto open = trimmed.rfind('(');
        if (open != std::string::npos) {
            trimmed.erase(open);
            while (!trimmed.empty() && trimmed.back() == ' ')
                trimmed.pop_back();
        }
    }
    return trimmed;
}

} // namespace

std::vector<std::string> chooserFilterList(const std::string& filterText)
{
    const std::vector<std::string> parts = splitAtBars(filterText);
    std::vector<std::string> filters;
    for (std::size_t index = 0; index + 1 < parts.size(); index += 2) {
        if (parts[index].empty())
            break;
        filters.push_back(nameWithoutPatterns(parts[index]) + " (" + qtPatterns(parts[index + 1]) +
                          ")");
    }
    return filters;
}

std::string defaultSuffixOf(const std::string& nameFilter)
{
    const std::string::size_type open = nameFilter.rfind('(');
    if (open == std::string::npos || nameFilter.compare(open + 1, 2, "*.") != 0)
        return {};
    const std::string::size_type start = open + 3;
    const std::string::size_type end = nameFilter.find_first_of(" )", start);
    return nameFilter.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace orvane
