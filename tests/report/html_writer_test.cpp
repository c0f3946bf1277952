#include "report/html_writer.h"

#include "report/byte_sink.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane {
namespace {

// The writer's whole head and the report around it are proven by the expected report
// documents; these tests prove the constructs the report does not use, and the line ends.
class HtmlWriterTest : public ::testing::Test {
protected:
    // Everything written, with CR LF turned back into "\n".
    std::string written()
    {
        EXPECT_FALSE(writer.flush());
        std::string text = sink.text();
        for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.erase(at, 1);
        return text;
    }

    StringSink sink;
    HtmlWriter writer{sink, "/home/engineer/reports/plan.htm"};
};

TEST_F(HtmlWriterTest, OutputWaitsForAFlushAndStoresEveryLineEndAsCrLf)
{
    std::string large;
    for (int i = 0; i < 30000; ++i)
        large += "line\n";
    writer.writeString("x");
    EXPECT_EQ(sink.text(), "");
    writer.writeString(large);
    EXPECT_FALSE(writer.flush());
    EXPECT_EQ(sink.text().size(), 1u + 30000u * 6u);
    EXPECT_EQ(sink.text().substr(sink.text().size() - 12), "line\r\nline\r\n");
    EXPECT_EQ(sink.text().find("\n\n"), std::string::npos);
}

struct Construct {
    const char* name;
    std::function<void(HtmlWriter&)> write;
    const char* expected;
    int openTables; // afterwards
    bool paragraphOpen;
};

class HtmlConstruct : public HtmlWriterTest, public ::testing::WithParamInterface<Construct> {};

TEST_P(HtmlConstruct, WritesExactlyItsTags)
{
    GetParam().write(writer);
    EXPECT_EQ(written(), GetParam().expected);
    EXPECT_EQ(writer.openTables(), GetParam().openTables);
    EXPECT_EQ(writer.paragraphOpen(), GetParam().paragraphOpen);
}

void tableRow(HtmlWriter& writer, const char* text, bool bold)
{
    writer.beginTable(0, 0, 0, "");
    writer.writeRow(text, bold, "", true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlConstruct,
    ::testing::Values(
        Construct{"CallersTextVerbatim",
                  [](HtmlWriter& w) {
                      w.writeText("a < b & c > \"d\"", false);
                      w.writeText("x&y", true);
                  },
                  "a < b & c > \"d\"<B>x&y</B>", 0, false},
        Construct{"BoldRowWithEmptyPieces", [](HtmlWriter& w) { tableRow(w, "\ta\t\tb\t", true); },
                  "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n\n\t<TD><P><B></B>"
                  "\n\t<TD><P><B>a</B>\n\t<TD><P><B></B>\n\t<TD><P><B>b</B>",
                  1, true},
        Construct{"EmptyRowHasNoCell", [](HtmlWriter& w) { tableRow(w, "", false); },
                  "\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n\n<TR>\n", 1, false},
        Construct{"RowWithoutNewRowWithClass",
                  [](HtmlWriter& w) { w.writeRow("a\tb", false, "mid", false); },
                  "\n\t<TD><P class=\"mid\">a\n\t<TD><P class=\"mid\">b", 0, true},
        Construct{"TableStartClosesParagraphAndTakesItsOptions",
                  [](HtmlWriter& w) {
                      w.beginParagraph("");
                      w.beginTable(1, 2, 1, "nofrill");
                  },
                  "<P></P>\n\n<TABLE ALIGN=left class=\"nofrill\" WIDTH=\"1%\" CELLPADDING=2 "
                  "CELLSPACING=1 >\n",
                  1, false},
        Construct{"CellAndRowStartTags",
                  [](HtmlWriter& w) {
                      w.beginCell(1, 1, "");
                      w.beginCell(2, 3, "x");
                      w.beginRow("head");
                  },
                  "\n\t<TD>\n\t<TD class=\"x\" COLSPAN=2 ROWSPAN=3>\n<TR class=\"head\" >\n", 0,
                  false},
        Construct{"ZeroSpanCellWritesNothingButWriteCellItsText",
                  [](HtmlWriter& w) {
                      w.beginParagraph("");
                      w.beginCell(0, 1, "x");
                      w.beginCell(1, 0, "x");
                      w.beginCell(-1, -1, "x");
                      w.writeCell("t", false, "", 0, 1);
                  },
                  "<P></P>\n<P>t", 0, true},
        Construct{"ParagraphsCloseOnlyWhenOpen",
                  [](HtmlWriter& w) {
                      w.beginParagraph("");
                      w.beginParagraph("");
                      w.writeHeading("Title", 3);
                      w.beginParagraph("note");
                      w.endParagraph();
                      w.endParagraph();
                  },
                  "<P></P>\n<P><H3>Title</H3>\n<P class=\"note\"></P>\n", 0, false},
        Construct{"StrayTableEndsAreNotOwed",
                  [](HtmlWriter& w) {
                      w.endTable(true);
                      w.endTable(false);
                      w.beginTable(0, 0, 0, "");
                      w.endTable(false);
                  },
                  "<BR CLEAR=left>\n\n<TABLE ALIGN=left CELLPADDING=0 CELLSPACING=0 >\n"
                  "\n</TABLE>&nbsp;\n",
                  0, false},
        Construct{"DocumentEndClosesEveryTable",
                  [](HtmlWriter& w) {
                      w.beginTable(0, 0, 0, "");
                      w.beginRow("");
                      tableRow(w, "x", false);
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
    bool write(std::string_view bytes) override
    {
        ++writes;
        if (taken.size() + bytes.size() > 100000)
            return false;
        taken.append(bytes.data(), bytes.size());
        return true;
    }
    FileErrorCause failureCause() const override { return FileErrorCause::hardIO; }

    std::string taken;
    int writes = 0;
};

TEST(HtmlWriterFailure, ARefusedWriteIsAnErrorForThePathAndStopsOutput)
{
    FullSink full;
    HtmlWriter writer(full, "/media/stick/report.htm");
    writer.writeString("small start\n");
    EXPECT_FALSE(writer.flush());
    for (int i = 0; i < 20000 && !writer.failed(); ++i)
        writer.writeRow("2*F1-F2\t5990.00000", false, "", true);
    ASSERT_TRUE(writer.failed());
    const FileError expected{FileErrorCause::hardIO, "/media/stick/report.htm"};
    EXPECT_EQ(fileErrorText(writer.flush().value_or(FileError{})), fileErrorText(expected));

    const int writesAtFailure = full.writes;
    writer.writeString(std::string(200000, 'x'));
    EXPECT_FALSE(writer.writeStored("more"));
    writer.endDocument();
    EXPECT_TRUE(writer.flush());
    EXPECT_EQ(full.writes, writesAtFailure);
    EXPECT_EQ(full.taken.substr(0, 13), "small start\r\n");
}

} // namespace
} // namespace orvane
