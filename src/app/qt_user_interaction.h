#pragma once

#include "commands/user_interaction.h"

class QWidget;

namespace orvane {

// The desktop program's answers: Qt file choosers, the carrier dialogs, message boxes, the
// desktop's opener and the busy cursor.
class QtUserInteraction : public UserInteraction {
public:
    // Work shown with runWithProgress gets a progress dialog after progressDelayMs.
    explicit QtUserInteraction(QWidget* parent, int progressDelayMs = 1000);

    std::optional<ChosenFile> chooseCarrierFileToOpen(std::string& folder) override;
    std::optional<ChosenFile> chooseCarrierFileToSave(std::string& folder) override;
    std::optional<ChosenFile> chooseModcodFile(std::string& folder) override;
    std::optional<ChosenFile> chooseImageFile(std::string& folder,
                                              const std::string& suggestedName) override;
    std::optional<ChosenFile> chooseReportFile(std::string& folder) override;
    std::optional<ChosenFile> chooseAnalysisTableFile(std::string& folder) override;
    std::optional<ChosenFile> chooseAmplifierTableFile(std::string& folder) override;

    bool editCarrier(Carrier& carrier) override;
    std::optional<CarrierPosition>
    selectCarrier(const CarrierList& list, const std::string& caption,
                  const std::string& okButtonText,
                  std::optional<CarrierPosition> preselected) override;
    std::optional<double> askFrequency(const std::string& caption, double initialMhz) override;
    bool arrangeCarriers(ArrangeModel& model) override;

    bool askYesNo(const std::string& text, unsigned helpKey) override;
    bool askOkCancel(const std::string& text) override;
    UnsavedChangesAnswer askToSaveChanges(const std::string& text) override;
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;

    int openWithDesktop(const std::string& path) override;
    void showSavedButNotOpened(const std::string& text, const std::string& path) override;

    void beginBusy() override;
    void endBusy() override;
    std::exception_ptr runWithProgress(const std::string& text,
                                       const std::function<void(WorkProgress&)>& work) override;

private:
    QWidget* parent_;
    int progressDelayMs_;
};

} // namespace orvane
