#pragma once

#include "display/bitmap_file.h"
#include "display/display_settings.h"
#include "model/carrier_list.h"

#include <QImage>
#include <QSize>

#include <optional>
#include <string>

class QPainter;

namespace orvane {

// Whether the picture's texts keep the size the settings give them, or shrink where a squat
// picture would cut or crowd them (fitTextsToPicture), as they do beside the analysis panel.
enum class TextFitting { asSet, toPicture };

// The main window's paint step without its caption: keeps the fonts matched to the client
// width (DisplaySettings::keepFontsForClient), then draws the whole plan onto the painter,
// whose device (a widget or an image) shows a client area of clientSize pixels.
void paintPlan(QPainter& painter, const QSize& clientSize, DisplaySettings& settings,
               const CarrierList& carriers, TextFitting fitting = TextFitting::asSet);

// The picture the window shows at clientSize, drawn by the same paint step into a 32-bit
// image (Format_RGB32). A null image when the size is empty or cannot be allocated.
QImage renderPlanImage(const CarrierList& carriers, DisplaySettings& settings,
                       const QSize& clientSize, TextFitting fitting = TextFitting::asSet);

// An image as a 32-bit bitmap with colour masks (blue, green, red and an unused byte per
// pixel); other image formats are converted first. None for a null image or one that cannot
// be converted or copied.
std::optional<DescribedBitmap> describeImage(const QImage& image);

// Writes an image as a BMP file (see writeBitmapFile). A null image gives
// noBitmapToSaveText, one that cannot be converted scratchBitmapFailedText, and one whose
// pixels cannot be copied pixelBufferFailedText.
BitmapWriteResult writeImageAsBitmap(const QImage& image, const std::string& path);

// The Save Image command's work: the plan drawn off-screen at the client size and written as
// a BMP file.
BitmapWriteResult savePlanImage(const CarrierList& carriers, DisplaySettings& settings,
                                const QSize& clientSize, const std::string& path);

} // namespace orvane
