#pragma once

#include "app/user_interaction.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// Answers a command's questions from a script and records what it was asked.
class ScriptedInteraction : public UserInteraction {
public:
    struct Selection {
        std::vector<Carrier> listed; // the list's carriers as the dialog showed them
        std::string caption;
        std::string okButtonText;
    };
    struct Question {
        std::string text;
        unsigned helpKey = 0;
    };
    struct FrequencyRequest {
        std::string caption;
        double initialMhz = 0.0;
    };
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon = MessageIcon::none;
    };

    // Scripted answers.
    std::optional<ChosenFile> modcodFile;
    std::string folderAfterChoosing; // what the chooser writes back into the folder
    std::function<bool(Carrier&)> carrierDialog = [](Carrier&) { return false; };
    std::optional<int> pickedIndex; // the row picked in the selection dialog
    std::optional<double> frequencyAnswer;
    bool yesNoAnswer = false;
    bool okCancelAnswer = false;

    // What was asked.
    std::vector<std::string> modcodFolders;
    std::vector<Carrier> editedCarriers; // each carrier as handed to a carrier dialog
    std::vector<Selection> selections;
    std::vector<FrequencyRequest> frequencyRequests;
    std::vector<Question> yesNoQuestions;
    std::vector<std::string> okCancelQuestions;
    std::vector<Message> messages;

    std::optional<ChosenFile> chooseCarrierFileToOpen(std::string&) override { return {}; }
    std::optional<ChosenFile> chooseCarrierFileToSave(std::string&) override { return {}; }
    std::optional<ChosenFile> chooseModcodFile(std::string& folder) override;
    std::optional<ChosenFile> chooseImageFile(std::string&, const std::string&) override
    {
        return {};
    }
    std::optional<ChosenFile> chooseReportFile(std::string&) override { return {}; }
    bool editCarrier(Carrier& carrier) override;
    std::optional<CarrierPosition> selectCarrier(const CarrierList& list,
                                                 const std::string& caption,
                                                 const std::string& okButtonText) override;
    std::optional<double> askFrequency(const std::string& caption, double initialMhz) override;
    bool askYesNo(const std::string& text, unsigned helpKey) override;
    bool askOkCancel(const std::string& text) override;
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    int openWithDesktop(const std::string&) override { return 0; }
    void beginBusy() override {}
    void endBusy() override {}
};

} // namespace orvane::test
