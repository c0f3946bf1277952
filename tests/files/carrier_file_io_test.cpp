#include "files/carrier_file.h"
#include "files/modcod_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvane {
namespace {

class FileFolder : public ::testing::Test {
protected:
    std::string pathOf(const std::string& name) const { return scratch.file(name); }
    test::TempFolder scratch;
    const std::string& folder_ = scratch.path();
};

CarrierList planOf(int carriers)
{
    CarrierList list;
    list.title = "Plan";
    list.viewStartMhz = 5850.0;
    list.viewStopMhz = 6425.0;
    for (int i = 0; i < carriers; ++i) {
        Carrier carrier;
        carrier.setFixedBandwidth(5900.0 + i * 0.01, 1.0, 10.0, 1.35);
        carrier.label = "carrier " + std::to_string(i);
        list.append(carrier);
    }
    return list;
}

TEST_F(FileFolder, SavedPlanLoadsBack)
{
    CarrierList plan = planOf(3);
    const FileWriteResult written = saveCarrierFile(plan, pathOf("plan.carriers.txt"));
    EXPECT_TRUE(written.written);
    EXPECT_EQ(writeResultText(written), "");
    EXPECT_EQ(test::contentOf(pathOf("plan.carriers.txt")), writeCarrierText(plan));

    CarrierList back;
    const FileReadResult read = loadCarrierFile(back, pathOf("plan.carriers.txt"));
    EXPECT_TRUE(read.loaded);
    EXPECT_FALSE(read.error);
    EXPECT_EQ(back.count(), 3);
    EXPECT_EQ(back[2].label, "carrier 2");
}

TEST_F(FileFolder, MissingFileGivesTheNotFoundText)
{
    CarrierList list = planOf(2);
    const std::string path = pathOf("missing.txt");
    const FileReadResult result = loadCarrierFile(list, path);
    EXPECT_FALSE(result.loaded);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->cause, FileErrorCause::fileNotFound);
    EXPECT_EQ(fileErrorText(*result.error), path + " was not found.");
    EXPECT_EQ(list.count(), 0) << "the list is emptied whatever happens";

    const FileReadResult modcod = loadModcodFile(list, path);
    ASSERT_TRUE(modcod.error);
    EXPECT_EQ(fileErrorText(*modcod.error), path + " was not found.");
}

TEST_F(FileFolder, FolderInsteadOfAFileIsDenied)
{
    CarrierList list;
    const FileReadResult result = loadCarrierFile(list, folder_);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(fileErrorText(*result.error), "Access to " + folder_ + " was denied.");
}

TEST_F(FileFolder, Utf16FilesAreRefusedWithTheirOwnText)
{
    const std::string text = "Plan\r\n6000 1350 A\r\n";
    for (const bool littleEndian : {true, false}) {
        std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const char c : text)
            bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
        test::put(pathOf("wide.txt"), bytes);
        CarrierList list = planOf(1);
        const FileReadResult result = loadCarrierFile(list, pathOf("wide.txt"));
        EXPECT_FALSE(result.loaded);
        ASSERT_TRUE(result.error);
        EXPECT_EQ(fileErrorText(*result.error), pathOf("wide.txt") +
                                                    " is a UTF-16 text file. Save it as plain text "
                                                    "(Windows-1252 or ASCII) and open it again.");
        EXPECT_EQ(list.count(), 0);
        EXPECT_TRUE(loadModcodFile(list, pathOf("wide.txt")).error);
    }
}

TEST_F(FileFolder, FileWithoutCarriersIsNoErrorButNotLoaded)
{
    test::put(pathOf("empty.txt"), "");
    test::put(pathOf("title.txt"), "Just a title\r\n");
    CarrierList list;
    for (const char* name : {"empty.txt", "title.txt"}) {
        const FileReadResult result = loadCarrierFile(list, pathOf(name));
        EXPECT_FALSE(result.loaded) << name;
        EXPECT_FALSE(result.error) << name;
    }
    EXPECT_EQ(noCarriersFoundText("a.txt"), "No carriers were found in a.txt.");
}

TEST_F(FileFolder, EmptyPlanIsNotSaved)
{
    CarrierList empty;
    const FileWriteResult result = saveCarrierFile(empty, pathOf("empty.txt"));
    EXPECT_TRUE(result.nothingToSave);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(writeResultText(result), "Found no data to save!  ");
    EXPECT_FALSE(std::filesystem::exists(pathOf("empty.txt")));
}

TEST_F(FileFolder, EmptyPathDoesNothing)
{
    CarrierList plan = planOf(1);
    const FileWriteResult result = saveCarrierFile(plan, "");
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(writeResultText(result), "");
}

} // namespace
} // namespace orvane
