#pragma once

#include "files/file_error.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Writes a file through a temporary file in the same folder and puts it in place of the
// target only when everything was written: a failed write leaves no half file and any
// earlier file at the path untouched. A target that is a device or a pipe (/dev/null,
// /dev/full) is written directly. Output is buffered; write() reports the first failure.
class SafeFileWriter {
public:
    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file beside path. On failure nothing is created.
    std::optional<FileError> open(const std::string& path);
    // Appends bytes; false once a write has failed (error() tells why).
    bool write(std::string_view bytes);
    // Flushes, syncs and renames over the target. On failure the temporary file is removed.
    std::optional<FileError> commit();
    // Drops the temporary file, leaving the target as it was.
    void discard();

    bool isOpen() const { return descriptor_ >= 0; }
    const std::optional<FileError>& error() const { return error_; }
    const std::string& path() const { return path_; }
    unsigned long long bytesWritten() const { return bytesWritten_; }

private:
    bool writeAll(const char* bytes, std::size_t size);
    bool flushBuffer();
    void startWriteBack();
    void fail(int errorNumber);

    std::string path_;
    std::string replacedPath_;  // the file the temporary file replaces (links followed)
    std::string temporaryPath_; // empty when writing straight into a device or pipe
    std::string buffer_;
    int descriptor_ = -1;
    unsigned long long bytesWritten_ = 0;
    unsigned long long writeBackStart_ = 0; // where the disk has not yet been asked to write
    std::optional<FileError> error_;
};

// Writes the whole content in one go through a SafeFileWriter.
std::optional<FileError> writeFileSafely(const std::string& path, std::string_view content);

} // namespace orvane
