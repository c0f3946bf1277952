#pragma once

#include "app/plan_document.h"
#include "app/user_interaction.h"

#include <functional>
#include <string>

namespace orvane {

// Caption of the program's own message boxes.
inline constexpr const char* programCaption = "Orvane";

// The File menu's commands over the main window's state. Each asks the user through
// interaction and says what the window must refresh afterwards.
CommandOutcome loadCarriers(PlanDocument& document, UserInteraction& interaction);
// Load Carriers after the chooser: also used for a file named on the command line.
CommandOutcome loadCarriersFrom(PlanDocument& document, UserInteraction& interaction,
                                const std::string& path);
CommandOutcome saveCarriers(PlanDocument& document, UserInteraction& interaction);

// Writes the picture of the plan to a BMP file; the text to show when it failed, else empty.
using PlanImageWriter = std::function<std::string(const std::string& path)>;
CommandOutcome saveImage(PlanDocument& document, UserInteraction& interaction,
                         const PlanImageWriter& writeImage);
// The name the image chooser suggests: the carrier file's name with ".bmp" added.
std::string suggestedImageName(const std::string& carrierFilePath);

CommandOutcome saveReport(PlanDocument& document, UserInteraction& interaction);

} // namespace orvane
