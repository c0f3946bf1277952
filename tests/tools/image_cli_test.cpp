#include "cli_test_support.h"

#include <cstdint>

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

using ImageCommand = CliTest;

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
    expectFailures("cli/image-failures.txt");
}

} // namespace
} // namespace orvane::test
