#pragma once

#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <string>

namespace orvane::test {

// printf's own text in the C locale, whatever locale the test runs under.
__attribute__((format(printf, 1, 2))) inline std::string printfInCLocale(const char* format, ...)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = uselocale(cLocale);
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    uselocale(previous);
    return text;
}

} // namespace orvane::test
