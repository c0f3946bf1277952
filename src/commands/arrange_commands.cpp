#include "commands/arrange_commands.h"

#include "commands/arrange_model.h"
#include "commands/editing_commands.h"
#include "commands/history_commands.h"
#include "model/program_identity.h"
#include "placement/placement.h"

namespace orvane {

CommandOutcome arrangeCarriers(PlanDocument& document, UserInteraction& interaction,
                               const std::string& ip3Text, const std::string& guardText)
{
    const CarrierList& plan = document.carriers;
    if (const std::optional<PlacementRefusal> refusal = placementCountRefusal(plan)) {
        interaction.showMessage(refusal->text, programCaption, MessageIcon::information);
        return {};
    }
    ArrangeModel model(plan, document.displaySettings, ip3Text, guardText);
    if (!interaction.arrangeCarriers(model) || !model.proposal())
        return {};
    document.carriers = *model.proposal();
    checkViewRange(document, interaction, document.carriers.lowestEdgeMhz(),
                   document.carriers.highestEdgeMhz());
    recordPlanChange(document, "Arrange Carriers");
    return {true, true};
}

} // namespace orvane
