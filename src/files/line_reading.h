#pragma once

#include "model/file_number_limit.h"

#include <cstddef>
#include <string_view>

namespace orvane {

// Splits file bytes into lines. CR LF, LF and a lone CR each end a line (a lone CR is the old
// Macintosh line end, never part of a field: the writers store line breaks as TABs). A last
// line without a line end still counts; the empty rest after a final line end does not.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view bytes) : rest_(bytes) {}
    // The next line without its line end; false at the end of the bytes.
    bool next(std::string_view& line);
    // The 1-based number of the line next() gave last.
    int lineNumber() const { return lineNumber_; }

private:
    std::string_view rest_;
    int lineNumber_ = 0;
};

// True for the characters the readers trim and skip between fields: TAB, space, comma.
bool isFieldSeparator(char c);
// text without TABs, spaces and commas at both ends.
std::string_view trimSeparators(std::string_view text);
// text without its leading characters that are separators or appear in extra.
std::string_view dropLeading(std::string_view text, std::string_view extra = {});

// Reads the numbers of a line one after the other, the way the readers take them: each from
// the front of the rest of the line as strtod does (where no number can be read the value is
// 0 and nothing is consumed), then the separators after it are dropped. Remembers whether any
// number was unusable: not finite, out of range, or larger in size than 1e12.
class NumberFields {
public:
    explicit NumberFields(std::string_view text) : rest_(text) {}
    double next();
    bool allUsable() const { return allUsable_; }
    // What is left once the numbers are read: the label.
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
    bool allUsable_ = true;
};

// An "R" line of a plan or catalogue file: the roll-off factor it sets, or why it is ignored.
struct RolloffLine {
    double factor = 0.0;
    const char* refusal = nullptr; // set when the line is ignored
};
// Plan and catalogue files read their "R" lines by this one rule.
RolloffLine readRolloffLine(std::string_view text);

} // namespace orvane
