#include "commands/history_commands.h"

namespace orvane {

void recordPlanChange(PlanDocument& document, const std::string& stepName)
{
    document.history.record(document.carriers, document.displaySettings, stepName);
}

CommandOutcome undoPlanChange(PlanDocument& document)
{
    if (!document.history.undo(document.carriers, document.displaySettings))
        return {};
    return {true, true};
}

CommandOutcome redoPlanChange(PlanDocument& document)
{
    if (!document.history.redo(document.carriers, document.displaySettings))
        return {};
    return {true, true};
}

std::string undoMenuText(const PlanHistory& history)
{
    const auto name = history.undoName();
    return name ? "&Undo " + *name : "&Undo";
}

std::string redoMenuText(const PlanHistory& history)
{
    const auto name = history.redoName();
    return name ? "&Redo " + *name : "&Redo";
}

} // namespace orvane
