#include "app/main_window.h"

#include "app/intermod_panel.h"
#include "app/plan_picture.h"
#include "app/plan_view.h"
#include "app/settings_store.h"
#include "commands/arrange_commands.h"
#include "commands/editing_commands.h"
#include "commands/file_commands.h"
#include "commands/help_request.h"
#include "commands/history_commands.h"
#include "dialogs/about_box.h"
#include "dialogs/view_options.h"
#include "dialogs/window_resources.h"
#include "model/program_identity.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {
// How long a passing note stays in the status bar.
constexpr int statusMessageMs = 8000;
// With the panel under it the plot keeps at least this height for its width; beside it, the
// panel takes at most this share of the width.
constexpr double plotHeightPerWidth = 0.4;
constexpr double panelShareBeside = 0.4;
} // namespace

MainWindow::MainWindow(const std::string& programDirectory, QWidget* parent)
    : QMainWindow(parent), qtInteraction_(this), interaction_(&qtInteraction_)
{
    loadWindowResources();
    document_.programDirectory = programDirectory;
    aboutPicture_ = QPixmap(QStringLiteral(":/pictures/about_background.png"));
    programIcon_ = QIcon(QStringLiteral(":/pictures/orvane.png"));

    setWindowTitle(QString::fromLatin1(programCaption));
    setWindowIcon(programIcon_);
    view_ = new PlanView(document_, this);
    view_->setBaseCaption(windowTitle());
    setCentralWidget(view_);
    buildMenus();
    planStatus_ = new QLabel(this);
    planStatus_->setObjectName(QStringLiteral("planStatus"));
    statusBar()->addPermanentWidget(planStatus_);
    connectPlotEditing();
    setAcceptDrops(true);
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
    view_->setBaseCaption(QString::fromLatin1(programCaption));
    document_.lastPath = readLastPath(QDir::homePath().toStdString());
    if (showSplash) {
        AboutBox splash(nullptr, true, true, aboutPicture_);
        splash.exec();
    }
    // The panels stand and show as they did at the last exit.
    if (!restoreState(readWindowState()))
        resizeDocks({intermodPanel_}, {std::max(360, width() * 7 / 20)}, Qt::Horizontal);
    showMaximized();
    document_.applyPlanDefaults();
    document_.history.restart(document_.carriers, document_.displaySettings);
    document_.recentPlans.assign(readRecentPlans());
    storedRecentPlans_ = document_.recentPlans.paths();
    fillRecentPlansMenu();
    updateMenuState();
    updatePlanStatus();
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
    addRecentPlansMenu(file);
    file->addSeparator();
    addCommand(file, MenuCommand::saveImage, QStringLiteral("Save &Image  ..."));
    addCommand(file, MenuCommand::saveReport, QStringLiteral("Save Intermod &Report..."));
    file->addSeparator();
    addCommand(file, MenuCommand::exit, QStringLiteral("E&xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addHistoryCommands(edit);
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
    addCommand(edit, MenuCommand::arrangeCarriers, QStringLiteral("Arra&nge Carriers..."));
    edit->addSeparator();
    addCommand(edit, MenuCommand::clearAll, QStringLiteral("C&lear All"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    addCommand(view, MenuCommand::fitCarriers, QStringLiteral("&Fit Carriers"));
    view->addSeparator();
    addCommand(view, MenuCommand::defaultFonts, QStringLiteral("&Default Fonts"));
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
    for (const MenuCommand command :
         {MenuCommand::scrunchCarriers, MenuCommand::arrangeCarriers, MenuCommand::saveReport})
        actions_.at(command)->setEnabled(carrierCount >= 2);
    updateHistoryCommands();
}

void MainWindow::updatePlanStatus()
{
    planStatus_->setText(QString::fromStdString(planStatusText(document_)));
    planStatus_->setToolTip(QString::fromStdString(document_.carrierFilePath));
}

void MainWindow::apply(CommandOutcome outcome)
{
    updatePlanStatus();
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
    if (runViewOptions(this, document_.displaySettings)) {
        recordPlanChange(document_, "View Options");
        updateHistoryCommands();
    }
    apply(CommandOutcome{false, true});
}

void MainWindow::addIntermodPanel(QMenu* viewMenu)
{
    intermodPanel_ = new IntermodPanel(document_, this);
    // Beside the plot by default: under it, the plot would lose the height its texts need.
    addDockWidget(Qt::RightDockWidgetArea, intermodPanel_);
    intermodPanel_->hide();
    QAction* toggle = intermodPanel_->toggleViewAction();
    toggle->setText(QStringLiteral("Intermodulation &Analysis"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    viewMenu->addSeparator();
    viewMenu->addAction(toggle);
    QAction* under = viewMenu->addAction(QStringLiteral("Analysis &Under the Plan"));
    under->setCheckable(true);
    actions_[MenuCommand::analysisUnderPlan] = under;
    connect(under, &QAction::triggered, this, [this](bool checked) {
        addDockWidget(checked ? Qt::BottomDockWidgetArea : Qt::RightDockWidgetArea, intermodPanel_);
        intermodPanel_->setFloating(false);
        // As much room as the plot leaves it: under the plot its height, beside it its width.
        QTimer::singleShot(0, this, [this, checked] {
            layout()->activate();
            keepPlotProportions();
            resizeDocks(
                {intermodPanel_},
                {checked ? intermodPanel_->maximumHeight() : intermodPanel_->maximumWidth()},
                checked ? Qt::Vertical : Qt::Horizontal);
        });
    });
    // Once the layout has placed the panel, its height is held to what the plot leaves.
    const auto panelMoved = [this, under] {
        under->setChecked(panelUnderPlan());
        QTimer::singleShot(0, this, &MainWindow::keepPlotProportions);
    };
    connect(intermodPanel_, &QDockWidget::dockLocationChanged, this, panelMoved);
    connect(intermodPanel_, &QDockWidget::topLevelChanged, this, panelMoved);
    connect(toggle, &QAction::toggled, this, panelMoved);
    connect(this, &MainWindow::planChanged, intermodPanel_, &IntermodPanel::planChanged);
    connect(intermodPanel_, &IntermodPanel::pictureChanged, view_, [this] { view_->update(); });
    connect(intermodPanel_, &IntermodPanel::modifyRequested, this,
            [this](int fNumber) { apply(modifyCarrierNumber(document_, *interaction_, fNumber)); });
    connect(intermodPanel_, &IntermodPanel::saveRequested, this, [this] {
        const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
        apply(saveAnalysisTable(document_, *interaction_, intermodPanel_->model(),
                                now.toStdString()));
    });
    connect(intermodPanel_, &IntermodPanel::amplifierTableRequested, this, [this] {
        if (const auto table = chooseAmplifierTable(document_, *interaction_))
            intermodPanel_->useAmplifierTable(QString::fromStdString(table->path), table->read);
    });
    connect(intermodPanel_, &IntermodPanel::rowNotOpened, this,
            [this](const QString& why) { statusBar()->showMessage(why, statusMessageMs); });
}

bool MainWindow::panelUnderPlan() const
{
    const Qt::DockWidgetArea area = dockWidgetArea(intermodPanel_);
    return !intermodPanel_->isFloating() &&
           (area == Qt::BottomDockWidgetArea || area == Qt::TopDockWidgetArea);
}

void MainWindow::keepPlotProportions()
{
    // Under the plot the panel may take only so much height that the plot keeps the
    // proportions its texts need at their size (the width sets it); beside it, only so much
    // width that the texts, which follow the plot's width, stay readable.
    int mostHeight = QWIDGETSIZE_MAX;
    int mostWidth = QWIDGETSIZE_MAX;
    if (intermodPanel_->isVisible() && !intermodPanel_->isFloating()) {
        const QSize least = intermodPanel_->minimumSizeHint();
        if (panelUnderPlan()) {
            const int shared = view_->height() + intermodPanel_->height();
            const int plotNeeds = static_cast<int>(std::ceil(plotHeightPerWidth * view_->width()));
            mostHeight = std::max(least.height(), shared - plotNeeds);
        } else {
            const int shared = view_->width() + intermodPanel_->width();
            mostWidth = std::max(least.width(), static_cast<int>(panelShareBeside * shared));
        }
    }
    if (intermodPanel_->maximumHeight() != mostHeight)
        intermodPanel_->setMaximumHeight(mostHeight);
    if (intermodPanel_->maximumWidth() != mostWidth)
        intermodPanel_->setMaximumWidth(mostWidth);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    QTimer::singleShot(0, this, &MainWindow::keepPlotProportions);
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
        apply(saveImage(document_, ui,
                        [this, clientSize](const std::string& path, ImageFormat format) {
                            return writePlanPicture(document_, clientSize, path, format);
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
    case MenuCommand::undo:
        apply(undoPlanChange(document_));
        break;
    case MenuCommand::redo:
        apply(redoPlanChange(document_));
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
    case MenuCommand::arrangeCarriers: {
        // IP3 and guard start as the analysis panel's boxes hold them.
        const IntermodPanelModel& panel = intermodPanel_->model();
        apply(
            arrangeCarriers(document_, ui, panel.text(PanelBox::ip3), panel.text(PanelBox::guard)));
        break;
    }
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
    case MenuCommand::analysisUnderPlan:
        break; // the action's own toggle moves the panel
    }
    storeRecentPlans();
}

void MainWindow::addHistoryCommands(QMenu* edit)
{
    addCommand(edit, MenuCommand::undo, QStringLiteral("&Undo"))->setShortcut(QKeySequence::Undo);
    addCommand(edit, MenuCommand::redo, QStringLiteral("&Redo"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    updateHistoryCommands();
}

void MainWindow::updateHistoryCommands()
{
    QAction* undo = actions_.at(MenuCommand::undo);
    undo->setText(QString::fromStdString(undoMenuText(document_.history)));
    undo->setEnabled(document_.history.undoName().has_value());
    QAction* redo = actions_.at(MenuCommand::redo);
    redo->setText(QString::fromStdString(redoMenuText(document_.history)));
    redo->setEnabled(document_.history.redoName().has_value());
}

void MainWindow::addRecentPlansMenu(QMenu* file)
{
    recentPlansMenu_ = file->addMenu(QStringLiteral("Recent &Plans"));
    fillRecentPlansMenu();
}

void MainWindow::fillRecentPlansMenu()
{
    recentPlansMenu_->clear();
    const std::vector<std::string>& paths = document_.recentPlans.paths();
    if (paths.empty())
        recentPlansMenu_->addAction(QStringLiteral("(none)"))->setEnabled(false);
    int number = 1;
    for (const std::string& path : paths) {
        QString text = QString::fromStdString(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry =
            recentPlansMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(text));
        connect(entry, &QAction::triggered, this, [this, path] {
            apply(openRecentPlan(document_, *interaction_, path));
            storeRecentPlans();
        });
    }
}

void MainWindow::storeRecentPlans()
{
    if (document_.recentPlans.paths() == storedRecentPlans_)
        return;
    storedRecentPlans_ = document_.recentPlans.paths();
    writeRecentPlans(storedRecentPlans_);
    fillRecentPlansMenu();
}

void MainWindow::openFileAtStart(const std::string& path)
{
    apply(loadCarriersFrom(document_, *interaction_, path));
    document_.history.restart(document_.carriers, document_.displaySettings);
    updateHistoryCommands();
    updatePlanStatus();
    storeRecentPlans();
}

void MainWindow::openDroppedFile(const QString& path)
{
    apply(openCarrierFile(document_, *interaction_,
                          QFileInfo(path).absoluteFilePath().toStdString()));
    storeRecentPlans();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (settleUnsavedChanges(document_, *interaction_)) {
        event->accept();
        writeWindowState(saveState());
    } else {
        event->ignore();
    }
    updatePlanStatus();
    storeRecentPlans();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    activateWindow();
    openDroppedFile(urls.front().toLocalFile());
}

void MainWindow::connectPlotEditing()
{
    connect(view_, &PlanView::modifyRequested, this, [this](int index) {
        apply(modifyCarrierAt(document_, *interaction_, index));
        view_->markCarrier(index);
    });
    connect(view_, &PlanView::deleteRequested, this, [this](int index) {
        const int countBefore = document_.carriers.count();
        apply(deleteCarrierAt(document_, *interaction_, index));
        if (document_.carriers.count() != countBefore)
            view_->markCarrier(std::nullopt);
    });
}

} // namespace orvane
