#pragma once

#include "app/user_interaction.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

// Answers the commands' questions from a script and records what they showed.
class ScriptedInteraction : public UserInteraction {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    struct Selection {
        std::vector<Carrier> listed; // the list's carriers as the dialog showed them
        std::string caption;
        std::optional<int> preselectedIndex;
    };

    // Chooser answers, in order; an empty path stands for Cancel.
    std::deque<std::string> chosenPaths;
    std::string folderAfterChoosing; // when set, what a chooser writes back into the folder
    int chosenFilter = 0;            // the file type chosen with each file
    std::function<bool(Carrier&)> carrierDialog = [](Carrier&) { return false; };
    std::optional<int> pickedIndex; // the row picked in the selection dialog, else the preselected
    bool cancelSelection = false;
    std::optional<double> frequencyAnswer;
    bool yesNoAnswer = false;
    bool okCancelAnswer = false;
    UnsavedChangesAnswer saveChangesAnswer = UnsavedChangesAnswer::cancel;
    int openResult = 0;
    bool cancelWork = false; // Cancel is pressed on the progress dialog before the work starts

    std::vector<Carrier> editedCarriers; // each carrier as handed to a carrier dialog
    std::vector<Selection> selections;
    std::vector<double> frequencyOffers; // the initial value of each frequency entry
    std::vector<unsigned> yesNoHelpKeys; // one for each Yes/No question
    int okCancelQuestions = 0;
    int saveChangesQuestions = 0;
    std::vector<std::string> chooserFolders; // the folder each chooser opened in
    std::vector<std::string> suggestedNames; // image chooser suggestions
    std::vector<Message> messages;
    std::vector<std::string> openedPaths;
    int busyDepth = 0;
    int busyCount = 0;

    std::optional<ChosenFile> chooseCarrierFileToOpen(std::string& f) override { return choose(f); }
    std::optional<ChosenFile> chooseCarrierFileToSave(std::string& f) override { return choose(f); }
    std::optional<ChosenFile> chooseModcodFile(std::string& f) override { return choose(f); }
    std::optional<ChosenFile> chooseReportFile(std::string& f) override { return choose(f); }
    std::optional<ChosenFile> chooseImageFile(std::string& f, const std::string& name) override
    {
        suggestedNames.push_back(name);
        return choose(f);
    }
    bool editCarrier(Carrier& carrier) override
    {
        editedCarriers.push_back(carrier);
        return carrierDialog(carrier);
    }
    std::optional<CarrierPosition>
    selectCarrier(const CarrierList& list, const std::string& caption, const std::string&,
                  std::optional<CarrierPosition> preselected) override
    {
        selections.push_back({{list.begin(), list.end()},
                              caption,
                              preselected ? list.indexOf(*preselected) : std::nullopt});
        if (cancelSelection)
            return std::nullopt;
        return pickedIndex ? list.findIndex(*pickedIndex) : preselected;
    }
    std::optional<double> askFrequency(const std::string&, double initialMhz) override
    {
        frequencyOffers.push_back(initialMhz);
        return frequencyAnswer;
    }
    bool askYesNo(const std::string&, unsigned helpKey) override
    {
        yesNoHelpKeys.push_back(helpKey);
        return yesNoAnswer;
    }
    bool askOkCancel(const std::string&) override { return ++okCancelQuestions, okCancelAnswer; }
    UnsavedChangesAnswer askToSaveChanges(const std::string&) override
    {
        return ++saveChangesQuestions, saveChangesAnswer;
    }
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        messages.push_back({text, caption, icon});
    }
    int openWithDesktop(const std::string& path) override
    {
        openedPaths.push_back(path);
        return openResult;
    }
    void beginBusy() override { ++busyDepth, ++busyCount; }
    void endBusy() override { --busyDepth; }
    void runWithProgress(const std::string&,
                         const std::function<void(WorkProgress&)>& work) override
    {
        WorkProgress progress;
        if (cancelWork)
            progress.requestCancel();
        work(progress);
    }

private:
    // Behaves like the real choosers: the folder follows the chosen file.
    std::optional<ChosenFile> choose(std::string& folder)
    {
        chooserFolders.push_back(folder);
        const std::string path = chosenPaths.empty() ? "" : chosenPaths.front();
        if (!chosenPaths.empty())
            chosenPaths.pop_front();
        if (path.empty())
            return std::nullopt;
        const auto slash = path.rfind('/');
        folder = !folderAfterChoosing.empty() ? folderAfterChoosing : path.substr(0, slash);
        return ChosenFile{path, chosenFilter};
    }
};

} // namespace orvane::testing
