#include "display/bitmap_file.h"

#include "files/safe_file_writer.h"

#include <limits>
#include <new>

namespace orvane {

namespace {

constexpr std::size_t fileHeaderBytes = 14;
constexpr std::size_t infoHeaderBytes = 40;
constexpr std::size_t maskBytes = 12;

bool supportedDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

void appendWord(std::string& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<char>(value & 0xFFu));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFFu));
}

void appendLong(std::string& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

std::string headersOf(const DescribedBitmap& bitmap, std::uint32_t imageBytes)
{
    const std::size_t headerBytes = bitmapHeaderBytes(bitmap.bitsPerPixel);
    const auto pixelOffset = static_cast<std::uint32_t>(fileHeaderBytes + headerBytes);
    std::string bytes;
    bytes.reserve(pixelOffset);
    bytes += "BM";
    appendLong(bytes, pixelOffset + imageBytes);
    appendWord(bytes, 0);
    appendWord(bytes, 0);
    appendLong(bytes, pixelOffset);

    appendLong(bytes, static_cast<std::uint32_t>(infoHeaderBytes));
    appendLong(bytes, static_cast<std::uint32_t>(bitmap.width));
    appendLong(bytes, static_cast<std::uint32_t>(bitmap.height));
    appendWord(bytes, 1);
    appendWord(bytes, static_cast<std::uint16_t>(bitmap.bitsPerPixel));
    appendLong(bytes, bitmap.compression);
    appendLong(bytes, imageBytes);
    appendLong(bytes, static_cast<std::uint32_t>(bitmap.horizontalPixelsPerMetre));
    appendLong(bytes, static_cast<std::uint32_t>(bitmap.verticalPixelsPerMetre));
    appendLong(bytes, bitmap.coloursUsed);
    appendLong(bytes, bitmap.coloursImportant);

    if (bitmap.bitsPerPixel == 16 || bitmap.bitsPerPixel == 32) {
        for (const std::uint32_t mask : bitmap.colourMasks)
            appendLong(bytes, mask);
    } else if (bitmap.bitsPerPixel != 24) {
        const std::size_t entries = std::size_t{1} << bitmap.bitsPerPixel;
        for (std::size_t entry = 0; entry < entries; ++entry)
            appendLong(bytes,
                       entry < bitmap.palette.size() ? bitmap.palette[entry] & 0xFFFFFFu : 0u);
    }
    return bytes;
}

// The size of the pixel data when the description holds together; none otherwise.
std::optional<std::uint32_t> imageBytesOf(const DescribedBitmap& bitmap)
{
    if (bitmap.width <= 0 || bitmap.height <= 0 || !supportedDepth(bitmap.bitsPerPixel))
        return std::nullopt;
    const std::size_t rowBytes = bitmapRowBytes(bitmap.width, bitmap.bitsPerPixel);
    const std::size_t height = static_cast<std::size_t>(bitmap.height);
    const std::size_t limit = std::numeric_limits<std::uint32_t>::max() - fileHeaderBytes -
                              bitmapHeaderBytes(bitmap.bitsPerPixel);
    if (rowBytes == 0 || rowBytes > limit / height)
        return std::nullopt;
    if (bitmap.pixels.size() != rowBytes * height)
        return std::nullopt;
    return static_cast<std::uint32_t>(rowBytes * height);
}

} // namespace

std::size_t bitmapRowBytes(int width, int bitsPerPixel)
{
    if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return 0;
    const std::size_t bits =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

std::size_t bitmapHeaderBytes(int bitsPerPixel)
{
    if (bitsPerPixel == 16 || bitsPerPixel == 32)
        return infoHeaderBytes + maskBytes;
    if (bitsPerPixel == 24 || bitsPerPixel <= 0 || bitsPerPixel > 8)
        return infoHeaderBytes;
    return infoHeaderBytes + 4 * (std::size_t{1} << bitsPerPixel);
}

std::string bitmapWriteResultText(const BitmapWriteResult& result)
{
    if (result.error)
        return fileErrorText(*result.error);
    return result.message;
}

BitmapWriteResult writeBitmapFile(const DescribedBitmap* bitmap, const std::string& path)
{
    BitmapWriteResult result;
    if (bitmap == nullptr) {
        result.message = noBitmapToSaveText;
        return result;
    }
    const std::optional<std::uint32_t> imageBytes = imageBytesOf(*bitmap);
    if (!imageBytes) {
        result.message = bitmapNotDescribedText;
        return result;
    }
    try {
        SafeFileWriter writer;
        if (std::optional<FileError> error = writer.open(path)) {
            result.error = std::move(error);
            return result;
        }
        writer.write(headersOf(*bitmap, *imageBytes));
        const std::size_t rowBytes = bitmapRowBytes(bitmap->width, bitmap->bitsPerPixel);
        const char* rows = reinterpret_cast<const char*>(bitmap->pixels.data());
        for (std::size_t row = static_cast<std::size_t>(bitmap->height); row-- > 0;) {
            if (!writer.write(std::string_view(rows + row * rowBytes, rowBytes)))
                break;
        }
        if (std::optional<FileError> error = writer.commit()) {
            result.error = std::move(error);
            return result;
        }
    } catch (const std::bad_alloc&) {
        result.message = pixelBufferFailedText;
        return result;
    }
    result.written = true;
    return result;
}

} // namespace orvane
