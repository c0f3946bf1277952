#include "files/carrier_file.h"
#include "files/file_reading.h"
#include "files/modcod_file.h"
#include "files/safe_file_writer.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <sys/syscall.h>
#include <unistd.h>

// A disk that fails only when the written data is flushed (a network file system, a failing
// device): this program's fsync fails with the error set here, or syncs when it is 0.
static int fsyncFailure = 0;

extern "C" int fsync(int descriptor)
{
    if (fsyncFailure == 0)
        return static_cast<int>(syscall(SYS_fsync, descriptor));
    errno = fsyncFailure;
    return -1;
}

namespace orvane {
namespace {

// Both readers open files alike, and the list is emptied whatever happens.
TEST(FileLoading, GivesTheCauseOfAnError)
{
    test::TempFolder folder;
    test::put(folder.file("empty.txt"), "");
    test::put(folder.file("title.txt"), "Title\r\n");
    test::put(folder.file("le.txt"), std::string("\xFF\xFEP\0\r\0\n\0", 8));
    test::put(folder.file("be.txt"), std::string("\xFE\xFF\0P\0\r\0\n", 8));
    test::put(folder.file("mark.txt"), "\xFF\xFE"); // the byte-order mark alone
    for (const std::size_t size : {largestReadableFileBytes, largestReadableFileBytes + 1}) {
        test::put(folder.file(std::to_string(size)), "");
        std::filesystem::resize_file(folder.file(std::to_string(size)), size);
    }
    const std::vector<std::pair<std::string, std::optional<FileErrorCause>>> cases = {
        {folder.file("missing.txt"), FileErrorCause::fileNotFound},
        {folder.path(), FileErrorCause::accessDenied},
        {"", FileErrorCause::badPath},
        {folder.file("empty.txt"), std::nullopt},
        {folder.file("title.txt"), std::nullopt},
        {folder.file("le.txt"), FileErrorCause::utf16Text},
        {folder.file("be.txt"), FileErrorCause::utf16Text},
        {folder.file("mark.txt"), FileErrorCause::utf16Text},
        {folder.file(std::to_string(largestReadableFileBytes)), std::nullopt},
        {folder.file(std::to_string(largestReadableFileBytes + 1)), FileErrorCause::fileTooLarge},
        {"/dev/zero", FileErrorCause::fileTooLarge}}; // a device that never ends
    for (const auto& [path, cause] : cases) {
        for (const auto load : {loadCarrierFile, loadModcodFile}) {
            CarrierList list;
            list.append(Carrier());
            const FileReadResult result = load(list, path);
            EXPECT_FALSE(result.loaded);
            EXPECT_EQ(result.error ? std::optional(result.error->cause) : std::nullopt, cause)
                << path;
            EXPECT_EQ(result.error ? result.error->path : path, path);
            EXPECT_EQ(list.count(), 0);
        }
    }
}

// What a save writes and loads back the command-line tool's resave proves.
TEST(FileSaving, NothingForAnEmptyPlanOrPath)
{
    test::TempFolder folder;
    CarrierList plan;
    ASSERT_TRUE(readCarrierText(plan, "Plan\r\nL\r\n5900 1 10 A\r\n").loaded);
    const FileWriteResult noPath = saveCarrierFile(plan, "");
    EXPECT_FALSE(noPath.written || noPath.error);
    CarrierList empty;
    const FileWriteResult nothing = saveCarrierFile(empty, folder.file("empty.txt"));
    EXPECT_FALSE(nothing.written);
    EXPECT_TRUE(nothing.nothingToSave);
    EXPECT_TRUE(folder.names().empty());
}

TEST(SafeFileWriter, ReportsTheFirstFailureAndLeavesNoTemporaryFile)
{
    SafeFileWriter full;
    ASSERT_FALSE(full.open("/dev/full"));
    EXPECT_TRUE(full.write("a"));                        // kept in the buffer
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
    // The target's folder removed while writing: a path that no longer leads anywhere.
    std::filesystem::create_directory(folder.file("gone"));
    SafeFileWriter orphaned;
    ASSERT_FALSE(orphaned.open(folder.file("gone/plan.txt")));
    std::filesystem::remove_all(folder.file("gone"));
    EXPECT_EQ(orphaned.commit()->cause, FileErrorCause::badPath);
    SafeFileWriter dropped;
    ASSERT_FALSE(dropped.open(folder.file("other.txt")));
    dropped.write("other");
    dropped.discard();
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plan.txt"});
    SafeFileWriter unopened;
    EXPECT_FALSE(unopened.write("x"));
    EXPECT_EQ(unopened.commit()->cause, FileErrorCause::invalidFile);
}

TEST(SafeFileWriter, ReplacesTheFileALinkNamesAndKeepsTheLink)
{
    test::TempFolder folder;
    test::put(folder.file("real.txt"), "old");
    std::filesystem::create_symlink("real.txt", folder.file("link.txt"));
    EXPECT_FALSE(writeFileSafely(folder.file("link.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.txt")));
    EXPECT_EQ(test::contentOf(folder.file("real.txt")), "new");
    EXPECT_EQ(writeFileSafely(folder.path() + "/", "x")->cause, FileErrorCause::badPath);
}

// A failed flush fails the save and keeps the earlier file; a file that cannot be flushed at
// all (EINVAL) is written as it is.
TEST(SafeFileWriter, AFailedFlushKeepsTheEarlierFile)
{
    test::TempFolder folder;
    test::put(folder.file("plan.txt"), "old");
    fsyncFailure = EIO;
    const std::optional<FileError> failed = writeFileSafely(folder.file("plan.txt"), "new");
    fsyncFailure = EINVAL;
    const std::optional<FileError> unflushable = writeFileSafely(folder.file("other.txt"), "x");
    fsyncFailure = 0;
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->cause, FileErrorCause::hardIO);
    EXPECT_FALSE(unflushable);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"other.txt", "plan.txt"}));
    EXPECT_EQ(test::contentOf(folder.file("plan.txt")), "old");
}

} // namespace
} // namespace orvane
