#include "cli_test_support.h"

#include <cstdint>

namespace orvane::test {
namespace {

class ImageCommandTest : public CliTest {
protected:
    ImageCommandTest() : CliTest("image") {}
    void SetUp() override
    {
        CliTest::SetUp();
        put("plan.carriers.txt", examplePlan);
    }

    static std::uint32_t littleEndianAt(const std::string& bytes, std::size_t offset)
    {
        std::uint32_t value = 0;
        for (std::size_t index = 0; index < 4; ++index)
            value |=
                static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + index)))
                << (8 * index);
        return value;
    }
    static std::uint32_t bigEndianAt(const std::string& bytes, std::size_t offset)
    {
        std::uint32_t value = 0;
        for (std::size_t index = 0; index < 4; ++index)
            value = value << 8 | static_cast<unsigned char>(bytes.at(offset + index));
        return value;
    }

    // The pixel at (x, y) of a 32-bit bottom-up file as 0xRRGGBB.
    static std::uint32_t bitmapPixel(const std::string& bytes, int x, int y)
    {
        const std::uint32_t offset = littleEndianAt(bytes, 10);
        const auto width = static_cast<int>(littleEndianAt(bytes, 18));
        const auto height = static_cast<int>(littleEndianAt(bytes, 22));
        return littleEndianAt(
                   bytes, offset + 4u * static_cast<std::uint32_t>((height - 1 - y) * width + x)) &
               0xFFFFFFu;
    }

    static constexpr const char* examplePlan =
        "Plan A\r\n\r\n//Carrier file created by Orvane Version 2.0 \r\n\r\n"
        "F 5850.00000 6425.00000\r\n5900.00000 36000.000 TV1\r\n\r\nL\r\nR 1.2000\r\n"
        "C 6000.50000 2048.000 0.000 4 0.750000 1.085106 10.000 DATA\r\n"
        "S 6100.00000 1000.000 1.500000 8 0.666667 12.500 SE\r\n\r\n\r\n";
};

TEST_F(ImageCommandTest, WritesABitmapOfTheDefaultClientSize)
{
    ASSERT_EQ(run({pathOf("plan.carriers.txt"), pathOf("plan.bmp")}), 0) << errors;
    const std::string bytes = contentOf(pathOf("plan.bmp"));
    ASSERT_EQ(bytes.size(), 1925670u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(littleEndianAt(bytes, 18), 801u);
    EXPECT_EQ(bitmapPixel(bytes, 0, 0), 0x000000u);     // border
    EXPECT_EQ(bitmapPixel(bytes, 400, 300), 0xFFFFFFu); // background
    EXPECT_EQ(bitmapPixel(bytes, 400, 480), 0x000000u); // axis
    EXPECT_EQ(errors, "");
}

TEST_F(ImageCommandTest, WritesPngAtTheGivenSize)
{
    ASSERT_EQ(
        run({pathOf("plan.carriers.txt"), pathOf("plan.PNG"), "--size", "400x300", "--edges"}), 0)
        << errors;
    const std::string bytes = contentOf(pathOf("plan.PNG"));
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndianAt(bytes, 16), 400u);
    EXPECT_EQ(bigEndianAt(bytes, 20), 300u);
}

TEST_F(ImageCommandTest, WritesSvgWithTextsAsText)
{
    ASSERT_EQ(run({pathOf("plan.carriers.txt"), pathOf("plan.svg"), "--size", "640x480"}), 0)
        << errors;
    const std::string drawing = contentOf(pathOf("plan.svg"));
    EXPECT_NE(drawing.find("viewBox=\"0 0 640 480\""), std::string::npos);
    EXPECT_NE(drawing.find(">Plan A</text>"), std::string::npos);
    EXPECT_NE(drawing.find(">TV1</text>"), std::string::npos);
}

TEST_F(ImageCommandTest, UnreadablePlanFailsWithoutOutput)
{
    EXPECT_EQ(run({pathOf("missing.carriers.txt"), pathOf("plan.bmp")}), 1);
    EXPECT_NE(errors.find("missing.carriers.txt"), std::string::npos) << errors;
    put("empty.txt", "Title only\r\n");
    EXPECT_EQ(run({pathOf("empty.txt"), pathOf("plan.bmp")}), 1);
    EXPECT_FALSE(std::filesystem::exists(pathOf("plan.bmp")));
}

TEST_F(ImageCommandTest, UnwritableOutputFailsAndLeavesNothing)
{
    EXPECT_EQ(run({pathOf("plan.carriers.txt"), pathOf("no-folder/plan.bmp")}), 1);
    EXPECT_NE(errors.find("no-folder/plan.bmp"), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(pathOf("no-folder")));
}

TEST_F(ImageCommandTest, BadArgumentsAreUsageErrors)
{
    const std::string plan = pathOf("plan.carriers.txt");
    const std::string out = pathOf("plan.bmp");
    const std::vector<std::vector<std::string>> cases = {
        {plan},
        {plan, out, "extra"},
        {plan, out, "--size", "0x10"},
        {plan, out, "--size", "abcx601"},
        {plan, out, "--size", "801x99999"},
        {plan, out, "--colour"},
    };
    for (const std::vector<std::string>& args : cases) {
        EXPECT_EQ(run(args), 2) << (args.empty() ? "" : args.back());
        EXPECT_NE(errors.find("Usage"), std::string::npos) << errors;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace orvane::test
