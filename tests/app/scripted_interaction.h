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
        std::string okButtonText;
        std::optional<int> preselectedIndex;
    };
    struct Question {
        std::string text;
        unsigned helpKey = 0;
    };
    struct FrequencyRequest {
        std::string caption;
        double initialMhz = 0.0;
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

    std::vector<Carrier> editedCarriers; // each carrier as handed to a carrier dialog
    std::vector<Selection> selections;
    std::vector<FrequencyRequest> frequencyRequests;
    std::vector<Question> yesNoQuestions;
    std::vector<std::string> okCancelQuestions;
    std::vector<std::string> saveChangesQuestions;
    std::vector<std::string> chooserFolders; // the folder each chooser opened in
    std::vector<std::string> suggestedNames; // image chooser suggestions
    std::vector<Message> messages;
    std::vector<std::string> openedPaths;
    int openResult = 0;
    bool cancelWork = false; // Cancel is pressed on the progress dialog before the work starts
    std::vector<std::string> progressTexts;
    int busyDepth = 0;
    int busyCount = 0;

    std::optional<ChosenFile> chooseCarrierFileToOpen(std::string& folder) override
    {
        return choose(folder);
    }
    std::optional<ChosenFile> chooseCarrierFileToSave(std::string& folder) override
    {
        return choose(folder);
    }
    std::optional<ChosenFile> chooseModcodFile(std::string& folder) override
    {
        return choose(folder);
    }
    std::optional<ChosenFile> chooseImageFile(std::string& folder,
                                              const std::string& suggestedName) override
    {
        suggestedNames.push_back(suggestedName);
        return choose(folder);
    }
    std::optional<ChosenFile> chooseReportFile(std::string& folder) override
    {
        return choose(folder);
    }

    bool editCarrier(Carrier& carrier) override
    {
        editedCarriers.push_back(carrier);
        return carrierDialog(carrier);
    }
    std::optional<CarrierPosition>
    selectCarrier(const CarrierList& list, const std::string& caption,
                  const std::string& okButtonText,
                  std::optional<CarrierPosition> preselected) override
    {
        selections.push_back({{list.begin(), list.end()},
                              caption,
                              okButtonText,
                              preselected ? list.indexOf(*preselected) : std::nullopt});
        if (cancelSelection)
            return std::nullopt;
        if (pickedIndex)
            return list.findIndex(*pickedIndex);
        return preselected;
    }
    std::optional<double> askFrequency(const std::string& caption, double initialMhz) override
    {
        frequencyRequests.push_back({caption, initialMhz});
        return frequencyAnswer;
    }
    bool askYesNo(const std::string& text, unsigned helpKey) override
    {
        yesNoQuestions.push_back({text, helpKey});
        return yesNoAnswer;
    }
    bool askOkCancel(const std::string& text) override
    {
        okCancelQuestions.push_back(text);
        return okCancelAnswer;
    }

    UnsavedChangesAnswer askToSaveChanges(const std::string& text) override
    {
        saveChangesQuestions.push_back(text);
        return saveChangesAnswer;
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
    void beginBusy() override
    {
        ++busyDepth;
        ++busyCount;
    }
    void endBusy() override { --busyDepth; }
    void runWithProgress(const std::string& text,
                         const std::function<void(WorkProgress&)>& work) override
    {
        progressTexts.push_back(text);
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
        if (chosenPaths.empty())
            return std::nullopt;
        const std::string path = chosenPaths.front();
        chosenPaths.pop_front();
        if (path.empty())
            return std::nullopt;
        const auto slash = path.rfind('/');
        folder = !folderAfterChoosing.empty() ? folderAfterChoosing
                 : slash == std::string::npos ? std::string()
                                              : path.substr(0, slash);
        return ChosenFile{path, chosenFilter};
    }
};

} // namespace orvane::testing
