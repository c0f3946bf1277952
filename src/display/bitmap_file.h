#pragma once

#include "files/file_error.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The messages a failed image save shows (with the application title as caption).
inline constexpr const char* noBitmapToSaveText = "No Bitmap to Save!";
inline constexpr const char* bitmapNotDescribedText = "ERR1";
inline constexpr const char* pixelBufferFailedText = "ERR2";
inline constexpr const char* scratchBitmapFailedText = "BITMAP Was not Created!";

// Compression values of a bitmap's info header.
inline constexpr std::uint32_t bitmapPlainRgb = 0;
inline constexpr std::uint32_t bitmapColourMasks = 3;

// A picture described the way a device-independent bitmap holds it.
struct DescribedBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32; // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression = bitmapPlainRgb;
    // Rows from the top of the picture down, each bitmapRowBytes long (padded to 4 bytes).
    std::vector<std::uint8_t> pixels;
    // Red, green and blue masks of a 16- or 32-bit picture; all zero when there are none.
    std::array<std::uint32_t, 3> colourMasks{};
    // 1, 4 and 8 bits: up to 2^bits entries 0x00RRGGBB (stored blue, green, red, 0); missing
    // entries are written as zeros.
    std::vector<std::uint32_t> palette;
    std::int32_t horizontalPixelsPerMetre = 0;
    std::int32_t verticalPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
};

// Bytes of one pixel row, rounded up to a multiple of 4; 0 for an impossible width or depth.
std::size_t bitmapRowBytes(int width, int bitsPerPixel);
// The bytes of the headers that follow the 14-byte file header: 40 for 24 bits, 52 for 16
// and 32 bits (three masks), 40 plus the palette for 1, 4 and 8 bits.
std::size_t bitmapHeaderBytes(int bitsPerPixel);

struct BitmapWriteResult {
    bool written = false;
    // One of the messages above when the picture could not be had or described.
    std::string message;
    // The file could not be created or written; any earlier file at the path is untouched.
    std::optional<FileError> error;
};

// The text a user sees for a failed save; empty when there is nothing to say.
std::string bitmapWriteResultText(const BitmapWriteResult& result);

// Writes the bitmap as an uncompressed BMP file, rows bottom-up, through a temporary file
// that replaces the target only when complete. No bitmap: noBitmapToSaveText; a description
// that does not hold together (size, depth, pixel count): bitmapNotDescribedText.
BitmapWriteResult writeBitmapFile(const DescribedBitmap* bitmap, const std::string& path);

} // namespace orvane
