#include "files/file_error.h"

#include <cerrno>

namespace orvane {

namespace {

std::string withPath(const char* pattern, const std::string& path)
{
    std::string text(pattern);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

} // namespace

std::string fileErrorText(FileErrorCause cause, const std::string& path)
{
    switch (cause) {
    case FileErrorCause::none:
        return "No error occurred.";
    case FileErrorCause::generic:
        return withPath("An unknown error occurred while accessing %1.", path);
    case FileErrorCause::fileNotFound:
        return withPath("%1 was not found.", path);
    case FileErrorCause::badPath:
        return withPath("%1 contains an invalid path.", path);
    case FileErrorCause::tooManyOpenFiles:
        return withPath("%1 could not be opened because there are too many open files.", path);
    case FileErrorCause::accessDenied:
        return withPath("Access to %1 was denied.", path);
    case FileErrorCause::invalidFile:
        return withPath("An invalid file handle was associated with %1.", path);
    case FileErrorCause::removeCurrentDir:
        return withPath("%1 could not be removed because it is the current directory.", path);
    case FileErrorCause::directoryFull:
        return withPath("%1 could not be created because the directory is full.", path);
    case FileErrorCause::badSeek:
        return withPath("Seek failed on %1", path);
    case FileErrorCause::hardIO:
        return withPath("A hardware I/O error was reported while accessing %1.", path);
    case FileErrorCause::sharingViolation:
        return withPath("A sharing violation occurred while accessing %1.", path);
    case FileErrorCause::lockViolation:
        return withPath("A locking violation occurred while accessing %1.", path);
    case FileErrorCause::diskFull:
        return withPath("Disk full while accessing %1.", path);
    case FileErrorCause::endOfFile:
        return withPath("An attempt was made to access %1 past its end.", path);
    case FileErrorCause::fileTooLarge:
        return withPath("%1 is too large to be read: a plan or catalogue file may have at most "
                        "64 MB.",
                        path);
    case FileErrorCause::utf16Text:
        return withPath("%1 is a UTF-16 text file. Save it as plain text (Windows-1252 or ASCII) "
                        "and open it again.",
                        path);
    }
    return withPath("An unknown error occurred while accessing %1.", path);
}

std::string fileErrorText(const FileError& error)
{
    return fileErrorText(error.cause, error.path);
}

FileErrorCause fileErrorCauseFromErrno(int errorNumber, bool forWriting)
{
    switch (errorNumber) {
    case 0:
        return FileErrorCause::generic;
    case ENOENT:
        return forWriting ? FileErrorCause::badPath : FileErrorCause::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return FileErrorCause::badPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return FileErrorCause::accessDenied;
    case EBADF:
        return FileErrorCause::invalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::diskFull;
    case EIO:
        return FileErrorCause::hardIO;
    case ESPIPE:
        return FileErrorCause::badSeek;
    case EBUSY:
        return FileErrorCause::sharingViolation;
    case EDEADLK:
    case ENOLCK:
        return FileErrorCause::lockViolation;
    default:
        return FileErrorCause::generic;
    }
}

} // namespace orvane
