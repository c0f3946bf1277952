#include "display/qt/plan_image_files.h"

#include "display/qt/plan_painting.h"
#include "files/safe_file_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSize>
#include <QSvgGenerator>

#include <string_view>

namespace orvane {

namespace {

constexpr const char* svgTitle = "Transponder frequency plan";

std::string writeBytes(const QByteArray& bytes, const std::string& path)
{
    const std::optional<FileError> error = writeFileSafely(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return error ? fileErrorText(*error) : std::string();
}

} // namespace

std::string writeImageAsPng(const QImage& image, const std::string& path)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return "the picture could not be encoded as PNG: " + writer.errorString().toStdString();
    buffer.close();
    return writeBytes(encoded, path);
}

std::string writePlanSvg(const CarrierList& carriers, DisplaySettings& settings,
                         const QSize& clientSize, const std::string& path, const PlanLayers& layers,
                         TextFitting fitting)
{
    QByteArray drawing;
    QBuffer buffer(&drawing);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // At the resolution of a CSS pixel, so that viewers show it at its size in pixels.
    generator.setResolution(96);
    generator.setSize(clientSize);
    generator.setViewBox(QRect(QPoint(0, 0), clientSize));
    generator.setTitle(QString::fromLatin1(svgTitle));
    QPainter painter;
    if (clientSize.isEmpty() || !painter.begin(&generator))
        return noBitmapToSaveText;
    paintPlan(painter, clientSize, settings, carriers, fitting);
    if (layers)
        layers(painter);
    painter.end();
    buffer.close();
    return writeBytes(drawing, path);
}

std::string savePlanPicture(const CarrierList& carriers, DisplaySettings& settings,
                            const QSize& clientSize, const std::string& path, ImageFormat format,
                            const PlanLayers& layers, TextFitting fitting)
{
    if (format == ImageFormat::svg)
        return writePlanSvg(carriers, settings, clientSize, path, layers, fitting);
    QImage image = renderPlanImage(carriers, settings, clientSize, fitting);
    if (layers && !image.isNull()) {
        QPainter painter(&image);
        layers(painter);
    }
    if (format == ImageFormat::png)
        return image.isNull() ? std::string(noBitmapToSaveText) : writeImageAsPng(image, path);
    return bitmapWriteResultText(writeImageAsBitmap(image, path));
}

} // namespace orvane
