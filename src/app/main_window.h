#pragma once

#include "app/qt_user_interaction.h"
#include "commands/plan_document.h"

#include <QIcon>
#include <QMainWindow>
#include <QPixmap>

#include <map>
#include <string>
#include <vector>

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;

namespace orvane {

class IntermodPanel;
class PlanView;

// Every menu command of the main window.
enum class MenuCommand {
    loadCarriers,
    saveCarriers,
    saveImage,
    saveReport,
    exit,
    undo,
    redo,
    addFixed,
    addFec,
    addSpectral,
    addModcod,
    modifyCarrier,
    deleteCarrier,
    scrunchCarriers,
    shiftCarriers,
    arrangeCarriers,
    clearAll,
    fitCarriers,
    defaultFonts,
    options,
    help,
    licence,
    about,
    analysisUnderPlan,
};

// The program's one top-level window: the menu bar over the plan view. It owns the plan and
// the picture's settings for the whole run and writes the last-used folder when destroyed.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const std::string& programDirectory, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: the last-used folder, the About splash (unless left out), the window shown
    // maximised with the plan defaults and the menu state.
    void initialise(bool showSplash = true);

    void updateMenuState();
    void showAbout();

    PlanDocument& document() { return document_; }
    PlanView& planView() { return *view_; }
    QAction* action(MenuCommand command) const { return actions_.at(command); }
    // Carries out what a command asked for.
    void apply(CommandOutcome outcome);
    // The interaction the commands use; tests may put their own in its place.
    void setInteraction(UserInteraction* interaction) { interaction_ = interaction; }
    UserInteraction* interaction() const { return interaction_; }
    // File > Recent Plans, newest first.
    QMenu* recentPlansMenu() const { return recentPlansMenu_; }
    // Opens a carrier file as a file dropped on the window is opened.
    void openDroppedFile(const QString& path);
    // A carrier file named when the program starts: loaded as Load Carriers does, as the plan
    // the run starts from (not a change to undo).
    void openFileAtStart(const std::string& path);
    IntermodPanel& intermodPanel() { return *intermodPanel_; }

Q_SIGNALS:
    // The plan or its view changed (emitted when a command's outcome repaints).
    void planChanged();

protected:
    // A plan with unsaved changes is offered to be saved first; Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void addHistoryCommands(QMenu* edit);
    void updateHistoryCommands();
    void addRecentPlansMenu(QMenu* file);
    void fillRecentPlansMenu();
    void storeRecentPlans();
    void connectPlotEditing();
    QAction* addCommand(QMenu* menu, MenuCommand command, const QString& text);
    void runCommand(MenuCommand command);
    void showViewOptions();
    // The intermodulation panel docked under the plan, shown and hidden from the View menu.
    void addIntermodPanel(QMenu* viewMenu);
    bool panelUnderPlan() const;
    void keepPlotProportions();
    // The plan's file and whether it has unsaved changes, in the status bar.
    void updatePlanStatus();

    PlanDocument document_;
    QtUserInteraction qtInteraction_;
    UserInteraction* interaction_;
    PlanView* view_;
    IntermodPanel* intermodPanel_ = nullptr;
    QPixmap aboutPicture_;
    QIcon programIcon_;
    std::map<MenuCommand, QAction*> actions_;
    QMenu* recentPlansMenu_ = nullptr;
    QLabel* planStatus_ = nullptr;
    std::vector<std::string> storedRecentPlans_;
};

} // namespace orvane
