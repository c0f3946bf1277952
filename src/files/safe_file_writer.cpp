#include "files/safe_file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvane {

namespace {

constexpr std::size_t bufferCapacity = 1 << 20;
constexpr std::size_t directPieceSize = bufferCapacity / 4;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t creationMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666) & ~mask;
}

} // namespace

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

std::optional<FileError> SafeFileWriter::open(const std::string& path)
{
    discard();
    path_ = path;
    error_.reset();
    bytesWritten_ = 0;
    writeBackStart_ = 0;
    if (path.empty() || path.back() == '/') {
        error_ = FileError{FileErrorCause::badPath, path};
        return error_;
    }
    struct stat targetInfo {};
    const bool targetExists = ::stat(path.c_str(), &targetInfo) == 0;
    if (targetExists && S_ISDIR(targetInfo.st_mode)) {
        error_ = FileError{FileErrorCause::accessDenied, path};
        return error_;
    }
    if (targetExists && !S_ISREG(targetInfo.st_mode)) {
        // A device or a pipe cannot be replaced by a renamed file: write into it directly.
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (descriptor < 0) {
            error_ = FileError{fileErrorCauseFromErrno(errno, true), path};
            return error_;
        }
        descriptor_ = descriptor;
        buffer_.reserve(bufferCapacity);
        return std::nullopt;
    }
    // A link is followed, so the file it names is replaced and the link stays a link.
    replacedPath_ = path;
    if (targetExists) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            replacedPath_ = resolved;
            std::free(resolved);
        }
    }
    std::string pattern = folderOf(replacedPath_) + "/." + nameOf(replacedPath_) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0) {
        error_ = FileError{fileErrorCauseFromErrno(errno, true), path};
        return error_;
    }
    descriptor_ = descriptor;
    temporaryPath_.assign(name.data());
    ::fchmod(descriptor_, creationMode());
    buffer_.reserve(bufferCapacity);
    return std::nullopt;
}

void SafeFileWriter::fail(int errorNumber)
{
    if (!error_)
        error_ = FileError{errorNumber == ENOSPC || errorNumber == EDQUOT || errorNumber == EFBIG
                               ? FileErrorCause::diskFull
                               : fileErrorCauseFromErrno(errorNumber, true),
                           path_};
}

bool SafeFileWriter::writeAll(const char* bytes, std::size_t size)
{
    std::size_t offset = 0;
    while (offset < size) {
        const ssize_t written = ::write(descriptor_, bytes + offset, size - offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return false;
        }
        offset += static_cast<std::size_t>(written);
    }
    bytesWritten_ += size;
    startWriteBack();
    return true;
}

void SafeFileWriter::startWriteBack()
{
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk starts on what is written while the rest is still being made, so the sync at
    // the end waits only for the last part of a large file.
    constexpr unsigned long long writeBackStep = 8 << 20;
    if (bytesWritten_ - writeBackStart_ < writeBackStep || temporaryPath_.empty())
        return;
    ::sync_file_range(descriptor_, static_cast<off_t>(writeBackStart_),
                      static_cast<off_t>(bytesWritten_ - writeBackStart_), SYNC_FILE_RANGE_WRITE);
    writeBackStart_ = bytesWritten_;
#endif
}

bool SafeFileWriter::flushBuffer()
{
    const bool written = writeAll(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
}

bool SafeFileWriter::write(std::string_view bytes)
{
    if (descriptor_ < 0 && !error_)
        error_ = FileError{FileErrorCause::invalidFile, path_};
    if (error_)
        return false;
    // A large piece goes straight from the caller's memory, after what is buffered.
    if (bytes.size() >= directPieceSize || buffer_.size() + bytes.size() > bufferCapacity) {
        if (!flushBuffer())
            return false;
        if (bytes.size() >= directPieceSize)
            return writeAll(bytes.data(), bytes.size());
    }
    buffer_.append(bytes.data(), bytes.size());
    return true;
}

std::optional<FileError> SafeFileWriter::commit()
{
    if (descriptor_ < 0) {
        if (!error_)
            error_ = FileError{FileErrorCause::invalidFile, path_};
        return error_;
    }
    if (!error_)
        flushBuffer();
    if (!error_ && ::fsync(descriptor_) != 0 && errno != EINVAL)
        fail(errno);
    if (::close(descriptor_) != 0 && !error_)
        fail(errno);
    descriptor_ = -1;
    if (!error_ && !temporaryPath_.empty() &&
        ::rename(temporaryPath_.c_str(), replacedPath_.c_str()) != 0)
        fail(errno);
    if (error_) {
        if (!temporaryPath_.empty())
            ::unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
        return error_;
    }
    temporaryPath_.clear();
    return std::nullopt;
}

void SafeFileWriter::discard()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
    buffer_.clear();
}

std::optional<FileError> writeFileSafely(const std::string& path, std::string_view content)
{
    SafeFileWriter writer;
    if (auto error = writer.open(path))
        return error;
    writer.write(content);
    return writer.commit();
}

} // namespace orvane
