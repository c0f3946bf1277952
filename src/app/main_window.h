#pragma once

#include "app/plan_document.h"
#include "app/qt_user_interaction.h"

#include <QIcon>
#include <QMainWindow>
#include <QPixmap>

#include <map>

class QAction;
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
    addFixed,
    addFec,
    addSpectral,
    addModcod,
    modifyCarrier,
    deleteCarrier,
    scrunchCarriers,
    shiftCarriers,
    clearAll,
    fitCarriers,
    defaultFonts,
    options,
    help,
    licence,
    about,
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
    IntermodPanel& intermodPanel() { return *intermodPanel_; }

Q_SIGNALS:
    // The plan or its view changed (emitted when a command's outcome repaints).
    void planChanged();

private:
    void buildMenus();
    QAction* addCommand(QMenu* menu, MenuCommand command, const QString& text);
    void runCommand(MenuCommand command);
    void showViewOptions();
    // The intermodulation panel docked under the plan, shown and hidden from the View menu.
    void addIntermodPanel(QMenu* viewMenu);

    PlanDocument document_;
    QtUserInteraction qtInteraction_;
    UserInteraction* interaction_;
    PlanView* view_;
    IntermodPanel* intermodPanel_ = nullptr;
    QPixmap aboutPicture_;
    QIcon programIcon_;
    std::map<MenuCommand, QAction*> actions_;
};

} // namespace orvane
