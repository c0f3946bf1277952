#pragma once

#include "commands/arrange_model.h"
#include "commands/plan_document.h"
#include "commands/user_interaction.h"
#include "support/c_locale_printf.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

// Answers the commands' questions from a script and logs each call, one line a call in the
// order the calls came, with what it showed.
class ScriptedInteraction : public UserInteraction {
public:
    using Chosen = std::optional<ChosenFile>;
    // Chooser answers, in order; an empty path stands for Cancel.
    std::deque<std::string> chosenPaths;
    std::string folderAfterChoosing; // when set, what a chooser writes back into the folder
    int chosenFilter = 0;            // the file type chosen with each file
    std::function<bool(Carrier&)> carrierDialog = [](Carrier&) { return false; };
    std::optional<int> pickedIndex; // the row picked in the selection dialog, else the preselected
    bool cancelSelection = false;
    std::optional<double> frequencyAnswer;
    // The Arrange Carriers dialog: what the user does in it; true stands for Apply.
    std::function<bool(ArrangeModel&)> arrangeDialog = [](ArrangeModel&) { return false; };
    bool yesNoAnswer = false;
    bool okCancelAnswer = false;
    UnsavedChangesAnswer saveChangesAnswer = UnsavedChangesAnswer::cancel;
    int openResult = 0;
    bool cancelWork = false; // Cancel is pressed on the progress dialog before the work starts
    std::exception_ptr workFailure; // the work ends in this instead of running

    std::string log;

    Chosen chooseCarrierFileToOpen(std::string& f) override { return choose("open", f); }
    Chosen chooseCarrierFileToSave(std::string& f) override { return choose("save", f); }
    Chosen chooseModcodFile(std::string& f) override { return choose("modcod", f); }
    Chosen chooseReportFile(std::string& f) override { return choose("report", f); }
    Chosen chooseAnalysisTableFile(std::string& f) override { return choose("table", f); }
    Chosen chooseAmplifierTableFile(std::string& f) override { return choose("amplifier", f); }
    Chosen chooseImageFile(std::string& f, const std::string& name) override
    {
        return choose("image " + name, f);
    }
    bool editCarrier(Carrier& carrier) override
    {
        const Carrier& c = carrier;
        log +=
            test::printfInCLocale("edit '%s' mode %d at %.9g, %.9g/%.9g, rs %g/%g, eff %.9g\n",
                                  c.label.c_str(), c.calcMode, c.centreFrequencyMhz,
                                  c.rolloffFactor, c.fecRate, c.rsN, c.rsK, c.spectralEfficiency);
        return carrierDialog(carrier);
    }
    std::optional<CarrierPosition>
    selectCarrier(const CarrierList& list, const std::string& caption, const std::string& ok,
                  std::optional<CarrierPosition> preselected) override
    {
        log += "select '" + caption + "' " + ok + " from";
        for (const Carrier& carrier : list)
            log += " " + carrier.label;
        if (preselected)
            log += ", preselected " + std::to_string(list.indexOf(*preselected).value_or(-1));
        log += "\n";
        if (cancelSelection)
            return std::nullopt;
        return pickedIndex ? list.findIndex(*pickedIndex) : preselected;
    }
    std::optional<double> askFrequency(const std::string& caption, double initialMhz) override
    {
        log += test::printfInCLocale("frequency '%s' %.9g\n", caption.c_str(), initialMhz);
        return frequencyAnswer;
    }
    bool arrangeCarriers(ArrangeModel& model) override
    {
        log += "arrange, band " + model.text(ArrangeBox::bandLow) + " to " +
               model.text(ArrangeBox::bandHigh) + ", IP3 '" + model.text(ArrangeBox::ip3) +
               "', guard '" + model.text(ArrangeBox::guard) + "'\n";
        const bool applied = arrangeDialog(model);
        log += "  " + model.status() + (applied ? " Apply\n" : " Cancel\n");
        return applied;
    }
    bool askYesNo(const std::string& text, unsigned helpKey) override
    {
        log += "yes/no '" + text + "' help " + std::to_string(helpKey) + "\n";
        return yesNoAnswer;
    }
    bool askOkCancel(const std::string& text) override
    {
        log += "ok/cancel '" + text + "'\n";
        return okCancelAnswer;
    }
    UnsavedChangesAnswer askToSaveChanges(const std::string& text) override
    {
        log += "save changes '" + text + "'\n";
        return saveChangesAnswer;
    }
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        log += "message '" + caption + "' icon " + std::to_string(static_cast<int>(icon)) + ": " +
               text + "\n";
    }
    int openWithDesktop(const std::string& path) override
    {
        log += "open " + path + "\n";
        return openResult;
    }
    void showSavedButNotOpened(const std::string& text, const std::string& path) override
    {
        log += "saved, not opened, folder of " + path + ": " + text + "\n";
    }
    void beginBusy() override { log += "busy\n"; }
    void endBusy() override { log += "not busy\n"; }
    std::exception_ptr runWithProgress(const std::string& text,
                                       const std::function<void(WorkProgress&)>& work) override
    {
        log += "progress '" + text + "'" + (cancelWork ? ", cancelled\n" : "\n");
        if (workFailure)
            return workFailure;
        WorkProgress progress;
        if (cancelWork)
            progress.requestCancel();
        work(progress);
        return nullptr;
    }

private:
    // Behaves like the real choosers: the folder follows the chosen file.
    Chosen choose(const std::string& kind, std::string& folder)
    {
        const std::string path = chosenPaths.empty() ? "" : chosenPaths.front();
        if (!chosenPaths.empty())
            chosenPaths.pop_front();
        log += "choose " + kind + " in '" + folder + "': " + (path.empty() ? "Cancel" : path) +
               " type " + std::to_string(chosenFilter) + "\n";
        if (path.empty())
            return std::nullopt;
        const auto slash = path.rfind('/');
        folder = !folderAfterChoosing.empty() ? folderAfterChoosing : path.substr(0, slash);
        return ChosenFile{path, chosenFilter};
    }
};

// A carrier of a fixed bandwidth with a roll-off of 1.35.
inline Carrier fixedCarrier(double centreMhz, double bandwidthMhz, const std::string& label,
                            double powerDbw = 20.0)
{
    Carrier carrier;
    carrier.setFixedBandwidth(centreMhz, bandwidthMhz, powerDbw, 1.35);
    carrier.label = label;
    return carrier;
}

// A plan, its user and a transcript of the commands run on them: each command's outcome, the
// user's log and the plan it left. Folders that differ between runs are written by an alias,
// so that the transcript compares with a golden file.
struct CommandScene {
    PlanDocument document;
    ScriptedInteraction user;
    std::string transcript;
    std::vector<std::pair<std::string, std::string>> aliases{{ORVANE_SOURCE_DIR, "$SRC"}};

    CommandScene() { document.applyPlanDefaults(); }
    // The plan, its edges, the view, the file and the history, in a few lines.
    std::string state() const
    {
        const DisplaySettings& view = document.displaySettings;
        const CarrierList& carriers = document.carriers;
        std::string text = "plan";
        for (const Carrier& c : carriers)
            text += test::printfInCLocale(" %s@%.9g/%.9g", c.label.c_str(), c.centreFrequencyMhz,
                                          c.occupiedBandwidthMhz);
        if (!carriers.empty())
            text += test::printfInCLocale(", edges %.9g to %.9g", carriers.lowestEdgeMhz(),
                                          carriers.highestEdgeMhz());
        std::string recent;
        for (const std::string& path : document.recentPlans.paths())
            recent += (recent.empty() ? "recent " : ", ") + path;
        recent += recent.empty() ? "" : "\n";
        text += test::printfInCLocale("\nview '%s' %.9g to %.9g\n", view.titleText.c_str(),
                                      view.viewStartMhz, view.viewStopMhz);
        return text + "file '" + document.carrierFilePath + "', folder '" + document.lastPath +
               "'" + (document.history.changed() ? ", changed" : "") + ", undo '" +
               document.history.undoName().value_or("") + "', redo '" +
               document.history.redoName().value_or("") + "'\n" + recent;
    }
    void step(const std::string& name, CommandOutcome outcome)
    {
        std::string text = "# " + name + (outcome.refreshMenu ? ": refresh menu" : ":") +
                           (outcome.repaint ? ", repaint\n" : "\n") + user.log + state();
        for (const auto& [path, alias] : aliases)
            for (auto at = text.find(path); at != std::string::npos; at = text.find(path, at))
                text.replace(at, path.size(), alias);
        transcript += text;
        user.log.clear();
    }
};

} // namespace orvane::testing
