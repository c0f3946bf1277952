#pragma once

#include "commands/plan_document.h"

#include <string>

namespace orvane {

// Records the plan as a command left it, under the command's name; nothing when the command
// changed nothing.
void recordPlanChange(PlanDocument& document, const std::string& stepName);

// The Edit menu's Undo and Redo: the plan, its title and view as before (after) the change.
CommandOutcome undoPlanChange(PlanDocument& document);
CommandOutcome redoPlanChange(PlanDocument& document);

// The menu texts of Undo and Redo, naming the change ("Undo Delete Carrier"), or the plain
// word when there is nothing to undo or redo.
std::string undoMenuText(const PlanHistory& history);
std::string redoMenuText(const PlanHistory& history);

} // namespace orvane
