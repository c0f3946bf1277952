#include "display/bitmap_file.h"

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

// Rows numbered from the top: every byte of row r is r + 1, padding included, so the file
// shows the rows standing bottom-up. Depths up to 8 bits have a palette, 16 and 32 bits masks.
DescribedBitmap numberedRows(int width, int height, int bitsPerPixel)
{
    DescribedBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitsPerPixel = bitsPerPixel;
    for (int row = 0; row < height; ++row)
        bitmap.pixels.insert(bitmap.pixels.end(), bitmapRowBytes(width, bitsPerPixel),
                             static_cast<std::uint8_t>(row + 1));
    if (bitsPerPixel <= 8) {
        // An entry beyond the palette is written as zero, whatever lies past its end in memory.
        bitmap.palette = {0x00102030u, 0x00FFFFFFu, 0xAA000001u, 0x00ABCDEFu};
        bitmap.palette.pop_back();
        bitmap.coloursUsed = 3;
        bitmap.coloursImportant = 2;
    } else if (bitsPerPixel != 24) {
        bitmap.compression = bitmapColourMasks;
        bitmap.colourMasks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
        bitmap.horizontalPixelsPerMetre = 3780;
        bitmap.verticalPixelsPerMetre = -2;
    }
    return bitmap;
}

// The goldens were checked field by field: "BM", file size, pixel offset 14 + headers, a
// 40-byte info header with width, height, one plane, depth, compression, image size,
// resolution and colour counts, then masks or a 2^bits-entry palette (blue, green, red, 0)
// and the rows bottom-up, each padded to four bytes.
TEST(BitmapFile, WritesTheGoldenBytesForEveryDepth)
{
    const std::pair<const char*, DescribedBitmap> bitmaps[] = {
        {"mono_33x2", numberedRows(33, 2, 1)},  {"nibble_9x2", numberedRows(9, 2, 4)},
        {"palette_5x2", numberedRows(5, 2, 8)}, {"masks16_1x3", numberedRows(1, 3, 16)},
        {"rgb_3x3", numberedRows(3, 3, 24)},    {"masks32_3x2", numberedRows(3, 2, 32)}};
    test::TempFolder folder;
    for (const auto& [golden, bitmap] : bitmaps) {
        const BitmapWriteResult result = writeBitmapFile(&bitmap, folder.file("p.bmp"));
        EXPECT_TRUE(result.written) << golden;
        EXPECT_EQ(bitmapWriteResultText(result), "");
        test::expectGolden(test::contentOf(folder.file("p.bmp")),
                           std::string("bitmaps/") + golden + ".bmp");
    }
}

TEST(BitmapFileRefusal, NothingIsWrittenForAMissingOrImpossibleBitmap)
{
    test::TempFolder folder;
    EXPECT_EQ(bitmapWriteResultText(writeBitmapFile(nullptr, folder.file("p.bmp"))),
              "No Bitmap to Save!");
    std::vector<DescribedBitmap> refused(5, numberedRows(3, 2, 24));
    refused[0].pixels.pop_back(); // one byte short
    refused[1].bitsPerPixel = 12;
    refused[2].width = 0;
    refused[3].height = -2;
    refused[4] = DescribedBitmap(); // a file longer than its 32-bit size field can state
    refused[4].width = 40000;
    refused[4].height = 40000;
    for (const DescribedBitmap& bitmap : refused) {
        const BitmapWriteResult result = writeBitmapFile(&bitmap, folder.file("p.bmp"));
        EXPECT_FALSE(result.written);
        EXPECT_EQ(bitmapWriteResultText(result), "ERR1");
    }
    EXPECT_TRUE(folder.names().empty());
    // Rows of an impossible width or depth hold nothing.
    for (const auto& [width, bitsPerPixel] : {std::pair{0, 24}, {3, 0}, {3, -8}, {3, 33}})
        EXPECT_EQ(bitmapRowBytes(width, bitsPerPixel), 0u) << width << "x" << bitsPerPixel;
}

} // namespace
} // namespace orvane
