#pragma once

#include "files/file_error.h"
#include "model/carrier_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A line the reader refused (a carrier it cannot build soundly); 1-based line number.
struct SkippedLine {
    int lineNumber = 0;
    std::string reason;
};

struct FileReadResult {
    bool loaded = false;              // the file gave at least one carrier or entry
    std::optional<FileError> error;   // the file could not be opened or read
    std::vector<SkippedLine> skipped; // lines refused, in file order
};

// The message for refused lines, one value the caller can show after loading; empty when
// nothing was skipped.
std::string skippedLinesText(const std::vector<SkippedLine>& skipped);

// Shown when a carrier file opens but holds no carrier.
std::string noCarriersFoundText(const std::string& path);

// Reading stops, with a note among the skipped lines, once a list holds this many carriers or
// entries or once this many lines were refused, so that no file can exhaust memory.
constexpr int mostCarriersRead = 1000000;
constexpr std::size_t mostLinesRefused = 10000;
// True, with that note added for lineNumber, when reading must stop before that line.
bool readingMustStop(const CarrierList& list, FileReadResult& result, int lineNumber);

// Reads a carrier file (windows-1252 text) into list, replacing its content.
FileReadResult loadCarrierFile(CarrierList& list, const std::string& path);
FileReadResult readCarrierText(CarrierList& list, std::string_view bytes);

struct FileWriteResult {
    bool written = false;
    bool nothingToSave = false;     // the list was empty: noDataToSaveText, no file made
    std::optional<FileError> error; // the file could not be written; any earlier file is intact
};

// The text a user sees for a failed write; empty when there is nothing to say.
std::string writeResultText(const FileWriteResult& result);

// Writes list as a carrier file (windows-1252, CR LF). An empty path does nothing.
FileWriteResult saveCarrierFile(CarrierList& list, const std::string& path);
// The file's bytes; sets list.currentRolloffFactor to the last factor written.
std::string writeCarrierText(CarrierList& list);

} // namespace orvane
