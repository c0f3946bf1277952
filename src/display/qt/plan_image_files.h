#pragma once

#include "display/display_settings.h"
#include "display/image_format.h"
#include "display/qt/plan_painting.h"
#include "model/carrier_list.h"

#include <functional>
#include <string>

class QImage;
class QPainter;
class QSize;

namespace orvane {

// Each writes through a temporary file (a failed write leaves any earlier file as it was) and
// answers the text to show when it failed, else an empty text.

// What is drawn over the plan once it is painted (none: the plan alone).
using PlanLayers = std::function<void(QPainter&)>;

// An image as a PNG file.
std::string writeImageAsPng(const QImage& image, const std::string& path);

// The plan drawn at the client size as an SVG drawing, every text a text element.
std::string writePlanSvg(const CarrierList& carriers, DisplaySettings& settings,
                         const QSize& clientSize, const std::string& path,
                         const PlanLayers& layers = {}, TextFitting fitting = TextFitting::asSet);

// The picture of the plan at the client size in a format; BMP as savePlanImage writes it.
std::string savePlanPicture(const CarrierList& carriers, DisplaySettings& settings,
                            const QSize& clientSize, const std::string& path, ImageFormat format,
                            const PlanLayers& layers = {},
                            TextFitting fitting = TextFitting::asSet);

} // namespace orvane
