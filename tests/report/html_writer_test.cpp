#include "report/html_writer.h"

#include "report/byte_sink.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane {
namespace {

using orvane::testing::withCrLf;

class HtmlWriterTest : public ::testing::Test {
protected:
    // Everything written since the last call, with CR LF turned back into "\n".
    std::string written()
    {
        EXPECT_FALSE(writer.flush());
        std::string text;
        for (std::size_t i = consumed_; i < sink.text().size(); ++i)
            if (!(sink.text()[i] == '\r' && i + 1 < sink.text().size() &&
                  sink.text()[i + 1] == '\n'))
                text += sink.text()[i];
        consumed_ = sink.text().size();
        return text;
    }

    StringSink sink;
    HtmlWriter writer{sink, "/home/engineer/reports/plan.htm"};

private:
    std::size_t consumed_ = 0;
};

TEST_F(HtmlWriterTest, HeadIsTheFixedDocumentStartWithStyleSheet)
{
    writer.setHeading("H");
    writer.setGenerator("G");
    writer.writeHead("#e0ffff");
    const std::string expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n"
        "<HTML>\n"
        "\t<HEAD>\n"
        "\t\t<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"text/html; charset=windows-1252\">\n"
        "\t\t<TITLE>plan.htm - H - G</TITLE>\n"
        "\t\t<META NAME=\"GENERATOR\" CONTENT=\"G\">\n"
        "\t\t<META NAME=\"ROBOTS\" CONTENT=\"NOINDEX,NOFOLLOW\">\n"
        "\t\t<STYLE TYPE=\"text/css\">\n"
        "\t\t<!--\n"
        "\t\t\tbody { background:#e0ffff; color:black; margin-left:80;}\n"
        "\t\t\ttable { border: solid blue; border-width:2;}\n"
        "\t\t\ttable.nofrill { border: none;}\n"
        "\t\t\tTP,TD { border: solid black; border-width:1;}\n"
        "\t\t\tTP.nofrill,TD.nofrill { border: none;}\n"
        "\t\t\tH1 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
        "sans-serif; font-size: 18pt; so-language: en-AU; text-align:left; margin-top:0; "
        "margin-bottom:6pt;}\n"
        "\t\t\tH2 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
        "sans-serif; font-size: 16pt; so-language: en-AU; text-align:left; margin-top:6pt; "
        "margin-bottom:6pt; }\n"
        "\t\t\tH3 { color: black; background: none; font-weight: bold; font-family: \"Arial\", "
        "sans-serif; font-size: 10pt; so-language: en-AU; text-align:left; margin-top:10pt; "
        "margin-bottom:1pt;}\n"
        "\t\t\tP { margin-top:2pt; margin-bottom:2pt; margin-left:6pt; margin-right:6pt; "
        "font-family: \"Arial\", sans-serif; font-size: 10pt; so-language: en-AU; "
        "text-align:left; }\n"
        "\t\t\tTD P {text-align:left; }\n"
        "\t\t\tTD P.red {text-align:center; background-color:#e00000;}\n"
        "\t\t\tP.mid,TD P.mid {text-align:center; }\n"
        "\t\t\tP.top,TD P.top {text-align:center; font-size: 12pt; font-weight:bold;}\n"
        "\t\t\tP.ver {font-size: 8pt;}\n"
        "\t\t\tP.note {font-size: 8pt; width:700; text-align:justify; }\n"
        "\t\t\tP.nomarg {margin-left:0;}\n"
        "\t\t-->\n"
        "\t\t</STYLE>\n"
        "\t</HEAD>\n"
        "<BODY>\n\n"
        "<H1>H</H1>\n"
        "<P class=\"ver\">G<BR></P>\n\n";
    EXPECT_EQ(sink.text().size(), 0u); // buffered until flushed
    EXPECT_EQ(written(), expected);
    EXPECT_FALSE(writer.paragraphOpen());
}

TEST_F(HtmlWriterTest, EveryLineEndIsStoredAsCrLf)
{
    std::string large;
    for (int i = 0; i < 30000; ++i)
        large += "line\n";
    writer.writeString(large);
    EXPECT_TRUE(writer.flush() == std::nullopt);
    EXPECT_EQ(sink.text().size(), 30000u * 6u);
    EXPECT_EQ(sink.text().substr(sink.text().size() - 12), "line\r\nline\r\n");
}

struct EdgeCase {
    const char* name;
    std::function<void(HtmlWriter&)> write;
    const char* expected;
    int openTables; // afterwards
    bool paragraphOpen;
};

class HtmlWriterEdges : public HtmlWriterTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(HtmlWriterEdges, WriteExactlyTheirTags)
{
    GetParam().write(writer);
    EXPECT_EQ(written(), GetParam().expected);
    EXPECT_EQ(writer.openTables(), GetParam().openTables);
    EXPECT_EQ(writer.paragraphOpen(), GetParam().paragraphOpen);
}

void emptyTableRow(HtmlWriter& writer, const char* text, bool bold)
{
    writer.beginTable(0, 0, 0, "");
    writer.writeRow(text, bold, "", true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlWriterEdges,
    ::testing::Values(
        EdgeCase{"CallersTextVerbatim",
                 [](HtmlWriter& w) {
                     w.writeText("a < b & c > \"d\"", false);
                     w.writeText("x&y", true);
                 },
                 "a < b & c > \"d\"<B>x&y</B>", 0, false},
        EdgeCase{"RowCutAtTabs",
                 [](HtmlWriter& w) { emptyTableRow(w, "F1\t6000.00000\tTV1", false); },
                 "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n"
                 "\n<TR>\n\n\t<TD><P>F1\n\t<TD><P>6000.00000\n\t<TD><P>TV1",
                 1, true},
        EdgeCase{
            "BoldRowTwoTabsLeadingAndTrailing",
            [](HtmlWriter& w) { emptyTableRow(w, "\ta\t\tb\t", true); },
            "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n"
            "\n<TR>\n\n\t<TD><P><B></B>\n\t<TD><P><B>a</B>\n\t<TD><P><B></B>\n\t<TD><P><B>b</B>",
            1, true},
        EdgeCase{"EmptyRowHasNoCell", [](HtmlWriter& w) { emptyTableRow(w, "", false); },
                 "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n", 1, false},
        EdgeCase{"RowWithoutNewRowWithClass",
                 [](HtmlWriter& w) { w.writeRow("a\tb", false, "mid", false); },
                 "\n\t<TD><P class=\"mid\">a\n\t<TD><P class=\"mid\">b", 0, true},
        EdgeCase{"TableStartClosesParagraphAndTakesItsOptions",
                 [](HtmlWriter& w) {
                     w.beginParagraph("");
                     w.beginTable(50, 2, 1, "nofrill");
                 },
                 "<P></P>\n\n<TABLE ALIGN=left class=\"nofrill\" WIDTH=\"50%\" CELLPADDING=2 "
                 "CELLSPACING=1 >\n",
                 1, false},
        EdgeCase{"CellAndRowStartTags",
                 [](HtmlWriter& w) {
                     w.beginCell(1, 1, "");
                     w.beginCell(2, 3, "x");
                     w.beginRow("head");
                 },
                 "\n\t<TD>\n\t<TD class=\"x\" COLSPAN=2 ROWSPAN=3>\n<TR class=\"head\" >\n", 0,
                 false},
        EdgeCase{"ZeroSpanCellWritesNothingButWriteCellItsText",
                 [](HtmlWriter& w) {
                     w.beginParagraph("");
                     w.beginCell(0, 1, "x");
                     w.beginCell(1, 0, "x");
                     w.beginCell(-1, -1, "x");
                     w.writeCell("t", false, "", 0, 1);
                 },
                 "<P></P>\n<P>t", 0, true},
        EdgeCase{"ParagraphsCloseOnlyWhenOpen",
                 [](HtmlWriter& w) {
                     w.beginParagraph("");
                     w.beginParagraph("");
                     w.writeHeading("Title", 3);
                     w.beginParagraph("note");
                     w.endParagraph();
                     w.endParagraph();
                 },
                 "<P></P>\n<P><H3>Title</H3>\n<P class=\"note\"></P>\n", 0, false},
        EdgeCase{"StrayTableEndsAreNotOwed",
                 [](HtmlWriter& w) {
                     w.endTable(true);
                     w.endTable(false);
                     w.beginTable(0, 0, 0, "");
                     w.endTable(false);
                 },
                 "<BR CLEAR=left>\n\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n"
                 "\n</TABLE>&nbsp;\n",
                 0, false},
        EdgeCase{"TableEndClosesNoCellParagraph",
                 [](HtmlWriter& w) {
                     emptyTableRow(w, "a", false);
                     w.endTable(true);
                 },
                 "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n\n\t<TD><P>a"
                 "\n</TABLE>&nbsp;\n<BR CLEAR=left>\n",
                 0, false},
        EdgeCase{"DocumentEndClosesEveryTable",
                 [](HtmlWriter& w) {
                     w.beginTable(0, 0, 0, "");
                     w.beginRow("");
                     emptyTableRow(w, "x", false);
                     w.endDocument();
                 },
                 "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n"
                 "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n\n\t<TD><P>x"
                 "\n</TABLE>&nbsp;\n<BR CLEAR=left>\n\n</TABLE>&nbsp;\n<BR CLEAR=left>\n"
                 "\n</BODY>\n</HTML>\n",
                 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Takes a number of bytes, then refuses everything.
class FullSink : public ByteSink {
public:
    FullSink(std::size_t capacity, FileErrorCause cause) : capacity_(capacity), cause_(cause) {}
    bool write(std::string_view bytes) override
    {
        ++writes;
        if (taken.size() + bytes.size() > capacity_)
            return false;
        taken.append(bytes.data(), bytes.size());
        return true;
    }
    FileErrorCause failureCause() const override { return cause_; }

    std::string taken;
    int writes = 0;

private:
    std::size_t capacity_;
    FileErrorCause cause_;
};

TEST(HtmlWriterFailure, ARefusedWriteIsADiskFullErrorForThePathAndStopsOutput)
{
    FullSink full(100000, FileErrorCause::diskFull);
    HtmlWriter writer(full, "/media/stick/report.htm");
    writer.writeString("small start\n");
    EXPECT_FALSE(writer.flush().has_value());
    for (int i = 0; i < 20000 && !writer.failed(); ++i)
        writer.writeRow("2*F1-F2\t5990.00000", false, "", true);
    ASSERT_TRUE(writer.failed());
    const std::optional<FileError> error = writer.flush();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->cause, FileErrorCause::diskFull);
    EXPECT_EQ(error->path, "/media/stick/report.htm");
    EXPECT_EQ(fileErrorText(*error), "Disk full while accessing /media/stick/report.htm.");

    const int writesAtFailure = full.writes;
    writer.writeString(std::string(200000, 'x'));
    writer.endDocument();
    EXPECT_TRUE(writer.flush().has_value());
    EXPECT_EQ(full.writes, writesAtFailure);
    EXPECT_EQ(full.taken.substr(0, 13), "small start\r\n");
}

} // namespace
} // namespace orvane
