#include "report/html_writer.h"

#include "report/path_names.h"

#include <algorithm>
#include <charconv>

namespace orvane {

namespace {

constexpr std::size_t bufferCapacity = 64 * 1024;

constexpr const char* styleSheetLines[] = {
    "\t\t\ttable { border: solid blue; border-width:2;}\n",
    "\t\t\ttable.nofrill { border: none;}\n",
    "\t\t\tTP,TD { border: solid black; border-width:1;}\n",
    "\t\t\tTP.nofrill,TD.nofrill { border: none;}\n",
    "\t\t\tH1 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
    "sans-serif; font-size: 18pt; so-language: en-AU; text-align:left; margin-top:0; "
    "margin-bottom:6pt;}\n",
    "\t\t\tH2 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
    "sans-serif; font-size: 16pt; so-language: en-AU; text-align:left; margin-top:6pt; "
    "margin-bottom:6pt; }\n",
    "\t\t\tH3 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
    "sans-serif; font-size: 10pt; so-language: en-AU; text-align:left; margin-top:10pt; "
    "margin-bottom:1pt;}\n",
    "\t\t\tP { margin-top:2pt; margin-bottom:2pt; margin-left:6pt; margin-right:6pt; "
    "font-family: \"Arial\", sans-serif; font-size: 10pt; so-language: en-AU; "
    "text-align:left; }\n",
    "\t\t\tTD P {text-align:left; }\n",
    "\t\t\tTD P.red {text-align:center; background-color:#e00000;}\n",
    "\t\t\tP.mid,TD P.mid {text-align:center; }\n",
    "\t\t\tP.top,TD P.top {text-align:center; font-size: 12pt; font-weight:bold;}\n",
    "\t\t\tP.ver {font-size: 8pt;}\n",
    "\t\t\tP.note {font-size: 8pt; width:700; text-align:justify; }\n",
    "\t\t\tP.nomarg {margin-left:0;}\n",
};

} // namespace

HtmlWriter::HtmlWriter(ByteSink& sink, std::string path)
    : sink_(sink), path_(std::move(path)), buffer_(new char[bufferCapacity])
{
}

HtmlWriter::~HtmlWriter()
{
    flushBuffer();
}

void HtmlWriter::writeString(std::string_view text)
{
    const char* next = text.data();
    const char* const end = next + text.size();
    while (next != end && !error_) {
        // Each byte may become two (a line end), so take only what surely fits.
        const std::size_t room = bufferCapacity - used_;
        if (room < 2) {
            flushBuffer();
            continue;
        }
        const std::size_t taken = std::min(static_cast<std::size_t>(end - next), room / 2);
        char* out = buffer_.get() + used_;
        for (const char* const stop = next + taken; next != stop; ++next) {
            if (*next == '\n')
                *out++ = '\r';
            *out++ = *next;
        }
        used_ = static_cast<std::size_t>(out - buffer_.get());
    }
}

void HtmlWriter::flushBuffer()
{
    if (used_ == 0 || error_)
        return;
    if (!sink_.write(std::string_view(buffer_.get(), used_)))
        error_ = FileError{sink_.failureCause(), path_};
    used_ = 0;
}

bool HtmlWriter::writeStored(std::string_view bytes)
{
    flushBuffer();
    if (!error_ && !sink_.write(bytes))
        error_ = FileError{sink_.failureCause(), path_};
    return !error_;
}

std::optional<FileError> HtmlWriter::flush()
{
    flushBuffer();
    return error_;
}

void HtmlWriter::writeNumber(long long number)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    writeString(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void HtmlWriter::writeHead(std::string_view backgroundColour)
{
    writeString("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n");
    writeString("<HTML>\n");
    writeString("\t<HEAD>\n");
    writeString("\t\t<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"text/html; "
                "charset=windows-1252\">\n");
    writeString("\t\t<TITLE>" + documentName_.value_or(fileNameOf(path_)) + " - " + heading_ +
                " - " + generator_ + "</TITLE>\n");
    writeString("\t\t<META NAME=\"GENERATOR\" CONTENT=\"" + generator_ + "\">\n");
    writeString("\t\t<META NAME=\"ROBOTS\" CONTENT=\"NOINDEX,NOFOLLOW\">\n");
    writeString("\t\t<STYLE TYPE=\"text/css\">\n");
    writeString("\t\t<!--\n");
    writeString("\t\t\tbody { background:" + std::string(backgroundColour) +
                "; color:black; margin-left:80;}\n");
    for (const char* line : styleSheetLines)
        writeString(line);
    writeString("\t\t-->\n");
    writeString("\t\t</STYLE>\n");
    writeString("\t</HEAD>\n");
    writeString("<BODY>\n\n");
    writeString("<H1>" + heading_ + "</H1>\n");
    writeString("<P class=\"ver\">" + generator_ + "<BR></P>\n\n");
}

void HtmlWriter::writeBreaks(int count)
{
    for (int i = 0; i < count; ++i)
        writeString("<BR>\n");
}

void HtmlWriter::writeClearBreak()
{
    writeString("<BR CLEAR=left>\n");
}

void HtmlWriter::beginParagraph(std::string_view className)
{
    if (paragraphOpen_)
        writeString("</P>\n");
    if (className.empty()) {
        writeString("<P>");
    } else {
        writeString("<P class=\"");
        writeString(className);
        writeString("\">");
    }
    paragraphOpen_ = true;
}

void HtmlWriter::writeText(std::string_view text, bool bold)
{
    if (bold) {
        writeString("<B>");
        writeString(text);
        writeString("</B>");
    } else {
        writeString(text);
    }
}

void HtmlWriter::endParagraph()
{
    if (paragraphOpen_)
        writeString("</P>\n");
    paragraphOpen_ = false;
}

void HtmlWriter::beginTable(int widthPercent, int cellPad, int cellSpace,
                            std::string_view className)
{
    if (paragraphOpen_)
        writeString("</P>\n");
    writeString("\n<TABLE ALIGN=left ");
    if (!className.empty()) {
        writeString("class=\"");
        writeString(className);
        writeString("\" ");
    }
    if (widthPercent > 0) {
        writeString("WIDTH=\"");
        writeNumber(widthPercent);
        writeString("%\" ");
    }
    writeString("CELLPADDING=");
    writeNumber(cellPad);
    writeString(" CELLSPACING=");
    writeNumber(cellSpace);
    writeString(" >\n");
    paragraphOpen_ = false;
    ++openTables_;
}

void HtmlWriter::endTable(bool clearBreak)
{
    if (openTables_ > 0)
        writeString("\n</TABLE>&nbsp;\n");
    if (clearBreak)
        writeClearBreak();
    if (openTables_ > 0)
        --openTables_;
    if (openCells_ > 0)
        --openCells_;
    if (openRows_ > 0)
        --openRows_;
    paragraphOpen_ = false;
}

void HtmlWriter::beginRow(std::string_view className)
{
    writeString("\n<TR");
    if (!className.empty()) {
        writeString(" class=\"");
        writeString(className);
        writeString("\" ");
    }
    writeString(">\n");
    if (openRows_ < openTables_)
        ++openRows_;
    if (openCells_ >= openRows_)
        --openCells_;
    paragraphOpen_ = false;
}

void HtmlWriter::beginCell(int colSpan, int rowSpan, std::string_view className)
{
    if (colSpan <= 0 || rowSpan <= 0)
        return;
    writeString("\n\t<TD");
    if (!className.empty()) {
        writeString(" class=\"");
        writeString(className);
        writeString("\"");
    }
    if (colSpan > 1) {
        writeString(" COLSPAN=");
        writeNumber(colSpan);
    }
    if (rowSpan > 1) {
        writeString(" ROWSPAN=");
        writeNumber(rowSpan);
    }
    writeString(">");
    if (openCells_ < openRows_)
        ++openCells_;
    paragraphOpen_ = false;
}

void HtmlWriter::writeCell(std::string_view text, bool bold, std::string_view paragraphClass,
                           int colSpan, int rowSpan)
{
    beginCell(colSpan, rowSpan, "");
    beginParagraph(paragraphClass);
    writeText(text, bold);
}

void HtmlWriter::writeRow(std::string_view text, bool bold, std::string_view paragraphClass,
                          bool newRow)
{
    if (newRow)
        beginRow("");
    std::size_t start = 0;
    for (std::size_t tab = text.find('\t'); tab != std::string_view::npos;
         tab = text.find('\t', start)) {
        writeCell(text.substr(start, tab - start), bold, paragraphClass, 1, 1);
        start = tab + 1;
    }
    if (start < text.size())
        writeCell(text.substr(start), bold, paragraphClass, 1, 1);
}

void HtmlWriter::writeHeading(std::string_view text, int level)
{
    writeString("<H");
    writeNumber(level);
    writeString(">");
    writeString(text);
    writeString("</H");
    writeNumber(level);
    writeString(">\n");
    paragraphOpen_ = false;
}

void HtmlWriter::endDocument()
{
    while (openTables_ > 0)
        endTable(true);
    openCells_ = 0;
    openRows_ = 0;
    paragraphOpen_ = false;
    writeString("\n</BODY>\n</HTML>\n");
}

} // namespace orvane
