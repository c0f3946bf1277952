#pragma once

#include "files/file_error.h"
#include "model/carrier_list.h"

#include <optional>
#include <string>

namespace orvane {

// The program's version text: generator of the report and header of the carrier file.
inline constexpr const char* versionText = "Orvane Version 2.0";

enum class ReportLayout { html, csv };

// "htm" in any letter case gives HTML; any other extension, or none, gives CSV.
ReportLayout reportLayoutForPath(const std::string& path);

struct ReportResult {
    bool written = false;
    std::optional<FileError> error;     // the file could not be written
    std::optional<std::string> refusal; // the plan has more products than can be held
    long long carrierCount = 0;
    long long productCount = 0;
};

// The report command's work apart from the user interface: sorts the plan, computes and sorts
// the intermodulation products, writes the layout the path's extension picks and puts the file
// in place only when complete.
ReportResult saveIntermodReport(CarrierList& plan, const std::string& path);

// The text a user sees for a report that was not written; empty on success.
std::string reportResultText(const ReportResult& result);

// The message for a failed open of the written report: "Error Number %i while opening %s",
// two blanks and a line end, then the text for the code.
std::string openErrorText(int code, const std::string& path);

}  // namespace orvane
