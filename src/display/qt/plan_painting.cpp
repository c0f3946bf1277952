#include "display/qt/plan_painting.h"

#include "display/plan_drawing.h"
#include "display/plot_frame.h"
#include "display/qt/painter_surface.h"
#include "display/text_fit.h"

#include <QPainter>
#include <QtEndian>

#include <cstring>
#include <new>

namespace orvane {

void paintPlan(QPainter& painter, const QSize& clientSize, DisplaySettings& settings,
               const CarrierList& carriers, TextFitting fitting)
{
    PainterSurface surface(painter);
    PlotFrame frame(surface, clientSize.width(), clientSize.height());
    const PixelRect clientRect{0, 0, clientSize.width(), clientSize.height()};
    settings.keepFontsForClient(frame, clientRect);
    if (fitting == TextFitting::asSet) {
        drawPlan(frame, clientRect, settings, carriers);
        return;
    }
    const DisplaySettings fitted =
        fitTextsToPicture(surface, clientSize.width(), clientSize.height(), settings, carriers);
    drawPlan(frame, clientRect, fitted, carriers);
}

QImage renderPlanImage(const CarrierList& carriers, DisplaySettings& settings,
                       const QSize& clientSize, TextFitting fitting)
{
    if (clientSize.isEmpty())
        return QImage();
    QImage image(clientSize, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    paintPlan(painter, clientSize, settings, carriers, fitting);
    painter.end();
    return image;
}

std::optional<DescribedBitmap> describeImage(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        return std::nullopt;
    try {
        DescribedBitmap bitmap;
        bitmap.width = pixels.width();
        bitmap.height = pixels.height();
        bitmap.bitsPerPixel = 32;
        bitmap.compression = bitmapColourMasks;
        bitmap.colourMasks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
        const std::size_t rowBytes = bitmapRowBytes(bitmap.width, 32);
        bitmap.pixels.resize(rowBytes * static_cast<std::size_t>(bitmap.height));
        for (int row = 0; row < bitmap.height; ++row) {
            std::uint8_t* target = bitmap.pixels.data() + static_cast<std::size_t>(row) * rowBytes;
            const auto* source = reinterpret_cast<const quint32*>(pixels.constScanLine(row));
            if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
                std::memcpy(target, source, rowBytes);
            } else {
                for (int column = 0; column < bitmap.width; ++column)
                    qToLittleEndian(source[column], target + 4 * column);
            }
        }
        return bitmap;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

BitmapWriteResult writeImageAsBitmap(const QImage& image, const std::string& path)
{
    if (image.isNull())
        return writeBitmapFile(nullptr, path);
    BitmapWriteResult result;
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) {
        result.message = scratchBitmapFailedText;
        return result;
    }
    const std::optional<DescribedBitmap> bitmap = describeImage(pixels);
    if (!bitmap) {
        result.message = pixelBufferFailedText;
        return result;
    }
    return writeBitmapFile(&*bitmap, path);
}

BitmapWriteResult savePlanImage(const CarrierList& carriers, DisplaySettings& settings,
                                const QSize& clientSize, const std::string& path)
{
    return writeImageAsBitmap(renderPlanImage(carriers, settings, clientSize), path);
}

} // namespace orvane
