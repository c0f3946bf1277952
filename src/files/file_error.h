#pragma once

#include <string>

namespace orvane {

// Why a file could not be read or written, in the classes the user's messages distinguish.
enum class FileErrorCause {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
    fileTooLarge, // larger than a plan or catalogue file can be; nothing was read
    utf16Text,    // a UTF-16 text file, which would read as nonsense; nothing was read
};

struct FileError {
    FileErrorCause cause = FileErrorCause::generic;
    std::string path;
};

// The standard message for a cause, with the path in place of %1 ("%1 was not found.").
std::string fileErrorText(FileErrorCause cause, const std::string& path);
std::string fileErrorText(const FileError& error);

// The cause for a C library error number. forWriting: a missing folder is a bad path.
FileErrorCause fileErrorCauseFromErrno(int errorNumber, bool forWriting);

// Shown when the user saves a plan without carriers.
inline constexpr const char* noDataToSaveText = "Found no data to save!  ";

} // namespace orvane
