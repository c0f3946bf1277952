#pragma once

#include "files/file_error.h"

#include <string>
#include <string_view>

namespace orvane {

// Where a writer's bytes go: a file for the program, a string for tests and previews.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends bytes; false when they could not all be taken.
    virtual bool write(std::string_view bytes) = 0;
    // Why the last write failed. A sink that cannot tell says the disk is full.
    virtual FileErrorCause failureCause() const { return FileErrorCause::diskFull; }
};

// Collects everything in memory; never fails.
class StringSink : public ByteSink {
public:
    bool write(std::string_view bytes) override
    {
        text_.append(bytes.data(), bytes.size());
        return true;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace orvane
