#pragma once

#include "amplifier/amplifier_table.h"
#include "commands/intermod_panel_model.h"
#include "commands/plan_document.h"
#include "commands/user_interaction.h"
#include "display/image_format.h"
#include "model/program_identity.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// Before the plan is replaced or the program ends: a plan with unsaved changes is offered to
// be saved first (Save runs Save Carriers). True when the caller may go on: nothing to lose,
// Discard, or a save that went through; false on Cancel or a save that did not happen.
bool settleUnsavedChanges(PlanDocument& document, UserInteraction& interaction);

// The status bar's account of the plan: its file's name (or "New plan" before it has one) and
// "(modified)" while it has changes not saved.
std::string planStatusText(const PlanDocument& document);

// The File menu's commands over the main window's state. Each asks the user through
// interaction and says what the window must refresh afterwards.
CommandOutcome loadCarriers(PlanDocument& document, UserInteraction& interaction);
// Load Carriers after the chooser: also used for a file named on the command line.
CommandOutcome loadCarriersFrom(PlanDocument& document, UserInteraction& interaction,
                                const std::string& path);
CommandOutcome saveCarriers(PlanDocument& document, UserInteraction& interaction);
// Load Carriers of a file chosen without the chooser (dropped on the window): the unsaved
// changes question first.
CommandOutcome openCarrierFile(PlanDocument& document, UserInteraction& interaction,
                               const std::string& path);
// An entry of File > Recent Plans: a file that is gone leaves the list with a message.
CommandOutcome openRecentPlan(PlanDocument& document, UserInteraction& interaction,
                              const std::string& path);

// The format an image is saved in: the one its extension names, else the one of the file type
// chosen in the image chooser (BMP, PNG, SVG in the chooser's order).
ImageFormat imageFormatFor(const ChosenFile& chosen);
// Writes the picture of the plan in a format; the text to show when it failed, else empty.
using PlanImageWriter = std::function<std::string(const std::string& path, ImageFormat format)>;
CommandOutcome saveImage(PlanDocument& document, UserInteraction& interaction,
                         const PlanImageWriter& writeImage);
// The name the image chooser suggests: the carrier file's name with ".bmp" added.
std::string suggestedImageName(const std::string& carrierFilePath);

// Save Intermod Report: the report of the plan, then the file shown by the desktop's viewer.
// The plan takes the order the report numbers the carriers in, which is no change of its own.
CommandOutcome saveReport(PlanDocument& document, UserInteraction& interaction);
// What the user is told when a report was saved but the desktop could not show it (the
// failure code of UserInteraction::openWithDesktop).
std::string reportNotShownText(const std::string& path, int openCode);

// The measured amplifier curve the analysis panel simulates: the file chosen and what was read
// from it. A file that holds no usable curve is named to the user with its problem; the panel
// shows it too.
struct ChosenAmplifierTable {
    std::string path;
    AmplifierTableRead read;
};
std::optional<ChosenAmplifierTable> chooseAmplifierTable(PlanDocument& document,
                                                         UserInteraction& interaction);

// The intermodulation panel's Save as CSV...: the table shown with the plan's title, the
// analysis's inputs and dateText in its leading comment lines. A name typed without an
// extension gets ".csv".
CommandOutcome saveAnalysisTable(PlanDocument& document, UserInteraction& interaction,
                                 const IntermodPanelModel& panel, const std::string& dateText);

} // namespace orvane
