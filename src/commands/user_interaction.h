#pragma once

#include "model/carrier_list.h"
#include "model/work_progress.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace orvane {

class ArrangeModel;

enum class MessageIcon { none, information, warning, error, question };

// A file the user chose: the full path and which of the chooser's file types was selected
// (0 for the first).
struct ChosenFile {
    std::string path;
    int filterIndex = 0;
};

enum class UnsavedChangesAnswer { save, discard, cancel };

// Everything a command asks of the user. The desktop program answers with real dialogs; tests
// answer with a scripted substitute. Folders are in/out: a chooser opens in the folder given
// (when not empty) and, on OK, sets it to the chosen file's folder.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    virtual std::optional<ChosenFile> chooseCarrierFileToOpen(std::string& folder) = 0;
    virtual std::optional<ChosenFile> chooseCarrierFileToSave(std::string& folder) = 0;
    virtual std::optional<ChosenFile> chooseModcodFile(std::string& folder) = 0;
    virtual std::optional<ChosenFile> chooseImageFile(std::string& folder,
                                                      const std::string& suggestedName) = 0;
    virtual std::optional<ChosenFile> chooseReportFile(std::string& folder) = 0;
    // For the intermodulation panel's table as CSV.
    virtual std::optional<ChosenFile> chooseAnalysisTableFile(std::string& folder) = 0;
    // For a measured amplifier curve (CSV) to open.
    virtual std::optional<ChosenFile> chooseAmplifierTableFile(std::string& folder) = 0;

    // Shows the carrier dialog of the carrier's calcMode (0 fixed, 2 spectral efficiency,
    // any other FEC and modulation); true on OK, with carrier rebuilt from the entries.
    virtual bool editCarrier(Carrier& carrier) = 0;
    // The selection dialog, with preselected (when given) already picked; the chosen place, or
    // none (Cancel, or OK without a pick).
    virtual std::optional<CarrierPosition>
    selectCarrier(const CarrierList& list, const std::string& caption,
                  const std::string& okButtonText, std::optional<CarrierPosition> preselected) = 0;
    // The frequency entry dialog; the value on OK.
    virtual std::optional<double> askFrequency(const std::string& caption, double initialMhz) = 0;
    // The Arrange Carriers dialog over the model, which runs the placement as often as the user
    // asks; true on Apply (the model then holds the proposal), false on Cancel.
    virtual bool arrangeCarriers(ArrangeModel& model) = 0;

    // A Yes/No question with a question-mark icon; helpKey is what F1 asks for (0: none).
    virtual bool askYesNo(const std::string& text, unsigned helpKey) = 0;
    // An OK/Cancel question with a question-mark icon.
    virtual bool askOkCancel(const std::string& text) = 0;
    // A Save/Discard/Cancel question about a plan with unsaved changes.
    virtual UnsavedChangesAnswer askToSaveChanges(const std::string& text) = 0;
    // A message box with an OK button.
    virtual void showMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;

    // Opens a file with the desktop's associated application; 0 on success, else a failure
    // code for openErrorText (31 when the desktop gives no cause).
    virtual int openWithDesktop(const std::string& path) = 0;
    // A file was saved but not shown: the text, with OK and an Open Folder button that opens
    // the folder holding the file.
    virtual void showSavedButNotOpened(const std::string& text, const std::string& path) = 0;

    // The busy cursor, shown between begin and end.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;

    // Runs work away from the user interface, which goes on drawing meanwhile; when it takes
    // longer than about a second, a progress dialog with this text shows how far it got and
    // offers Cancel, which asks the work to stop through its progress. Returns when the work
    // has returned: null, or the exception it ended in (it never ends the program).
    virtual std::exception_ptr runWithProgress(const std::string& text,
                                               const std::function<void(WorkProgress&)>& work) = 0;
};

} // namespace orvane
