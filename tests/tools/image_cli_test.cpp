#include "cli_test_support.h"

#include <cstdint>
#include <tuple>

namespace orvane::test {
namespace {

// The unsigned number of bytes at offset, least significant first unless bigEndian.
std::uint32_t numberAt(const std::string& bytes, std::size_t offset, bool bigEndian = false)
{
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        const auto byte = static_cast<unsigned char>(bytes.at(offset + index));
        value |= std::uint32_t{byte} << (8 * (bigEndian ? 3 - index : index));
    }
    return value;
}

class ImageCommand : public CliTest {
protected:
    ImageCommand() { put("plan.txt", dataFile("reading/example.carriers.txt")); }
};

TEST_F(ImageCommand, WritesTheFormatTheExtensionNames)
{
    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.bmp"}), 0) << errors;
    const std::string bitmap = contentOf(pathOf("plan.bmp"));
    EXPECT_EQ(bitmap.size(), 1925670u) << "801 x 601 pixels of 32 bits";
    EXPECT_EQ(bitmap.substr(0, 2), "BM");

    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.PNG", "--size", "400x300", "--edges"}), 0);
    const std::string png = contentOf(pathOf("plan.PNG"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(numberAt(png, 16, true), 400u);
    EXPECT_EQ(numberAt(png, 20, true), 300u);

    ASSERT_EQ(run({"image", "@/plan.txt", "@/plan.svg", "--size", "640x480"}), 0) << errors;
    const std::string drawing = contentOf(pathOf("plan.svg"));
    for (const char* part : {"viewBox=\"0 0 640 480\"", ">Plan A</text>", ">TV1</text>"})
        EXPECT_NE(drawing.find(part), std::string::npos) << part;
}

TEST_F(ImageCommand, FailuresLeaveNoImage)
{
    put("empty.txt", "Title only\r\n");
    // The arguments after "image", the exit status and a part of the message.
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"@/missing.txt", "@/plan.bmp"}, 1, "missing.txt"},
        {{"@/empty.txt", "@/plan.bmp"}, 1, "empty.txt"},
        {{"@/plan.txt", "@/no-folder/plan.bmp"}, 1, "no-folder/plan.bmp"},
        {{"@/plan.txt"}, 2, "Usage"},
        {{"@/plan.txt", "@/plan.bmp", "extra"}, 2, "Usage"},
        {{"@/plan.txt", "@/plan.bmp", "--size", "0x10"}, 2, "Usage"},
        {{"@/plan.txt", "@/plan.bmp", "--size", "abcx601"}, 2, "Usage"},
        {{"@/plan.txt", "@/plan.bmp", "--size", "801x99999"}, 2, "Usage"},
        {{"@/plan.txt", "@/plan.bmp", "--colour"}, 2, "Usage"}};
    for (const auto& [args, status, message] : cases) {
        std::vector<std::string> command = {"image"};
        command.insert(command.end(), args.begin(), args.end());
        EXPECT_EQ(run(command), status) << args.back();
        EXPECT_NE(errors.find(message), std::string::npos) << errors;
    }
    EXPECT_EQ(scratch.names(),
              (std::vector<std::string>{"empty.txt", "plan.txt", "stderr.txt", "stdout.txt"}));
}

} // namespace
} // namespace orvane::test
