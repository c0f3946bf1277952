#pragma once

#include "commands/plan_document.h"
#include "commands/user_interaction.h"

#include <string>

namespace orvane {

// Edit > Arrange Carriers: the placement's dialog over the plan, with the band starting as the
// view range and IP3 and guard as the analysis panel's boxes hold them. Apply puts the
// proposal in the plan as one step to undo, offering to widen the view when the band reaches
// beyond it; Cancel changes nothing. A plan the placement cannot take whatever the entries
// (fewer than two carriers, too many) is refused at once in the placement's words.
CommandOutcome arrangeCarriers(PlanDocument& document, UserInteraction& interaction,
                               const std::string& ip3Text, const std::string& guardText);

} // namespace orvane
