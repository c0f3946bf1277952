#pragma once

#include "analysis/intermod_products.h"
#include "files/file_error.h"
#include "model/carrier_list.h"
#include "model/program_identity.h"
#include "model/work_progress.h"
#include "report/html_writer.h"
#include "report/product_rows.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The report's heading: the HTML title and H1, the first line of the CSV text.
inline constexpr const char* reportHeadingText = "ORVANE INTERMODULATION REPORT";

// The most products a report computes. The products of one report are held in memory at 16
// bytes each (about 3.2 GB at this limit, 737 carriers) and the file grows by some 50 bytes
// per product; a larger plan is refused before anything is computed.
inline constexpr long long maxReportProducts = 200'000'000;

// The largest number of carriers whose products stay within maxReportProducts.
int maxReportCarriers();

// The refusal for a plan with more products than maxReportProducts, naming both counts and
// the limit.
std::string tooManyProductsText(long long carrierCount, long long productCount);

// The refusal when memory runs out while a report of the plan is made.
std::string notEnoughMemoryForReportText(long long carrierCount);

// "htm" in any letter case gives HTML; any other extension, or none, gives CSV.
ReportLayout reportLayoutForPath(const std::string& path);

struct ReportResult {
    bool written = false;
    bool cancelled = false;         // the user stopped it: no file, any earlier one intact
    std::optional<FileError> error; // the file could not be written
    // The plan has more products than can be held, or memory ran out.
    std::optional<std::string> refusal;
    long long carrierCount = 0;
    long long productCount = 0;
};

// One layout into an open writer: the carriers in list order numbered F1..Fn, then the
// products in list order. Labels are UTF-8 and written as windows-1252; the HTML layout
// escapes & < > and " in them, the CSV layout doubles ". The counts come from the lists. The
// product rows advance the current part of progress and stop at a cancel asked for there.
void writeHtmlReport(HtmlWriter& writer, const CarrierList& carriers,
                     const CompactIntermodProducts& products, WorkProgress* progress = nullptr);
void writeCsvReport(HtmlWriter& writer, const CarrierList& carriers,
                    const CompactIntermodProducts& products, WorkProgress* progress = nullptr);

// The report command's work apart from the user interface: sorts the plan, computes and sorts
// the intermodulation products, writes the layout the path's extension picks and puts the file
// in place only when complete. A plan with more than maxReportProducts products is refused
// before anything changes; running out of memory on the way is a refusal too, the file
// discarded. progress, when given, follows the work and can cancel it.
ReportResult saveIntermodReport(CarrierList& plan, const std::string& path,
                                WorkProgress* progress = nullptr);

// The text a user sees for a report that was not written; empty on success.
std::string reportResultText(const ReportResult& result);

// The message for a failed open of the written report: "Error Number %i while opening %s",
// two blanks and a line end, then the text for the code.
std::string openErrorText(int code, const std::string& path);
// The text for the code alone.
std::string openErrorReason(int code);

} // namespace orvane
