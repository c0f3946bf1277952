#include "files/carrier_file.h"
#include "files/file_reading.h"
#include "files/modcod_file.h"
#include "files/safe_file_writer.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace orvane {
namespace {

std::string utf16(const std::string& text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : text)
        bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return bytes;
}

struct LoadCase {
    const char* name;
    // Makes what the test opens in the folder; its path.
    std::function<std::string(const test::TempFolder&)> make;
    std::optional<FileErrorCause> cause;
};

void PrintTo(const LoadCase& loadCase, std::ostream* out)
{
    *out << loadCase.name;
}

std::string made(const test::TempFolder& folder, const std::string& bytes)
{
    test::put(folder.file("plan.txt"), bytes);
    return folder.file("plan.txt");
}

std::string sized(const test::TempFolder& folder, std::size_t bytes)
{
    test::put(folder.file("plan.txt"), "");
    std::filesystem::resize_file(folder.file("plan.txt"), bytes);
    return folder.file("plan.txt");
}

class FileLoading : public ::testing::TestWithParam<LoadCase> {};

// Both readers open files alike, and the list is emptied whatever happens.
TEST_P(FileLoading, GivesTheErrorTextOrNone)
{
    test::TempFolder folder;
    const std::string path = GetParam().make(folder);
    for (const auto load : {loadCarrierFile, loadModcodFile}) {
        CarrierList list;
        list.append(Carrier());
        const FileReadResult result = load(list, path);
        EXPECT_FALSE(result.loaded);
        EXPECT_EQ(result.error ? std::optional(result.error->cause) : std::nullopt,
                  GetParam().cause);
        EXPECT_EQ(result.error ? result.error->path : path, path);
        EXPECT_EQ(list.count(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileLoading,
    ::testing::Values(
        LoadCase{"Missing", [](const auto& folder) { return folder.file("missing.txt"); },
                 FileErrorCause::fileNotFound},
        LoadCase{"Folder", [](const auto& folder) { return folder.path(); },
                 FileErrorCause::accessDenied},
        LoadCase{"EmptyPath", [](const auto&) { return std::string(); }, FileErrorCause::badPath},
        LoadCase{"Empty", [](const auto& folder) { return made(folder, ""); }, std::nullopt},
        LoadCase{"TitleOnly", [](const auto& folder) { return made(folder, "Title\r\n"); },
                 std::nullopt},
        LoadCase{"Utf16LittleEndian",
                 [](const auto& folder) { return made(folder, utf16("P\r\n6000 1 A\r\n", true)); },
                 FileErrorCause::utf16Text},
        LoadCase{"Utf16BigEndian",
                 [](const auto& folder) { return made(folder, utf16("P\r\n6000 1 A\r\n", false)); },
                 FileErrorCause::utf16Text},
        LoadCase{"LargestReadable",
                 [](const auto& folder) { return sized(folder, largestReadableFileBytes); },
                 std::nullopt},
        LoadCase{"OneByteTooLarge",
                 [](const auto& folder) { return sized(folder, largestReadableFileBytes + 1); },
                 FileErrorCause::fileTooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileSaving, SavesWhatLoadsBackAndNothingForAnEmptyPlanOrPath)
{
    test::TempFolder folder;
    CarrierList plan;
    plan.title = "Plan";
    Carrier carrier;
    carrier.setFixedBandwidth(5900.0, 1.0, 10.0, 1.35);
    plan.append(carrier);
    const FileWriteResult written = saveCarrierFile(plan, folder.file("plan.txt"));
    EXPECT_TRUE(written.written);
    EXPECT_EQ(writeResultText(written), "");
    EXPECT_EQ(test::contentOf(folder.file("plan.txt")), writeCarrierText(plan));
    CarrierList back;
    EXPECT_TRUE(loadCarrierFile(back, folder.file("plan.txt")).loaded);

    const FileWriteResult noPath = saveCarrierFile(plan, "");
    EXPECT_FALSE(noPath.written || noPath.error);
    CarrierList empty;
    const FileWriteResult nothing = saveCarrierFile(empty, folder.file("empty.txt"));
    EXPECT_FALSE(nothing.written);
    EXPECT_TRUE(nothing.nothingToSave);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plan.txt"});
}

TEST(SafeFileWriter, ReportsTheFirstFailureAndLeavesNoTemporaryFile)
{
    SafeFileWriter full;
    ASSERT_FALSE(full.open("/dev/full"));
    EXPECT_FALSE(full.write(std::string(2 << 20, 'x'))); // more than it buffers: written now
    EXPECT_FALSE(full.write("x")) << "false once a write has failed";
    EXPECT_EQ(full.commit()->cause, FileErrorCause::diskFull);

    // A folder made in the target's place while writing: the file cannot take its place.
    test::TempFolder folder;
    SafeFileWriter raced;
    ASSERT_FALSE(raced.open(folder.file("plan.txt")));
    EXPECT_TRUE(raced.write("plan"));
    std::filesystem::create_directory(folder.file("plan.txt"));
    EXPECT_EQ(raced.commit()->cause, FileErrorCause::accessDenied);
    SafeFileWriter dropped;
    ASSERT_FALSE(dropped.open(folder.file("other.txt")));
    dropped.write("other");
    dropped.discard();
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plan.txt"});
    EXPECT_EQ(SafeFileWriter().commit()->cause, FileErrorCause::invalidFile);
}

TEST(SafeFileWriter, ReplacesTheFileALinkNamesAndKeepsTheLink)
{
    test::TempFolder folder;
    test::put(folder.file("real.txt"), "old");
    std::filesystem::create_symlink("real.txt", folder.file("link.txt"));
    EXPECT_FALSE(writeFileSafely(folder.file("link.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.txt")));
    EXPECT_EQ(test::contentOf(folder.file("real.txt")), "new");
    EXPECT_EQ(writeFileSafely(folder.file("real.txt/"), "x")->cause, FileErrorCause::badPath);
}

} // namespace
} // namespace orvane
