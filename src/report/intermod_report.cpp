#include "report/intermod_report.h"

#include "files/safe_file_writer.h"
#include "files/text_encoding.h"
#include "model/number_text.h"
#include "report/path_names.h"
#include "report/report_text.h"

#include <climits>
#include <cstddef>
#include <new>

namespace orvane {

namespace {

std::string frequencyText(double frequencyMhz)
{
    return formatFixed(frequencyMhz, 7, 5);
}

class SafeFileSink : public ByteSink {
public:
    explicit SafeFileSink(SafeFileWriter& file) : file_(file) {}
    bool write(std::string_view bytes) override { return file_.write(bytes); }
    FileErrorCause failureCause() const override
    {
        return file_.error() ? file_.error()->cause : FileErrorCause::diskFull;
    }

private:
    SafeFileWriter& file_;
};

bool equalsIgnoringCase(const std::string& text, const char* lowerCase)
{
    std::size_t index = 0;
    for (; lowerCase[index] != '\0'; ++index) {
        if (index >= text.size())
            return false;
        char c = text[index];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerCase[index])
            return false;
    }
    return index == text.size();
}

} // namespace

void writeHtmlReport(HtmlWriter& writer, const CarrierList& carriers,
                     const CompactIntermodProducts& products, WorkProgress* progress)
{
    writer.setGenerator(versionText);
    writer.setHeading(reportHeadingText);
    writer.writeHead("#e0ffff");
    writer.beginParagraph("nomarg");
    writer.writeBreaks(1);
    writer.writeText("Carriers : ", true);
    writer.writeText(formatInteger(carriers.count()) + "\n", false);
    writer.writeBreaks(1);
    writer.writeText("Third Order Intermodulation Products : ", true);
    writer.writeText(formatInteger(static_cast<long long>(products.size())) + "\n", false);
    writer.writeBreaks(1);
    writer.endParagraph();

    writer.writeHeading("CARRIER LIST", 3);
    writer.beginTable(0, 0, 0, "");
    writer.writeRow("F#\tFrequency\tLabel", true, "", true);
    std::string row;
    for (int index = 0; index < carriers.count() && !writer.failed(); ++index) {
        const Carrier& carrier = carriers[index];
        row = "F" + formatInteger(index + 1) + "\t" + frequencyText(carrier.centreFrequencyMhz) +
              "\t" + escapeHtml(utf8ToWindows1252(carrier.label));
        writer.writeRow(row, false, "", true);
    }
    writer.endTable(true);
    writer.writeBreaks(1);

    writer.writeHeading("THIRD ORDER INTERMOD LIST", 3);
    writer.beginTable(0, 0, 0, "");
    writer.writeRow("F#\tFrequency", true, "", true);
    if (!writeProductRows(writer, ReportLayout::html, carriers.count(), products, progress))
        return;
    writer.endTable(true);
    writer.writeBreaks(2);
    writer.endDocument();
}

void writeCsvReport(HtmlWriter& writer, const CarrierList& carriers,
                    const CompactIntermodProducts& products, WorkProgress* progress)
{
    writer.writeString("\"" + std::string(reportHeadingText) + "\"\n");
    writer.writeString("\"" + std::string(versionText) + "\"\n\n");
    writer.writeString("\"Carriers:\"," + formatInteger(carriers.count()) + "\n");
    writer.writeString("\"Third Order Intermods:\"," +
                       formatInteger(static_cast<long long>(products.size())) + "\n\n");
    writer.writeString("\"CARRIER LIST\"\n");
    writer.writeString("\"F#\",\"Frequency\",\"Label\"\n");
    std::string line;
    for (int index = 0; index < carriers.count() && !writer.failed(); ++index) {
        const Carrier& carrier = carriers[index];
        line = "\"F" + formatInteger(index + 1) + "\"," +
               frequencyText(carrier.centreFrequencyMhz) + ",\"" +
               escapeCsvQuoted(utf8ToWindows1252(carrier.label)) + "\"\n";
        writer.writeString(line);
    }
    writer.writeString("\n\"THIRD ORDER INTERMOD LIST\"\n");
    writer.writeString("\"F#\",\"Frequency\"\n");
    if (writeProductRows(writer, ReportLayout::csv, carriers.count(), products, progress))
        writer.writeString("\n\n");
}

int maxReportCarriers()
{
    int carriers = 2;
    while (intermodProductCount(carriers + 1) <= maxReportProducts)
        ++carriers;
    return carriers;
}

std::string tooManyProductsText(long long carrierCount, long long productCount)
{
    // A count too large to hold is only known to exceed the largest one.
    const std::string productText = productCount == LLONG_MAX
                                        ? "more than " + formatInteger(LLONG_MAX)
                                        : formatInteger(productCount);
    return "The plan has " + formatInteger(carrierCount) + " carriers, which give " + productText +
           " third order intermodulation products. A report can hold at most " +
           formatInteger(maxReportProducts) + " products (" + formatInteger(maxReportCarriers()) +
           " carriers). Remove carriers and try again.";
}

ReportLayout reportLayoutForPath(const std::string& path)
{
    const std::string name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return ReportLayout::csv;
    return equalsIgnoringCase(name.substr(dot + 1), "htm") ? ReportLayout::html : ReportLayout::csv;
}

namespace {

ReportResult writeReport(CarrierList& plan, const std::string& path, WorkProgress* progress)
{
    ReportResult result;
    result.carrierCount = plan.count();
    result.productCount = intermodProductCount(plan.count());
    if (result.productCount > maxReportProducts) {
        result.refusal = tooManyProductsText(result.carrierCount, result.productCount);
        return result;
    }

    plan.sortByFrequency();
    SafeFileWriter file;
    if (std::optional<FileError> error = file.open(path)) {
        result.error = std::move(error);
        return result;
    }
    // Without a caller to follow it, the work reports to nobody and is never cancelled.
    WorkProgress unfollowed;
    WorkProgress& followed = progress != nullptr ? *progress : unfollowed;
    const auto cancelled = [&followed, &file, &result] {
        if (!followed.cancelRequested())
            return false;
        file.discard();
        result.cancelled = true;
        return true;
    };

    // Shares of the time each part takes, roughly.
    followed.beginPart(0.1);
    std::vector<double> frequenciesMhz;
    frequenciesMhz.reserve(static_cast<std::size_t>(plan.count()));
    for (const Carrier& carrier : plan)
        frequenciesMhz.push_back(carrier.centreFrequencyMhz);
    CompactIntermodProducts products = computeCompactIntermodProducts(frequenciesMhz, &followed);
    followed.beginPart(0.4);
    sortByFrequency(products, &followed);
    if (cancelled())
        return result;

    followed.beginPart(0.5);
    SafeFileSink sink(file);
    HtmlWriter writer(sink, path);
    // The file name is the user's text like a label: escaped and in the page's encoding.
    writer.setDocumentName(utf8ToWindows1252(escapeHtml(fileNameOf(path))));
    if (reportLayoutForPath(path) == ReportLayout::html)
        writeHtmlReport(writer, plan, products, &followed);
    else
        writeCsvReport(writer, plan, products, &followed);
    if (std::optional<FileError> error = writer.flush()) {
        file.discard();
        result.error = std::move(error);
        return result;
    }
    if (cancelled())
        return result;
    if (std::optional<FileError> error = file.commit()) {
        result.error = std::move(error);
        return result;
    }
    result.written = true;
    return result;
}

} // namespace

std::string notEnoughMemoryForReportText(long long carrierCount)
{
    return "There is not enough memory for the intermodulation report of " +
           formatInteger(carrierCount) + " carriers.";
}

ReportResult saveIntermodReport(CarrierList& plan, const std::string& path, WorkProgress* progress)
{
    try {
        return writeReport(plan, path, progress);
    } catch (const std::bad_alloc&) {
        // The file being written was discarded on the way out.
    }
    ReportResult result;
    result.carrierCount = plan.count();
    result.productCount = intermodProductCount(plan.count());
    result.refusal = notEnoughMemoryForReportText(plan.count());
    return result;
}

std::string reportResultText(const ReportResult& result)
{
    if (result.refusal)
        return *result.refusal;
    if (result.error)
        return fileErrorText(*result.error);
    return std::string();
}

std::string openErrorReason(int code)
{
    const char* reason = "";
    switch (code) {
    case 0:
        reason = "Operating system is out of memory or resources.";
        break;
    case 2:
        reason = "File not found.";
        break;
    case 3:
        reason = "Path not found.";
        break;
    case 5:
        reason = "Access was denied.";
        break;
    case 8:
        reason = "Not enough memory to complete the operation.";
        break;
    case 11:
        reason = "Invalid .exe file.";
        break;
    case 26:
        reason = "Sharing violation.";
        break;
    case 27:
        reason = "File name association is incomplete or invalid.";
        break;
    case 28:
        reason = "DDE request timed out.";
        break;
    case 29:
        reason = "DDE transaction failed.";
        break;
    case 30:
        reason = "DDE application was busy.";
        break;
    case 31:
        reason = "No application associated with the given file name extension.";
        break;
    case 32:
        reason = "Specified DLL was not found.";
        break;
    default:
        break;
    }
    return reason;
}

std::string openErrorText(int code, const std::string& path)
{
    return "Error Number " + formatInteger(code) + " while opening " + path + "  \n" +
           openErrorReason(code);
}

} // namespace orvane
