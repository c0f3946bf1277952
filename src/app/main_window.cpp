#include "app/main_window.h"

#include "app/editing_commands.h"
#include "app/file_commands.h"
#include "app/intermod_panel.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "app/settings_store.h"
#include "dialogs/about_box.h"
#include "dialogs/help_request.h"
#include "dialogs/view_options.h"
#include "dialogs/window_resources.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace orvane {

MainWindow::MainWindow(const std::string& programDirectory, QWidget* parent)
    : QMainWindow(parent), qtInteraction_(this), interaction_(&qtInteraction_)
{
    loadWindowResources();
    document_.programDirectory = programDirectory;
    aboutPicture_ = QPixmap(QStringLiteral(":/pictures/about_background.png"));
    programIcon_ = QIcon(QStringLiteral(":/pictures/orvane.png"));

    setWindowTitle(QStringLiteral("Orvane"));
    setWindowIcon(programIcon_);
    view_ = new PlanView(document_, this);
    view_->setBaseCaption(windowTitle());
    setCentralWidget(view_);
    buildMenus();
    // About 444 x 215 dialog units of the classic dialog font, before it is maximised.
    resize(666, 350);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { requestHelp(helpKey::mainWindow); });
}

MainWindow::~MainWindow()
{
    writeLastPath(document_.lastPath);
    // The panel answers its own hiding, which closing the window does after the document is
    // gone: it goes first.
    delete intermodPanel_;
}

void MainWindow::initialise(bool showSplash)
{
    view_->setBaseCaption(QStringLiteral("Orvane"));
    document_.lastPath = readLastPath(document_.programDirectory);
    if (showSplash) {
        AboutBox splash(nullptr, true, true, aboutPicture_);
        splash.exec();
    }
    showMaximized();
    document_.applyPlanDefaults();
    updateMenuState();
}

QAction* MainWindow::addCommand(QMenu* menu, MenuCommand command, const QString& text)
{
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    actions_[command] = action;
    return action;
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, MenuCommand::loadCarriers, QStringLiteral("&Load Carriers ..."));
    addCommand(file, MenuCommand::saveCarriers, QStringLiteral("&Save Carriers ..."));
    file->addSeparator();
    addCommand(file, MenuCommand::saveImage, QStringLiteral("Save &Image  ..."));
    addCommand(file, MenuCommand::saveReport, QStringLiteral("Save Intermod &Report..."));
    file->addSeparator();
    addCommand(file, MenuCommand::exit, QStringLiteral("E&xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QMenu* add = edit->addMenu(QStringLiteral("&Add Carrier"));
    addCommand(add, MenuCommand::addFixed, QStringLiteral("Fixed &Bandwidth/SymbolRate"));
    addCommand(add, MenuCommand::addFec, QStringLiteral("FEC && &Modulation Calculation"));
    addCommand(add, MenuCommand::addSpectral, QStringLiteral("&Spectral Efficiency Calculation"));
    addCommand(add, MenuCommand::addModcod, QStringLiteral("from Modcod &File ..."));
    addCommand(edit, MenuCommand::modifyCarrier, QStringLiteral("&Modify Carrier..."));
    addCommand(edit, MenuCommand::deleteCarrier, QStringLiteral("&Delete Carrier..."));
    edit->addSeparator();
    addCommand(edit, MenuCommand::scrunchCarriers, QStringLiteral("&Scrunch Carriers"));
    addCommand(edit, MenuCommand::shiftCarriers, QStringLiteral("Shift &Carriers"));
    edit->addSeparator();
    addCommand(edit, MenuCommand::clearAll, QStringLiteral("&Clear All"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    addCommand(view, MenuCommand::fitCarriers, QStringLiteral("Fit Carriers"));
    view->addSeparator();
    addCommand(view, MenuCommand::defaultFonts, QStringLiteral("Default Fonts"));
    view->addSeparator();
    addCommand(view, MenuCommand::options, QStringLiteral("&Options..."));
    addIntermodPanel(view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, MenuCommand::help, QStringLiteral("&Help..."));
    help->addSeparator();
    addCommand(help, MenuCommand::licence, QStringLiteral("&Licence Agreement"));
    help->addSeparator();
    addCommand(help, MenuCommand::about, QStringLiteral("&About Orvane ..."));
}

void MainWindow::updateMenuState()
{
    const int carrierCount = document_.carriers.count();
    for (const MenuCommand command :
         {MenuCommand::addFixed, MenuCommand::addFec, MenuCommand::addSpectral,
          MenuCommand::addModcod, MenuCommand::defaultFonts})
        actions_.at(command)->setEnabled(true);
    for (const MenuCommand command :
         {MenuCommand::saveCarriers, MenuCommand::modifyCarrier, MenuCommand::deleteCarrier,
          MenuCommand::shiftCarriers, MenuCommand::fitCarriers})
        actions_.at(command)->setEnabled(carrierCount >= 1);
    for (const MenuCommand command : {MenuCommand::scrunchCarriers, MenuCommand::saveReport})
        actions_.at(command)->setEnabled(carrierCount >= 2);
}

void MainWindow::apply(CommandOutcome outcome)
{
    if (outcome.refreshMenu)
        updateMenuState();
    if (outcome.repaint) {
        view_->update();
        Q_EMIT planChanged();
    }
}

void MainWindow::showAbout()
{
    AboutBox about(this, false, true, aboutPicture_);
    about.exec();
}

void MainWindow::showViewOptions()
{
    runViewOptions(this, document_.displaySettings);
    apply(CommandOutcome{false, true});
}

void MainWindow::addIntermodPanel(QMenu* viewMenu)
{
    intermodPanel_ = new IntermodPanel(document_, this);
    addDockWidget(Qt::BottomDockWidgetArea, intermodPanel_);
    intermodPanel_->hide();
    QAction* toggle = intermodPanel_->toggleViewAction();
    toggle->setText(QStringLiteral("Intermodulation &Analysis"));
    viewMenu->addSeparator();
    viewMenu->addAction(toggle);
    connect(this, &MainWindow::planChanged, intermodPanel_, &IntermodPanel::planChanged);
    connect(intermodPanel_, &IntermodPanel::pictureChanged, view_, [this] { view_->update(); });
    connect(intermodPanel_, &IntermodPanel::modifyRequested, this,
            [this](int fNumber) { apply(modifyCarrierNumber(document_, *interaction_, fNumber)); });
}

void MainWindow::runCommand(MenuCommand command)
{
    UserInteraction& ui = *interaction_;
    switch (command) {
    case MenuCommand::loadCarriers:
        apply(loadCarriers(document_, ui));
        break;
    case MenuCommand::saveCarriers:
        apply(saveCarriers(document_, ui));
        break;
    case MenuCommand::saveImage: {
        // The chooser covered part of the window: the picture is drawn anew for the file.
        const QSize clientSize = view_->size();
        apply(saveImage(document_, ui, [this, clientSize](const std::string& path) {
            return writePlanBitmap(document_, clientSize, path);
        }));
        view_->repaint();
        break;
    }
    case MenuCommand::saveReport:
        apply(saveReport(document_, ui));
        break;
    case MenuCommand::exit:
        close();
        break;
    case MenuCommand::addFixed:
        apply(addFixedCarrier(document_, ui));
        break;
    case MenuCommand::addFec:
        apply(addFecCarrier(document_, ui));
        break;
    case MenuCommand::addSpectral:
        apply(addSpectralCarrier(document_, ui));
        break;
    case MenuCommand::addModcod:
        apply(addModcodCarrier(document_, ui));
        break;
    case MenuCommand::modifyCarrier:
        apply(modifyCarrier(document_, ui));
        break;
    case MenuCommand::deleteCarrier:
        apply(deleteCarrier(document_, ui));
        break;
    case MenuCommand::scrunchCarriers:
        apply(scrunchCarriers(document_, ui));
        break;
    case MenuCommand::shiftCarriers:
        apply(shiftCarriers(document_, ui));
        break;
    case MenuCommand::clearAll:
        apply(clearAll(document_, ui));
        break;
    case MenuCommand::fitCarriers:
        apply(fitCarriers(document_));
        break;
    case MenuCommand::defaultFonts:
        document_.displaySettings.fontsResetPending = true;
        view_->update();
        break;
    case MenuCommand::options:
        showViewOptions();
        break;
    case MenuCommand::help:
        requestHelp(helpKey::helpMenu);
        break;
    case MenuCommand::licence:
        requestHelp(helpKey::licence);
        break;
    case MenuCommand::about:
        showAbout();
        break;
    }
}

} // namespace orvane
