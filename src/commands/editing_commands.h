#pragma once

#include "commands/plan_document.h"
#include "commands/user_interaction.h"

namespace orvane {

// The Edit menu's commands and View's Fit Carriers, over the main window's state. Each asks
// the user through interaction and says what the window must refresh afterwards.
CommandOutcome addFixedCarrier(PlanDocument& document, UserInteraction& interaction);
CommandOutcome addFecCarrier(PlanDocument& document, UserInteraction& interaction);
CommandOutcome addSpectralCarrier(PlanDocument& document, UserInteraction& interaction);
CommandOutcome addModcodCarrier(PlanDocument& document, UserInteraction& interaction);
CommandOutcome modifyCarrier(PlanDocument& document, UserInteraction& interaction);
// Modify without the selection dialog: the carrier with this F-number, counting in frequency
// order as the intermodulation report and analysis do (the plan is sorted as for Modify).
CommandOutcome modifyCarrierNumber(PlanDocument& document, UserInteraction& interaction,
                                   int fNumber);
CommandOutcome deleteCarrier(PlanDocument& document, UserInteraction& interaction);
// Editing on the plot: the carrier at an index straight into its dialog (a double-click), or
// the Delete command with that carrier marked in its selection dialog (the Delete key). An
// index outside the plan does nothing.
CommandOutcome modifyCarrierAt(PlanDocument& document, UserInteraction& interaction, int index);
CommandOutcome deleteCarrierAt(PlanDocument& document, UserInteraction& interaction, int index);
CommandOutcome clearAll(PlanDocument& document, UserInteraction& interaction);
CommandOutcome fitCarriers(PlanDocument& document);
CommandOutcome scrunchCarriers(PlanDocument& document, UserInteraction& interaction);
CommandOutcome shiftCarriers(PlanDocument& document, UserInteraction& interaction);

// Offers to widen the view when the carrier's occupied band is not inside it.
void checkViewRange(PlanDocument& document, UserInteraction& interaction, const Carrier& carrier);
// The same for the stretch from lowerMhz to upperMhz (the outer edges of several carriers).
void checkViewRange(PlanDocument& document, UserInteraction& interaction, double lowerMhz,
                    double upperMhz);

} // namespace orvane
