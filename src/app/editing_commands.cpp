#include "app/editing_commands.h"

// Placeholder until the editing commands land.
namespace orvane {

CommandOutcome addFixedCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome addFecCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome addSpectralCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome addModcodCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome modifyCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome deleteCarrier(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome clearAll(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome fitCarriers(PlanDocument&) { return {}; }
CommandOutcome scrunchCarriers(PlanDocument&, UserInteraction&) { return {}; }
CommandOutcome shiftCarriers(PlanDocument&, UserInteraction&) { return {}; }
void checkViewRange(PlanDocument&, UserInteraction&, const Carrier&) {}

}  // namespace orvane
