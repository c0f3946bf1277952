#pragma once

#include "commands/plan_document.h"
#include "display/image_format.h"

#include <string>

class QImage;
class QPainter;
class QSize;

namespace orvane {

// The paint step apart from the caption: the fonts kept at the client width, then the plan.
void paintPlanPicture(QPainter& painter, PlanDocument& document, const QSize& clientSize);

// The picture of the plan at a client size, as the window shows it.
QImage planImage(PlanDocument& document, const QSize& clientSize);

// Writes the picture at the client size as a BMP file; the text to show when it failed.
std::string writePlanBitmap(PlanDocument& document, const QSize& clientSize,
                            const std::string& path);
// The same in any image format (BMP as writePlanBitmap writes it).
std::string writePlanPicture(PlanDocument& document, const QSize& clientSize,
                             const std::string& path, ImageFormat format);

} // namespace orvane
