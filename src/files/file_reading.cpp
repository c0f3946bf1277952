#include "files/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

std::optional<FileError> readWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    if (path.empty())
        return FileError{FileErrorCause::badPath, path};
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return FileError{fileErrorCauseFromErrno(errno, false), path};
    struct stat info {};
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        if (static_cast<unsigned long long>(info.st_size) > largestReadableFileBytes) {
            ::close(descriptor);
            return FileError{FileErrorCause::fileTooLarge, path};
        }
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char chunk[1 << 16];
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk, sizeof chunk);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(descriptor);
            bytes.clear();
            return FileError{fileErrorCauseFromErrno(error, false), path};
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
        if (bytes.size() > largestReadableFileBytes) {
            ::close(descriptor);
            bytes.clear();
            bytes.shrink_to_fit();
            return FileError{FileErrorCause::fileTooLarge, path};
        }
    }
    ::close(descriptor);
    // A UTF-16 file (as some editors save text) would read as carriers at 0 MHz with
    // garbled labels; its byte-order mark gives it away.
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        bytes.clear();
        return FileError{FileErrorCause::utf16Text, path};
    }
    return std::nullopt;
}

} // namespace orvane
