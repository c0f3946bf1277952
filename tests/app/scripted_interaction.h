#pragma once

#include "app/user_interaction.h"

#include <deque>
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

    // Chooser answers, in order; an empty path stands for Cancel.
    std::deque<std::string> chosenPaths;
    std::vector<std::string> chooserFolders; // the folder each chooser opened in
    std::vector<std::string> suggestedNames; // image chooser suggestions
    std::vector<Message> messages;
    std::vector<std::string> openedPaths;
    int openResult = 0;
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

    bool editCarrier(Carrier&) override { return false; }
    std::optional<CarrierPosition> selectCarrier(const CarrierList&, const std::string&,
                                                 const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<double> askFrequency(const std::string&, double) override { return std::nullopt; }
    bool askYesNo(const std::string&, unsigned) override { return false; }
    bool askOkCancel(const std::string&) override { return false; }

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
        folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
        const auto dot = path.rfind('.');
        ChosenFile chosen{path, {}};
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            chosen.extension = path.substr(dot + 1);
        return chosen;
    }
};

} // namespace orvane::testing
