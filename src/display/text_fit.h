#pragma once

#include "display/display_settings.h"
#include "model/carrier_list.h"

#include <vector>

namespace orvane {

class DrawingSurface;

// A text of the plan picture and the pixels of its cell (right and bottom excluded).
struct PlacedText {
    enum class Kind { title, axisTitle, label, frequency };
    Kind kind = Kind::title;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where drawPlan puts each text of the plan on a picture of this size, in the fonts of measure,
// which draws nothing here (only its current font changes).
std::vector<PlacedText> placePlanTexts(DrawingSurface& measure, int width, int height,
                                       const DisplaySettings& settings,
                                       const CarrierList& carriers);

// The settings with the picture's fonts made smaller where, at their size, the texts would not
// fit a picture this squat: the title cut at the top or the sides, a carrier label running
// into the title or out at the top, a frequency under the axis running into the axis title or
// out at the bottom. Each font shrinks only as far as its own texts need, to a fifth of its
// size at most; a picture whose texts fit keeps the settings as they are.
DisplaySettings fitTextsToPicture(DrawingSurface& measure, int width, int height,
                                  const DisplaySettings& settings, const CarrierList& carriers);

} // namespace orvane
