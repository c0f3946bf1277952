// Every writer, made to fail in the ways a disk fails: each gives the message it promises,
// reports failure, leaves any earlier file byte for byte and leaves no temporary file.
#include "plan_samples.h"
#include "scratch_files.h"

#include "display/bitmap_file.h"
#include "files/carrier_file.h"
#include "files/file_error.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::test {
namespace {

const std::string earlierContent = "An earlier file\r\nthat must survive a failed write.\r\n";

struct Writer {
    const char* name;
    const char* fileName; // its extension picks the report layout and the image format
    // Writes to path; the text a user sees for the failure, empty when the file was written.
    std::function<std::string(const std::string& path)> write;
};

void PrintTo(const Writer& writer, std::ostream* out)
{
    *out << writer.name;
}

std::string saveCarriers(const std::string& path)
{
    CarrierList plan = samplePlan(200);
    const FileWriteResult result = saveCarrierFile(plan, path);
    EXPECT_EQ(result.written, writeResultText(result).empty());
    return writeResultText(result);
}

std::string saveReport(const std::string& path)
{
    CarrierList plan = samplePlan(20);
    const ReportResult result = saveIntermodReport(plan, path);
    EXPECT_EQ(result.written, reportResultText(result).empty());
    return reportResultText(result);
}

std::string saveBitmap(const std::string& path)
{
    DescribedBitmap bitmap;
    bitmap.width = 801;
    bitmap.height = 601;
    bitmap.bitsPerPixel = 32;
    bitmap.compression = bitmapColourMasks;
    bitmap.colourMasks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    bitmap.pixels.assign(bitmapRowBytes(801, 32) * 601, 0xA5);
    const BitmapWriteResult result = writeBitmapFile(&bitmap, path);
    EXPECT_EQ(result.written, bitmapWriteResultText(result).empty());
    return bitmapWriteResultText(result);
}

#ifdef ORVANE_CLI_WITH_IMAGES
// The PNG and SVG writers are reached through the command-line tool: run it and take its
// message from stderr.
std::string saveImageThroughCli(const std::string& path)
{
    const ScratchFolder own;
    const std::string plan = own.file("plan.txt");
    writeBytes(plan, samplePlanText(12));
    const std::string errors = own.file("stderr.txt");
    const std::string command = std::string("'") + ORVANE_CLI_PATH + "' image '" + plan + "' '" +
                                path + "' 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    std::string message = readBytes(errors);
    const std::string prefix = "orvane-cli: ";
    if (message.rfind(prefix, 0) == 0)
        message.erase(0, prefix.size());
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    EXPECT_EQ(status == 0, message.empty()) << message;
    return status == 0 ? std::string() : message;
}
#endif

const Writer writers[] = {
    {"CarrierFile", "plan.txt", saveCarriers},
    {"HtmlReport", "report.htm", saveReport},
    {"CsvReport", "report.csv", saveReport},
    {"Bitmap", "picture.bmp", saveBitmap},
#ifdef ORVANE_CLI_WITH_IMAGES
    {"PngThroughCli", "picture.png", saveImageThroughCli},
    {"SvgThroughCli", "picture.svg", saveImageThroughCli},
#endif
};

enum class Failure { fullDevice, fullSmallDisk, readOnlyFolder, targetIsFolder, missingFolder };

const char* failureName(Failure failure)
{
    switch (failure) {
    case Failure::fullDevice:
        return "FullDevice";
    case Failure::fullSmallDisk:
        return "FullSmallDisk";
    case Failure::readOnlyFolder:
        return "ReadOnlyFolder";
    case Failure::targetIsFolder:
        return "TargetIsFolder";
    case Failure::missingFolder:
        return "MissingFolder";
    }
    return "";
}

class WriteFailure : public ::testing::TestWithParam<std::tuple<Writer, Failure>> {
protected:
    const Writer& writer() const { return std::get<0>(GetParam()); }

    // The folder the target sits in and its content before the write.
    void expectFolderUnchanged(const std::string& folder, const std::vector<std::string>& before)
    {
        EXPECT_EQ(namesIn(folder), before)
            << "a temporary file was left behind or the folder changed";
    }

    ScratchFolder scratch_;
    ScratchMount mount_;
};

TEST_P(WriteFailure, GivesTheMessageAndKeepsTheEarlierFile)
{
    const Failure failure = std::get<1>(GetParam());
    switch (failure) {
    case Failure::fullDevice: {
        // A link with the writer's own file name, so the extension still picks the layout.
        const std::string target = scratch_.file(writer().fileName);
        ASSERT_EQ(::symlink("/dev/full", target.c_str()), 0);
        const std::vector<std::string> before = namesIn(scratch_.path());
        EXPECT_EQ(writer().write(target), fileErrorText(FileErrorCause::diskFull, target));
        expectFolderUnchanged(scratch_.path(), before);
        break;
    }
    case Failure::fullSmallDisk: {
        const std::string disk = scratch_.file("disk");
        ASSERT_EQ(::mkdir(disk.c_str(), 0755), 0);
        // Two pages: one holds the earlier file, the other cannot hold the new one.
        if (const auto reason = mount_.mountAt(disk, 8192))
            GTEST_SKIP() << "no small disk to fill: " << *reason
                         << " (the /dev/full case covers a full disk)";
        const std::string target = disk + "/" + writer().fileName;
        writeBytes(target, earlierContent);
        const std::vector<std::string> before = namesIn(disk);
        EXPECT_EQ(writer().write(target), fileErrorText(FileErrorCause::diskFull, target));
        EXPECT_EQ(readBytes(target), earlierContent);
        expectFolderUnchanged(disk, before);
        break;
    }
    case Failure::readOnlyFolder: {
        const std::string folder = scratch_.file("locked");
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        const std::string target = folder + "/" + writer().fileName;
        if (runningAsRoot()) {
            // Permissions do not stop root; a read-only file system does.
            if (const auto reason = mount_.mountAt(folder, 1 << 20))
                GTEST_SKIP() << "running as root, where folder permissions do not stop a "
                                "write, and "
                             << *reason;
            writeBytes(target, earlierContent);
            if (const auto reason = mount_.makeReadOnly())
                GTEST_SKIP() << *reason;
        } else {
            writeBytes(target, earlierContent);
            ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
        }
        const std::vector<std::string> before = namesIn(folder);
        EXPECT_EQ(writer().write(target), fileErrorText(FileErrorCause::accessDenied, target));
        EXPECT_EQ(readBytes(target), earlierContent);
        expectFolderUnchanged(folder, before);
        break;
    }
    case Failure::targetIsFolder: {
        const std::string target = scratch_.file(writer().fileName);
        ASSERT_EQ(::mkdir(target.c_str(), 0755), 0);
        writeBytes(target + "/inside.txt", earlierContent);
        const std::vector<std::string> before = namesIn(scratch_.path());
        EXPECT_EQ(writer().write(target), fileErrorText(FileErrorCause::accessDenied, target));
        EXPECT_EQ(readBytes(target + "/inside.txt"), earlierContent);
        EXPECT_EQ(namesIn(target), std::vector<std::string>{"inside.txt"});
        expectFolderUnchanged(scratch_.path(), before);
        break;
    }
    case Failure::missingFolder: {
        const std::string target = scratch_.file("missing") + "/" + writer().fileName;
        const std::vector<std::string> before = namesIn(scratch_.path());
        EXPECT_EQ(writer().write(target), fileErrorText(FileErrorCause::badPath, target));
        EXPECT_FALSE(exists(scratch_.file("missing")));
        expectFolderUnchanged(scratch_.path(), before);
        break;
    }
    }
}

void PrintTo(Failure failure, std::ostream* out)
{
    *out << failureName(failure);
}

// The same writers succeed where nothing stands in the way, replacing the earlier file: the
// failures above are the writers' doing, not the test's.
class EveryWriter : public ::testing::TestWithParam<Writer> {};

TEST_P(EveryWriter, WritesWhenNothingStandsInTheWay)
{
    const ScratchFolder scratch;
    const std::string target = scratch.file(GetParam().fileName);
    writeBytes(target, earlierContent);
    EXPECT_EQ(GetParam().write(target), "");
    EXPECT_GT(readBytes(target).size(), earlierContent.size());
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::string>{GetParam().fileName});
}

INSTANTIATE_TEST_SUITE_P(Writers, EveryWriter, ::testing::ValuesIn(writers),
                         [](const ::testing::TestParamInfo<Writer>& info) {
                             return std::string(info.param.name);
                         });

INSTANTIATE_TEST_SUITE_P(
    EveryWriter, WriteFailure,
    ::testing::Combine(::testing::ValuesIn(writers),
                       ::testing::Values(Failure::fullDevice, Failure::fullSmallDisk,
                                         Failure::readOnlyFolder, Failure::targetIsFolder,
                                         Failure::missingFolder)),
    [](const ::testing::TestParamInfo<std::tuple<Writer, Failure>>& info) {
        return std::string(std::get<0>(info.param).name) + "_" +
               failureName(std::get<1>(info.param));
    });

// Writing straight to the device itself, as a user may name it.
TEST(WriteToDevice, DevFullGivesDiskFull)
{
    EXPECT_EQ(saveCarriers("/dev/full"), "Disk full while accessing /dev/full.");
    EXPECT_EQ(saveReport("/dev/full"), "Disk full while accessing /dev/full.");
    EXPECT_EQ(saveBitmap("/dev/full"), "Disk full while accessing /dev/full.");
}

} // namespace
} // namespace orvane::test
