#include "display/bitmap_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orvane {
namespace {

class BitmapFile : public ::testing::Test {
protected:
    std::string pathOf(const std::string& name) const { return folder.file(name); }

    // Writes the bitmap and reads the file back; fails the test when the write fails.
    std::vector<std::uint8_t> written(const DescribedBitmap& bitmap)
    {
        const BitmapWriteResult result = writeBitmapFile(&bitmap, pathOf("picture.bmp"));
        EXPECT_TRUE(result.written) << bitmapWriteResultText(result);
        EXPECT_EQ(bitmapWriteResultText(result), "");
        const std::string bytes = test::contentOf(pathOf("picture.bmp"));
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }

    static std::uint32_t longAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
    {
        return static_cast<std::uint32_t>(bytes.at(offset)) |
               static_cast<std::uint32_t>(bytes.at(offset + 1)) << 8 |
               static_cast<std::uint32_t>(bytes.at(offset + 2)) << 16 |
               static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
    }
    static unsigned wordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
    {
        return bytes.at(offset) | static_cast<unsigned>(bytes.at(offset + 1)) << 8;
    }

    // The fixed fields every header has, whatever the depth.
    static void expectHeaders(const std::vector<std::uint8_t>& bytes, const DescribedBitmap& bitmap,
                              std::uint32_t headerBytes, std::uint32_t imageBytes)
    {
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(longAt(bytes, 2), 14 + headerBytes + imageBytes);
        EXPECT_EQ(bytes.size(), 14 + headerBytes + imageBytes);
        EXPECT_EQ(wordAt(bytes, 6), 0u);
        EXPECT_EQ(wordAt(bytes, 8), 0u);
        EXPECT_EQ(longAt(bytes, 10), 14 + headerBytes);
        EXPECT_EQ(longAt(bytes, 14), 40u);
        EXPECT_EQ(longAt(bytes, 18), static_cast<std::uint32_t>(bitmap.width));
        EXPECT_EQ(longAt(bytes, 22), static_cast<std::uint32_t>(bitmap.height));
        EXPECT_EQ(wordAt(bytes, 26), 1u);
        EXPECT_EQ(wordAt(bytes, 28), static_cast<unsigned>(bitmap.bitsPerPixel));
        EXPECT_EQ(longAt(bytes, 30), bitmap.compression);
        EXPECT_EQ(longAt(bytes, 34), imageBytes);
        EXPECT_EQ(longAt(bytes, 38), static_cast<std::uint32_t>(bitmap.horizontalPixelsPerMetre));
        EXPECT_EQ(longAt(bytes, 42), static_cast<std::uint32_t>(bitmap.verticalPixelsPerMetre));
        EXPECT_EQ(longAt(bytes, 46), bitmap.coloursUsed);
        EXPECT_EQ(longAt(bytes, 50), bitmap.coloursImportant);
    }

    // Rows numbered from the top: every byte of row r is r + 1, padding included.
    static DescribedBitmap numberedRows(int width, int height, int bitsPerPixel)
    {
        DescribedBitmap bitmap;
        bitmap.width = width;
        bitmap.height = height;
        bitmap.bitsPerPixel = bitsPerPixel;
        const std::size_t rowBytes = bitmapRowBytes(width, bitsPerPixel);
        for (int row = 0; row < height; ++row)
            bitmap.pixels.insert(bitmap.pixels.end(), rowBytes, static_cast<std::uint8_t>(row + 1));
        return bitmap;
    }

    // The rows stand in the file bottom-up: the last row of the picture comes first.
    static void expectBottomUp(const std::vector<std::uint8_t>& bytes, std::size_t pixelOffset,
                               const DescribedBitmap& bitmap)
    {
        const std::size_t rowBytes = bitmapRowBytes(bitmap.width, bitmap.bitsPerPixel);
        for (int fileRow = 0; fileRow < bitmap.height; ++fileRow) {
            const std::uint8_t expected = static_cast<std::uint8_t>(bitmap.height - fileRow);
            for (std::size_t column = 0; column < rowBytes; ++column)
                ASSERT_EQ(bytes.at(pixelOffset + fileRow * rowBytes + column), expected)
                    << "file row " << fileRow;
        }
    }

    test::TempFolder folder;
};

TEST_F(BitmapFile, ThirtyTwoBitsWithColourMasks)
{
    DescribedBitmap bitmap = numberedRows(3, 2, 32);
    bitmap.compression = bitmapColourMasks;
    bitmap.colourMasks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    bitmap.horizontalPixelsPerMetre = 3780;
    bitmap.verticalPixelsPerMetre = 3780;
    const std::vector<std::uint8_t> bytes = written(bitmap);
    expectHeaders(bytes, bitmap, 52, 24);
    EXPECT_EQ(longAt(bytes, 54), 0x00FF0000u);
    EXPECT_EQ(longAt(bytes, 58), 0x0000FF00u);
    EXPECT_EQ(longAt(bytes, 62), 0x000000FFu);
    expectBottomUp(bytes, 66, bitmap);
}

TEST_F(BitmapFile, TwentyFourBitRowsArePaddedToFourBytes)
{
    const DescribedBitmap bitmap = numberedRows(3, 3, 24);
    ASSERT_EQ(bitmapRowBytes(3, 24), 12u);
    const std::vector<std::uint8_t> bytes = written(bitmap);
    expectHeaders(bytes, bitmap, 40, 36);
    expectBottomUp(bytes, 54, bitmap);
}

TEST_F(BitmapFile, EightBitsCarryAFullPalette)
{
    DescribedBitmap bitmap = numberedRows(5, 2, 8);
    bitmap.palette = {0x00102030u, 0x00FFFFFFu, 0xAA000001u};
    bitmap.coloursUsed = 3;
    const std::vector<std::uint8_t> bytes = written(bitmap);
    expectHeaders(bytes, bitmap, 40 + 1024, 16);
    // Entries as blue, green, red, 0; those not given are zero.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.begin() + 66),
              std::vector<std::uint8_t>({0x30, 0x20, 0x10, 0, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0}));
    for (std::size_t offset = 66; offset < 54 + 1024; ++offset)
        ASSERT_EQ(bytes.at(offset), 0u) << offset;
    expectBottomUp(bytes, 54 + 1024, bitmap);
}

struct DepthCase {
    int bitsPerPixel;
    int width;
    std::size_t rowBytes;
    std::size_t headerBytes;
};

class BitmapDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BitmapDepth, RowAndHeaderSizes)
{
    EXPECT_EQ(bitmapRowBytes(GetParam().width, GetParam().bitsPerPixel), GetParam().rowBytes);
    EXPECT_EQ(bitmapHeaderBytes(GetParam().bitsPerPixel), GetParam().headerBytes);
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapDepth,
                         ::testing::Values(DepthCase{1, 33, 8, 48}, DepthCase{4, 9, 8, 104},
                                           DepthCase{8, 801, 804, 1064},
                                           DepthCase{16, 801, 1604, 52},
                                           DepthCase{24, 801, 2404, 40},
                                           DepthCase{32, 801, 3204, 52}));

TEST_F(BitmapFile, MissingBitmapIsReportedAndWritesNothing)
{
    const BitmapWriteResult result = writeBitmapFile(nullptr, pathOf("picture.bmp"));
    EXPECT_FALSE(result.written);
    EXPECT_EQ(bitmapWriteResultText(result), "No Bitmap to Save!");
    EXPECT_FALSE(std::filesystem::exists(pathOf("picture.bmp")));
}

TEST_F(BitmapFile, DescriptionsThatDoNotHoldTogetherAreRefused)
{
    std::vector<DescribedBitmap> refused;
    refused.push_back(numberedRows(3, 2, 24));
    refused.back().pixels.pop_back(); // one byte short
    refused.push_back(numberedRows(3, 2, 24));
    refused.back().bitsPerPixel = 12;
    refused.push_back(numberedRows(3, 2, 24));
    refused.back().width = 0;
    refused.push_back(numberedRows(3, 2, 24));
    refused.back().height = -2;
    DescribedBitmap enormous; // a file longer than its 32-bit size field can state
    enormous.width = 40000;
    enormous.height = 40000;
    refused.push_back(enormous);
    for (const DescribedBitmap& bitmap : refused) {
        const BitmapWriteResult result = writeBitmapFile(&bitmap, pathOf("picture.bmp"));
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.message, "ERR1");
        EXPECT_FALSE(result.error.has_value());
    }
    EXPECT_FALSE(std::filesystem::exists(pathOf("picture.bmp")));
}

} // namespace
} // namespace orvane
