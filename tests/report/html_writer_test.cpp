#include "report/html_writer.h"

#include "report/byte_sink.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {
namespace {

// The writer's whole head and the report around it are proven by the expected report
// documents; these tests prove the constructs the report does not use, and the line ends.
TEST(HtmlWriter, OutputWaitsForAFlushAndStoresEveryLineEndAsCrLf)
{
    StringSink sink;
    HtmlWriter writer{sink, "/home/engineer/reports/plan.htm"};
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

// Constructs one after another on one writer: after each, the tags it wrote and the tables,
// rows, cells and paragraph left open.
TEST(HtmlConstructs, WriteExactlyTheirTags)
{
    StringSink sink;
    HtmlWriter w{sink, "/home/engineer/reports/plan.htm"};
    std::string written;
    const auto show = [&](const char* construct) {
        EXPECT_FALSE(w.flush());
        written += std::string("== ") + construct + "\n" + sink.text() + "\n-- tables " +
                   std::to_string(w.openTables()) + " rows " + std::to_string(w.openRows()) +
                   " cells " + std::to_string(w.openCells()) +
                   (w.paragraphOpen() ? ", paragraph open\n" : "\n");
        sink = StringSink();
    };
    w.writeText("a < b & c > \"d\"", false);
    w.writeText("x&y", true);
    show("callers' text verbatim");
    w.endTable(true);
    w.endTable(false);
    w.beginTable(0, 0, 0, "");
    w.endTable(false);
    show("stray table ends are not owed");
    w.beginParagraph("");
    w.beginParagraph("");
    w.writeHeading("Title", 3);
    w.beginParagraph("note");
    w.endParagraph();
    w.endParagraph();
    show("paragraphs close only when open");
    w.beginParagraph("");
    w.beginCell(0, 1, "x");
    w.beginCell(1, 0, "x");
    w.beginCell(-1, -1, "x");
    w.writeCell("t", false, "", 0, 1);
    show("a zero span cell writes nothing, writeCell its text");
    w.beginCell(1, 1, "");
    w.beginCell(2, 3, "x");
    w.beginRow("head");
    show("cell and row start tags");
    w.writeRow("a\tb", false, "mid", false);
    show("row without a new row, with a class");
    w.beginTable(1, 2, 1, "nofrill");
    show("a table start closes the paragraph and takes its options");
    w.writeRow("\ta\t\tb\t", true, "", true);
    show("bold row with empty pieces");
    w.beginTable(0, 0, 0, "");
    w.writeRow("", false, "", true);
    show("an empty row has no cell");
    w.endDocument();
    show("the document end closes every table");
    expectGolden(written, "report/html-constructs.txt");
}

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
} // namespace orvane::test
