#pragma once

#include "files/file_error.h"
#include "report/byte_sink.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orvane {

// Writes an HTML 4.0 Transitional document one construct at a time. Everything goes through
// writeString, verbatim (callers escape their own text), and every "\n" is stored as CR LF.
// Output is buffered: flush() before the sink is closed. The first write the sink refuses
// stops all further output and is kept as a file error for the document's path.
class HtmlWriter {
public:
    // path names the document: its last component goes into the title, the whole path into
    // any error.
    HtmlWriter(ByteSink& sink, std::string path);
    ~HtmlWriter();
    HtmlWriter(const HtmlWriter&) = delete;
    HtmlWriter& operator=(const HtmlWriter&) = delete;

    void setHeading(std::string heading) { heading_ = std::move(heading); }
    void setGenerator(std::string generator) { generator_ = std::move(generator); }
    // The name shown in the title instead of the path's last component, for callers that must
    // escape or re-encode it.
    void setDocumentName(std::string name) { documentName_ = std::move(name); }

    // The fixed head with its style sheet, the H1 heading and the generator paragraph.
    void writeHead(std::string_view backgroundColour);
    void writeBreaks(int count);
    void writeClearBreak();
    void beginParagraph(std::string_view className);
    void writeText(std::string_view text, bool bold);
    void endParagraph();
    void beginTable(int widthPercent, int cellPad, int cellSpace, std::string_view className);
    // A table end with no table open writes no closing tag and leaves the count at zero.
    void endTable(bool clearBreak);
    void beginRow(std::string_view className);
    // Does nothing unless both spans are positive.
    void beginCell(int colSpan, int rowSpan, std::string_view className);
    void writeCell(std::string_view text, bool bold, std::string_view paragraphClass, int colSpan,
                   int rowSpan);
    // One cell per TAB-separated piece; an empty last piece gives no cell.
    void writeRow(std::string_view text, bool bold, std::string_view paragraphClass, bool newRow);
    void writeHeading(std::string_view text, int level);
    // Ends every open table, then the body and the document.
    void endDocument();

    void writeString(std::string_view text);
    // Bytes already in their stored form (CR LF line ends), handed to the sink as they are
    // after what is buffered; false once a write has failed.
    bool writeStored(std::string_view bytes);
    // Hands everything buffered to the sink; the first failure, if any.
    std::optional<FileError> flush();

    bool failed() const { return error_.has_value(); }
    const std::optional<FileError>& error() const { return error_; }
    const std::string& path() const { return path_; }

    bool paragraphOpen() const { return paragraphOpen_; }
    int openRows() const { return openRows_; }
    int openCells() const { return openCells_; }
    int openTables() const { return openTables_; }

private:
    void writeNumber(long long number);
    void flushBuffer();

    ByteSink& sink_;
    std::string path_;
    std::optional<std::string> documentName_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::optional<FileError> error_;

    bool paragraphOpen_ = false;
    int openRows_ = 0;  // bookkeeping only: no row end tag is written
    int openCells_ = 0; // bookkeeping only: no cell end tag is written
    int openTables_ = 0;
    std::string heading_ = "HTML REPORT FORMAT";
    std::string generator_;
};

} // namespace orvane
