#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

#include <optional>

namespace orvane {

// A pixel beside a carrier's shape still finds it up to this far away, so that a carrier a
// pixel or two wide can be pointed at.
inline constexpr int carrierHitTolerancePx = 3;

// The index of the carrier whose shape in the plan's picture at a client size covers the pixel
// (x, y), measured as the picture is drawn: the band from the axis up to the carrier's top, as
// wide as the trapezoid at that height. Where shapes overlap, the one drawn last wins. When no
// shape covers the pixel, the nearest shape within carrierHitTolerancePx across (the last drawn
// of equally near ones) is found. None over empty space or when the view has no scale.
std::optional<int> carrierAtPixel(const CarrierList& carriers, const DisplaySettings& settings,
                                  int clientWidth, int clientHeight, int x, int y);

} // namespace orvane
