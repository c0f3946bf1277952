// Every writer made to fail the ways a disk fails: each gives the message it promises, reports
// failure, leaves any earlier file byte for byte and leaves no temporary file. The writers
// share one safe writer, so each failure is shown once, each writer at least once.
#include "sample_plan.h"
#include "support/temp_folder.h"

#include "display/bitmap_file.h"
#include "files/carrier_file.h"
#include "report/intermod_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <sys/mount.h>
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

// The text a user sees for a writer's result, which says whether it wrote.
template <typename Result> std::string messageOf(const Result& result, const std::string& text)
{
    EXPECT_EQ(result.written, text.empty());
    return text;
}

std::string saveCarriers(const std::string& path)
{
    CarrierList plan = samplePlan(200);
    const FileWriteResult result = saveCarrierFile(plan, path);
    return messageOf(result, writeResultText(result));
}

std::string saveReport(const std::string& path)
{
    CarrierList plan = samplePlan(20);
    const ReportResult result = saveIntermodReport(plan, path);
    return messageOf(result, reportResultText(result));
}

std::string saveBitmap(const std::string& path)
{
    DescribedBitmap bitmap;
    bitmap.width = 801;
    bitmap.height = 601;
    bitmap.pixels.assign(bitmapRowBytes(801, 32) * 601, 0xA5);
    const BitmapWriteResult result = writeBitmapFile(&bitmap, path);
    return messageOf(result, bitmapWriteResultText(result));
}

#ifdef ORVANE_CLI_WITH_IMAGES
// The PNG and SVG writers are reached through the command-line tool: its message on stderr.
std::string saveImageThroughCli(const std::string& path)
{
    const TempFolder own;
    CarrierList plan = samplePlan(12);
    put(own.file("plan.txt"), writeCarrierText(plan));
    const std::string command = std::string("'") + ORVANE_CLI_PATH + "' image '" +
                                own.file("plan.txt") + "' '" + path + "' 2>'" +
                                own.file("stderr.txt") + "'";
    const int status = std::system(command.c_str());
    std::string message = contentOf(own.file("stderr.txt"));
    if (message.rfind("orvane-cli: ", 0) == 0)
        message.erase(0, 12);
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    EXPECT_EQ(status == 0, message.empty()) << message;
    return message;
}
#endif

const Writer writers[] = {
    {"CarrierFile", "plan.txt", saveCarriers},   {"HtmlReport", "report.htm", saveReport},
    {"CsvReport", "report.csv", saveReport},     {"Bitmap", "picture.bmp", saveBitmap},
#ifdef ORVANE_CLI_WITH_IMAGES
    {"Png", "picture.png", saveImageThroughCli}, {"Svg", "picture.svg", saveImageThroughCli},
#endif
};

class EveryWriter : public ::testing::TestWithParam<Writer> {};

// The failures below are the writers' doing, not the test's: where nothing stands in the way
// each writer replaces the earlier file. Writing to /dev/full, as a user may name it, fails.
TEST_P(EveryWriter, ReplacesAnEarlierFileAndFailsOnAFullDevice)
{
    const TempFolder scratch;
    const std::string target = scratch.file(GetParam().fileName);
    put(target, earlierContent);
    EXPECT_EQ(GetParam().write(target), "");
    EXPECT_GT(contentOf(target).size(), earlierContent.size());
    EXPECT_EQ(scratch.names(), std::vector<std::string>{GetParam().fileName});
    EXPECT_EQ(GetParam().write("/dev/full"), "Disk full while accessing /dev/full.");
}

INSTANTIATE_TEST_SUITE_P(Writers, EveryWriter, ::testing::ValuesIn(writers),
                         [](const auto& info) { return std::string(info.param.name); });

// A small tmpfs mounted on a folder for one test, unmounted when it goes. Only root can mount.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder_(folder)
    {
        std::filesystem::create_directory(folder);
        mounted_ = ::geteuid() == 0 &&
                   ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=8192,mode=0755") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
};

struct Failure {
    const char* name;
    int writer; // its index in writers
    // Prepares the failure in the folder; the target's path, or empty to skip the case.
    std::function<std::string(const TempFolder&, SmallDisk&, const std::string& fileName)> make;
    FileErrorCause cause;
    const char* folder; // the folder whose content must stay as it was
};

class WriteFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(WriteFailure, GivesTheMessageAndKeepsTheEarlierFile)
{
    const TempFolder scratch;
    SmallDisk disk(scratch.file("disk"));
    const Writer& writer = writers[GetParam().writer];
    const std::string target = GetParam().make(scratch, disk, writer.fileName);
    if (target.empty())
        GTEST_SKIP() << "needs root to mount a small or read-only disk";
    const std::vector<std::string> before = scratch.names(GetParam().folder);
    // A device or a folder in the target's place has no content to keep.
    const bool regular = std::filesystem::is_regular_file(std::filesystem::symlink_status(target));
    const std::string earlier = regular ? contentOf(target) : "";
    EXPECT_EQ(writer.write(target), fileErrorText(GetParam().cause, target));
    EXPECT_EQ(regular ? contentOf(target) : "", earlier);
    EXPECT_EQ(scratch.names(GetParam().folder), before) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Disks, WriteFailure,
    ::testing::Values(
        // Two pages: one holds the earlier file, the other cannot hold the new one.
        Failure{"FullSmallDisk", 1,
                [](const TempFolder& scratch, SmallDisk& disk, const std::string& name) {
                    put(scratch.file("disk/" + name), earlierContent);
                    return disk.mounted() ? scratch.file("disk/" + name) : std::string();
                },
                FileErrorCause::diskFull, "disk"},
        // Permissions do not stop root; a read-only file system does.
        Failure{"ReadOnlyFolder", 2,
                [](const TempFolder& scratch, SmallDisk& disk, const std::string& name) {
                    put(scratch.file("disk/" + name), earlierContent);
                    if (::geteuid() != 0)
                        ::chmod(scratch.file("disk").c_str(), 0555);
                    else if (!disk.mounted() || !disk.makeReadOnly())
                        return std::string();
                    return scratch.file("disk/" + name);
                },
                FileErrorCause::accessDenied, "disk"},
        Failure{"TargetIsAFolder", 3,
                [](const TempFolder& scratch, SmallDisk&, const std::string& name) {
                    std::filesystem::create_directory(scratch.file(name));
                    put(scratch.file(name + "/inside.txt"), earlierContent);
                    return scratch.file(name);
                },
                FileErrorCause::accessDenied, ""},
        Failure{"MissingFolder", static_cast<int>(std::size(writers)) - 1,
                [](const TempFolder& scratch, SmallDisk&, const std::string& name) {
                    return scratch.file("missing/" + name);
                },
                FileErrorCause::badPath, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane::test
