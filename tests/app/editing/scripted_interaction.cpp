#include "scripted_interaction.h"

namespace orvane::test {

std::optional<ChosenFile> ScriptedInteraction::chooseModcodFile(std::string& folder)
{
    modcodFolders.push_back(folder);
    if (modcodFile)
        folder = folderAfterChoosing;
    return modcodFile;
}

bool ScriptedInteraction::editCarrier(Carrier& carrier)
{
    editedCarriers.push_back(carrier);
    return carrierDialog(carrier);
}

std::optional<CarrierPosition> ScriptedInteraction::selectCarrier(const CarrierList& list,
                                                                  const std::string& caption,
                                                                  const std::string& okButtonText)
{
    selections.push_back({{list.begin(), list.end()}, caption, okButtonText});
    if (!pickedIndex)
        return std::nullopt;
    return list.findIndex(*pickedIndex);
}

std::optional<double> ScriptedInteraction::askFrequency(const std::string& caption,
                                                        double initialMhz)
{
    frequencyRequests.push_back({caption, initialMhz});
    return frequencyAnswer;
}

bool ScriptedInteraction::askYesNo(const std::string& text, unsigned helpKey)
{
    yesNoQuestions.push_back({text, helpKey});
    return yesNoAnswer;
}

bool ScriptedInteraction::askOkCancel(const std::string& text)
{
    okCancelQuestions.push_back(text);
    return okCancelAnswer;
}

void ScriptedInteraction::showMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon)
{
    messages.push_back({text, caption, icon});
}

} // namespace orvane::test
