#pragma once

#include "commands/plan_history.h"
#include "commands/recent_plans.h"
#include "display/display_settings.h"
#include "display/intermod_overlay.h"
#include "model/carrier_list.h"

#include <memory>
#include <string>

namespace orvane {

// What the main window owns for the whole run: the plan, the picture's settings and the
// paths the commands share.
struct PlanDocument {
    CarrierList carriers;
    DisplaySettings displaySettings;
    std::string carrierFilePath;  // carrier file last loaded or saved; empty when none
    std::string lastPath;         // folder last used by a file chooser; kept between runs
    std::string programDirectory; // the executable's folder
    std::string defaultTitle = "Transponder Frequency Plan";
    // Drawn over the plan while the intermodulation analysis is shown; none otherwise.
    std::shared_ptr<const IntermodOverlay> intermodOverlay;
    // While the analysis panel takes room from the picture, its texts shrink where they would
    // not fit; otherwise they keep the size the fonts give them.
    bool fitPictureTexts = false;
    PlanHistory history;     // undo and redo, and whether the plan has unsaved changes
    RecentPlans recentPlans; // kept between runs

    // The start-up state of a plan (also after Clear All): default title, view 5850 to
    // 6425 MHz, no carrier file.
    void applyPlanDefaults()
    {
        displaySettings.titleText = defaultTitle;
        displaySettings.viewStartMhz = 5850.0;
        displaySettings.viewStopMhz = 6425.0;
        carrierFilePath.clear();
    }
};

// What a command asks of the main window when it is done.
struct CommandOutcome {
    bool refreshMenu = false; // updateMenuState
    bool repaint = false;     // redraw the plan
};

} // namespace orvane
