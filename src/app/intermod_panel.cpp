#include "app/intermod_panel.h"

#include "app/chart_views.h"
#include "app/intermod_runner.h"
#include "app/settings_store.h"
#include "app/simulation_runner.h"
#include "commands/help_request.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

// The curve is worked out in this many bins across the view, a pixel or two each.
constexpr int densityBins = 512;
// A short analysis finishes before a progress bar would only flash.
constexpr int progressDelayMs = 150;
// Typing starts a new analysis once it pauses this long, not at every key.
constexpr int typingPauseMs = 150;
constexpr int fNumberRole = Qt::UserRole + 1;
const QColor negativeMarginColour(235, 135, 135);
const QColor belowWarningColour(255, 200, 200);
const QColor incompleteColour(255, 236, 170);
const QColor outOfDateTextColour(150, 150, 150);

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

} // namespace

IntermodPanel::IntermodPanel(PlanDocument& document, QWidget* parent)
    : QDockWidget(QStringLiteral("Intermodulation Analysis"), parent), document_(document),
      model_(readPanelSettings()), runner_(new IntermodRunner(this)),
      simulations_(new SimulationRunner(this))
{
    setObjectName(QStringLiteral("intermodPanel"));
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("panelSplitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(buildInputs());
    splitter_->addWidget(buildResults());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    setWidget(splitter_);
    connect(tabs_, &QTabWidget::currentChanged, this, &IntermodPanel::fitInputs);

    const auto progressOf = [this](int which) {
        return [this, which](double share) {
            shares_[which] = share;
            showProgress();
        };
    };
    connect(runner_, &IntermodRunner::progressed, this, progressOf(0));
    connect(simulations_, &SimulationRunner::simulationProgressed, this, progressOf(1));
    connect(simulations_, &SimulationRunner::sweepProgressed, this, progressOf(2));
    connect(runner_, &IntermodRunner::ended, this, &IntermodPanel::showProgress);
    connect(simulations_, &SimulationRunner::ended, this, &IntermodPanel::showProgress);
    connect(runner_, &IntermodRunner::finished, this, &IntermodPanel::showAnalysis);
    connect(runner_, &IntermodRunner::estimated, this, [this](double evaluations) {
        model_.analysisEstimated(evaluations);
        showState();
    });
    connect(simulations_, &SimulationRunner::simulated, this, &IntermodPanel::showSimulation);
    connect(simulations_, &SimulationRunner::swept, this, &IntermodPanel::showSweep);
    connect(toggleViewAction(), &QAction::toggled, this, &IntermodPanel::shownChanged);
    connect(this, &QDockWidget::dockLocationChanged, this, &IntermodPanel::placeParts);

    // F1 anywhere in the panel opens its own page rather than the main window's.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
    showState();
}

IntermodPanel::~IntermodPanel()
{
    // Typing that had not yet paused is kept all the same.
    if (typingPause_->isActive())
        writePanelSettings(model_.settings());
}

void IntermodPanel::addBox(QGridLayout* grid, PanelBox which, const QString& caption,
                           const QString& name, const QString& toolTip)
{
    const int row = grid->rowCount();
    auto* label = new QLabel(caption);
    auto* box = new QLineEdit(text(model_.text(which)));
    box->setObjectName(name + QStringLiteral("Box"));
    box->setMaximumWidth(90);
    box->setToolTip(toolTip);
    label->setBuddy(box);
    auto* problem = new QLabel;
    problem->setObjectName(name + QStringLiteral("Problem"));
    problem->setStyleSheet(QStringLiteral("color: #b00000"));
    problem->setWordWrap(true);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(problem, row, 2);
    boxes_[static_cast<int>(which)] = box;
    problems_[static_cast<int>(which)] = problem;
    connect(box, &QLineEdit::textEdited, this,
            [this, which](const QString& typed) { boxEdited(which, typed); });
}

QWidget* IntermodPanel::buildInputs()
{
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("panelTabs"));
    tabs_->setUsesScrollButtons(false); // every tab's name in full
    const auto page = [this](const QString& title) {
        auto* widget = new QWidget;
        auto* grid = new QGridLayout(widget);
        grid->setColumnStretch(2, 1);
        tabs_->addTab(widget, title);
        return grid;
    };

    QGridLayout* intermod = page(QStringLiteral("Intermodulation"));
    addBox(intermod, PanelBox::ip3, QStringLiteral("&IP3 (dBW):"), QStringLiteral("ip3"),
           QStringLiteral("The transponder's output third-order intercept point, -1000 to 1000 "
                          "dBW. Empty: which products hit which carriers, no levels."));
    boxes_[static_cast<int>(PanelBox::ip3)]->setPlaceholderText(QStringLiteral("hits only"));
    addBox(intermod, PanelBox::guard, QStringLiteral("&Guard (kHz):"), QStringLiteral("guard"),
           QStringLiteral("Widens every carrier's band on both sides, 0 to 1,000,000 kHz."));
    addBox(intermod, PanelBox::warning, QStringLiteral("&Warn below C/IM (dB):"),
           QStringLiteral("warning"), QStringLiteral("Rows with a lower C/IM turn red."));
    intermod->setRowStretch(intermod->rowCount(), 1);

    QGridLayout* budget = page(QStringLiteral("Budget"));
    addBox(budget, PanelBox::transponderMhz, QStringLiteral("&Transponder (MHz):"),
           QStringLiteral("transponder"),
           QStringLiteral("The bandwidth W shared out. Empty: the width of the view range."));
    boxes_[static_cast<int>(PanelBox::transponderMhz)]->setPlaceholderText(
        QStringLiteral("view range"));
    addBox(budget, PanelBox::saturatedPower, QStringLiteral("&Psat (dBW):"), QStringLiteral("psat"),
           QStringLiteral("The saturated output power, on the same reference as the carrier "
                          "powers."));
    addBox(budget, PanelBox::outputBackoff, QStringLiteral("&OBO (dB):"), QStringLiteral("obo"),
           QStringLiteral("The output back-off the transponder runs at. Empty: Psat less the "
                          "carriers' total power."));
    boxes_[static_cast<int>(PanelBox::outputBackoff)]->setPlaceholderText(
        QStringLiteral("carriers' total"));
    addBox(budget, PanelBox::saturatedCn0, QStringLiteral("C/N&0 at sat. (dB-Hz):"),
           QStringLiteral("cn0Sat"),
           QStringLiteral("The thermal C/N0 a single carrier using the whole saturated power "
                          "gets at the receiving station."));
    shareChart_ = new ShareChartView;
    budget->addWidget(shareChart_, budget->rowCount(), 0, 1, 3);
    budget->setRowStretch(budget->rowCount() - 1, 1);

    buildAmplifierPage(page(QStringLiteral("Amplifier")));
    return tabs_;
}

void IntermodPanel::buildAmplifierPage(QGridLayout* grid)
{
    auto* label = new QLabel(QStringLiteral("&Model:"));
    amplifierChoice_ = new QComboBox;
    amplifierChoice_->setObjectName(QStringLiteral("amplifierChoice"));
    // In the order of PanelAmplifier.
    amplifierChoice_->addItems(
        {QStringLiteral("IP3 (the analysis)"), QStringLiteral("Tube (Saleh)"),
         QStringLiteral("Solid-state (Rapp)"), QStringLiteral("Measured table")});
    amplifierChoice_->setCurrentIndex(static_cast<int>(model_.amplifier()));
    amplifierChoice_->setToolTip(
        QStringLiteral("IP3: the analysis's cubic model with the Intermodulation tab's IP3. The "
                       "others simulate the plan's carriers through that amplifier at the input "
                       "back-off below; the budget then takes their C/IM."));
    label->setBuddy(amplifierChoice_);
    grid->addWidget(label, 0, 0);
    grid->addWidget(amplifierChoice_, 0, 1, 1, 2, Qt::AlignLeft);
    connect(amplifierChoice_, qOverload<int>(&QComboBox::activated), this,
            &IntermodPanel::amplifierChosen);

    addBox(grid, PanelBox::inputBackoff, QStringLiteral("I&BO (dB):"), QStringLiteral("ibo"),
           QStringLiteral("The operating point: the carriers' total input power this far below "
                          "the single-carrier saturation input, -30 to 100 dB."));
    boxes_[static_cast<int>(PanelBox::inputBackoff)]->setPlaceholderText(QStringLiteral("10"));
    addBox(grid, PanelBox::rappSmoothness, QStringLiteral("Smoothness &p:"),
           QStringLiteral("rappSmoothness"),
           QStringLiteral("How smoothly the solid-state amplifier meets saturation (Rapp's p, "
                          "above 0; 2 is typical, larger is sharper)."));
    boxes_[static_cast<int>(PanelBox::rappSmoothness)]->setPlaceholderText(QStringLiteral("2"));
    const int rappRow = grid->rowCount() - 1;
    for (int column = 0; column < 3; ++column) {
        rappRow_ << grid->itemAtPosition(rappRow, column)->widget();
        simulatedRows_ << grid->itemAtPosition(rappRow - 1, column)->widget();
    }

    const int row = grid->rowCount();
    auto* curve = new QLabel(QStringLiteral("Curve:"));
    tableName_ = new QLabel;
    tableName_->setObjectName(QStringLiteral("amplifierTableName"));
    auto* choose = new QPushButton(QStringLiteral("C&hoose..."));
    choose->setObjectName(QStringLiteral("amplifierTableButton"));
    choose->setToolTip(QStringLiteral("A CSV file of single-carrier points: input dB, output dB "
                                      "(both relative to saturation), phase degrees."));
    connect(choose, &QPushButton::clicked, this, &IntermodPanel::amplifierTableRequested);
    auto* chooser = new QWidget;
    auto* chooserLayout = new QHBoxLayout(chooser);
    chooserLayout->setContentsMargins(0, 0, 0, 0);
    chooserLayout->addWidget(choose);
    chooserLayout->addWidget(tableName_, 1);
    grid->addWidget(curve, row, 0);
    grid->addWidget(chooser, row, 1, 1, 2);
    tableRow_ << curve << chooser;

    amplifierProblem_ = new QLabel;
    amplifierProblem_->setObjectName(QStringLiteral("amplifierProblem"));
    amplifierProblem_->setWordWrap(true);
    grid->addWidget(amplifierProblem_, row + 1, 0, 1, 3);
    backoffChart_ = new BackoffChartView;
    grid->addWidget(backoffChart_, row + 2, 0, 1, 3);
    grid->setRowStretch(row + 2, 1);
    simulatedRows_ << backoffChart_;
}

QWidget* IntermodPanel::buildResults()
{
    auto* results = new QWidget;
    auto* layout = new QVBoxLayout(results);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* actions = new QHBoxLayout;
    progress_ = new QProgressBar(results);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(160);
    progress_->hide();
    actions->addWidget(progress_);
    stop_ = new QPushButton(QStringLiteral("&Stop"), results);
    stop_->setObjectName(QStringLiteral("stopButton"));
    stop_->setToolTip(QStringLiteral("Stops the analysis and the simulation under way; the next "
                                     "change starts them again."));
    stop_->hide();
    connect(stop_, &QPushButton::clicked, this, &IntermodPanel::stopWork);
    actions->addWidget(stop_);
    actions->addStretch(1);
    auto* save = new QPushButton(QStringLiteral("Save as &CSV..."), results);
    save->setObjectName(QStringLiteral("saveCsvButton"));
    connect(save, &QPushButton::clicked, this, &IntermodPanel::saveRequested);
    actions->addWidget(save);
    layout->addLayout(actions);

    workWarning_ = new QLabel(results);
    workWarning_->setObjectName(QStringLiteral("workWarning"));
    workWarning_->setStyleSheet(QStringLiteral("color: #a05000"));
    workWarning_->setWordWrap(true);
    workWarning_->hide();
    layout->addWidget(workWarning_);
    summary_ = new QLabel(results);
    summary_->setObjectName(QStringLiteral("intermodSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    budgetSummary_ = new QLabel(results);
    budgetSummary_->setObjectName(QStringLiteral("budgetSummary"));
    budgetSummary_->setWordWrap(true);
    layout->addWidget(budgetSummary_);
    amplifierSummary_ = new QLabel(results);
    amplifierSummary_->setObjectName(QStringLiteral("amplifierSummary"));
    amplifierSummary_->setWordWrap(true);
    layout->addWidget(amplifierSummary_);

    rows_ = new QStandardItemModel(0, static_cast<int>(IntermodPanelModel::columns().size()), this);
    QStringList headings;
    for (const PanelColumn& column : IntermodPanelModel::columns())
        headings << text(column.heading);
    rows_->setHorizontalHeaderLabels(headings);
    rows_->setSortRole(Qt::UserRole);
    table_ = new QTableView(results);
    table_->setObjectName(QStringLiteral("intermodTable"));
    table_->setModel(rows_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->installEventFilter(this);
    layout->addWidget(table_, 1);

    auto* copy = new QAction(QStringLiteral("Copy"), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(copy);
    connect(copy, &QAction::triggered, this, &IntermodPanel::copySelectedRows);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { rowActivated(index.row()); });

    progressDelay_ = new QTimer(this);
    progressDelay_->setSingleShot(true);
    connect(progressDelay_, &QTimer::timeout, this, &IntermodPanel::showProgress);
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(typingPauseMs);
    connect(typingPause_, &QTimer::timeout, this, &IntermodPanel::inputsSettled);
    return results;
}

void IntermodPanel::placeParts(Qt::DockWidgetArea area)
{
    // Beside the plan the boxes stand over the table; under it, to its left.
    const bool beside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    splitter_->setOrientation(beside ? Qt::Vertical : Qt::Horizontal);
    // Once the panel has its new size.
    QTimer::singleShot(0, this, &IntermodPanel::fitInputs);
}

void IntermodPanel::fitInputs()
{
    // The pages not shown neither ask for room nor hold the tabs up.
    for (int index = 0; index < tabs_->count(); ++index)
        tabs_->widget(index)->setSizePolicy(
            index == tabs_->currentIndex()
                ? QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred)
                : QSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored));
    // Over the table the tabs take the height their page asks for (a chart more than a few
    // boxes), beside it the width, and leave the rest to the table.
    const QWidget* page = tabs_->currentWidget();
    const QSize tabBar = tabs_->tabBar()->sizeHint();
    const bool over = splitter_->orientation() == Qt::Vertical;
    const int total = (over ? splitter_->height() : splitter_->width()) - splitter_->handleWidth();
    const int wanted = over ? tabBar.height() + page->sizeHint().height() + 8
                            : std::max(tabBar.width(), page->sizeHint().width()) + 8;
    const int first = std::min(wanted, total / 2);
    splitter_->setSizes({first, std::max(0, total - first)});
}

bool IntermodPanel::analysing() const
{
    const bool wanted =
        model_.analysisWanted() || model_.simulationWanted() || model_.sweepWanted();
    return runner_->busy() || simulations_->simulating() || simulations_->sweeping() ||
           (wanted && typingPause_->isActive());
}

void IntermodPanel::boxEdited(PanelBox box, const QString& typed)
{
    const PanelEditEffect effect = model_.edit(box, typed.toStdString());
    problems_[static_cast<int>(box)]->setText(text(model_.problem(box)));
    if (effect != PanelEditEffect::none) // new colours, new budget figures or "Updating..."
        showState(effect == PanelEditEffect::rebudget);
    typingPause_->start();
}

void IntermodPanel::amplifierChosen(int index)
{
    if (model_.chooseAmplifier(static_cast<PanelAmplifier>(index)) == PanelEditEffect::none)
        return;
    inputsSettled();
    showState(true);
    // Its page shows other rows now.
    QTimer::singleShot(0, this, &IntermodPanel::fitInputs);
}

void IntermodPanel::useAmplifierTable(const QString& path, const AmplifierTableRead& read)
{
    model_.useAmplifierTable(path.toStdString(), read);
    amplifierChoice_->setCurrentIndex(static_cast<int>(model_.amplifier()));
    inputsSettled();
    showState(true);
}

void IntermodPanel::inputsSettled()
{
    writePanelSettings(model_.settings());
    if (toggleViewAction()->isChecked())
        startWork();
}

void IntermodPanel::planChanged()
{
    model_.planChanged();
    if (toggleViewAction()->isChecked())
        startWork();
    showState();
}

void IntermodPanel::startWork()
{
    // The plan as the document shows it: its view range is the budget's default bandwidth and
    // the spectrum's range.
    const DisplaySettings& view = document_.displaySettings;
    CarrierList plan = document_.carriers;
    plan.viewStartMhz = view.viewStartMhz;
    plan.viewStopMhz = view.viewStopMhz;
    bool started = false;
    if (model_.analysisWanted()) {
        const PanelInputs inputs = *model_.inputs();
        IntermodOptions options;
        options.ip3Dbw = inputs.ip3Dbw;
        options.guardKhz = inputs.guardKhz;
        options.density = DensityRange{view.viewStartMhz, view.viewStopMhz, densityBins};
        model_.analysisStarted(plan);
        runner_->start(plan, options);
        shares_[0] = 0.0;
        started = true;
    }
    if (model_.simulationWanted()) {
        model_.simulationStarted(plan);
        simulations_->simulate(plan, *model_.simulationOptions());
        shares_[1] = 0.0;
        started = true;
    }
    if (model_.sweepWanted()) {
        SimulationOptions options = *model_.simulationOptions();
        options.precisionDb = sweepPrecisionDb;
        model_.sweepStarted(plan);
        simulations_->sweep(plan, options, sweepBackoffsDb());
        shares_[2] = 0.0;
        started = true;
    }
    if (started && !progressDelay_->isActive() && progress_->isHidden())
        progressDelay_->start(progressDelayMs);
}

void IntermodPanel::showProgress()
{
    // The first of the analysis, the simulation and the sweep still under way.
    const bool busy[3] = {runner_->busy(), simulations_->simulating(), simulations_->sweeping()};
    const char* const names[3] = {"Analysing", "Simulating", "Sweeping"};
    for (int which = 0; which < 3; ++which) {
        if (!busy[which])
            continue;
        progress_->setFormat(QString::fromLatin1(names[which]) + QStringLiteral(" %p%"));
        progress_->setValue(static_cast<int>(shares_[which] * 100.0));
        if (!progressDelay_->isActive()) {
            progress_->show();
            stop_->show();
        }
        return;
    }
    progressDelay_->stop();
    progress_->hide();
    stop_->hide();
}

void IntermodPanel::stopWork()
{
    runner_->stop();
    simulations_->stop();
    model_.workStopped();
    showProgress();
    showState();
}

void IntermodPanel::shownChanged(bool shown)
{
    if (shown)
        QTimer::singleShot(0, this, &IntermodPanel::fitInputs);
    document_.fitPictureTexts = shown;
    Q_EMIT pictureChanged();
    if (shown)
        startWork();
    showState();
}

void IntermodPanel::showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis)
{
    model_.analysisFinished(std::move(analysis));
    showState(true);
    Q_EMIT analysisShown();
}

void IntermodPanel::showSimulation(std::shared_ptr<const AmplifierSimulation> simulation)
{
    model_.simulationFinished(std::move(simulation));
    showState(true);
    Q_EMIT simulationShown();
}

void IntermodPanel::showSweep(std::shared_ptr<const BackoffSweep> sweep)
{
    model_.sweepFinished(std::move(sweep));
    showAmplifier();
    Q_EMIT simulationShown();
}

void IntermodPanel::fillTable(const std::vector<PanelRow>& rows)
{
    const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder sortOrder = table_->horizontalHeader()->sortIndicatorOrder();
    // Filled while no view watches the model: that spares the view a relayout per row.
    table_->setModel(nullptr);
    rows_->removeRows(0, rows_->rowCount());
    const std::vector<PanelColumn>& columns = IntermodPanelModel::columns();
    for (const PanelRow& row : rows) {
        QList<QStandardItem*> items;
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            const PanelCell& cell = row.cells[column];
            auto* item = new QStandardItem(text(cell.text));
            item->setData(columns[column].sortsAsText ? QVariant(text(cell.text))
                                                      : QVariant(cell.sortKey),
                          Qt::UserRole);
            item->setData(row.fNumber, fNumberRole);
            item->setEditable(false);
            items << item;
        }
        rows_->appendRow(items);
    }
    markRows(rows);
    table_->setModel(rows_);
    table_->sortByColumn(sortColumn, sortOrder);
    fitColumns();
}

void IntermodPanel::markRows(const std::vector<PanelRow>& rows)
{
    if (static_cast<int>(rows.size()) != rows_->rowCount())
        return;
    const bool outOfDate = model_.stale();
    for (int place = 0; place < rows_->rowCount(); ++place) {
        // The model gives the rows in F-number order, F1 first.
        const int fNumber = rows_->item(place, 0)->data(fNumberRole).toInt();
        if (fNumber < 1 || fNumber > static_cast<int>(rows.size()))
            continue;
        const PanelRow* row = &rows[static_cast<std::size_t>(fNumber - 1)];
        const QVariant background =
            row->mark == RowMark::negativeMargin ? QVariant(QBrush(negativeMarginColour))
            : row->mark == RowMark::belowWarning ? QVariant(QBrush(belowWarningColour))
            : row->mark == RowMark::incomplete   ? QVariant(QBrush(incompleteColour))
                                                 : QVariant();
        const QVariant foreground = outOfDate ? QVariant(QBrush(outOfDateTextColour)) : QVariant();
        for (int column = 0; column < rows_->columnCount(); ++column) {
            QStandardItem* item = rows_->item(place, column);
            item->setData(background, Qt::BackgroundRole);
            item->setData(foreground, Qt::ForegroundRole);
            item->setToolTip(text(row->note));
        }
    }
}

void IntermodPanel::showState(bool refill)
{
    const std::vector<PanelRow> rows = model_.rows();
    if (refill)
        fillTable(rows);
    const QString grey =
        model_.stale() && model_.analysis() ? QStringLiteral("color: #969696") : QString();
    summary_->setText(text(model_.summary()));
    summary_->setStyleSheet(grey);
    workWarning_->setText(text(model_.workWarning()));
    workWarning_->setVisible(!model_.workWarning().empty());
    showBudget();
    showAmplifier();
    if (!refill)
        markRows(rows);
    std::shared_ptr<const IntermodOverlay> overlay;
    if (toggleViewAction()->isChecked())
        overlay = model_.overlay();
    if (!overlay && !document_.intermodOverlay)
        return;
    document_.intermodOverlay = std::move(overlay);
    Q_EMIT pictureChanged();
}

void IntermodPanel::showBudget()
{
    const bool outOfDate = model_.stale() && model_.analysis();
    const std::string line = model_.budgetSummary();
    budgetSummary_->setText(text(line));
    budgetSummary_->setVisible(!line.empty());
    const ShareChart chart = model_.shareChart();
    budgetSummary_->setStyleSheet(outOfDate             ? QStringLiteral("color: #969696")
                                  : chart.noteIsWarning ? QStringLiteral("color: #b00000")
                                                        : QString());
    shareChart_->setChart(chart, outOfDate);
}

void IntermodPanel::showAmplifier()
{
    const PanelAmplifier amplifier = model_.amplifier();
    for (QWidget* widget : simulatedRows_)
        widget->setVisible(amplifier != PanelAmplifier::ip3);
    for (QWidget* widget : rappRow_)
        widget->setVisible(amplifier == PanelAmplifier::solidState);
    for (QWidget* widget : tableRow_)
        widget->setVisible(amplifier == PanelAmplifier::table);
    const QString path = text(model_.amplifierTablePath());
    tableName_->setText(path.isEmpty() ? QStringLiteral("none chosen")
                                       : QFileInfo(path).fileName());
    tableName_->setToolTip(path);
    const bool problem = !model_.amplifierProblem().empty();
    amplifierProblem_->setText(
        problem ? text(model_.amplifierProblem())
        : amplifier == PanelAmplifier::ip3
            ? QStringLiteral("The analysis's cubic model with the IP3 of the Intermodulation tab. "
                             "Choose a tube, a solid-state amplifier or a measured curve to drive "
                             "it with the plan's carriers at an operating point.")
            : QString());
    amplifierProblem_->setStyleSheet(problem ? QStringLiteral("color: #b00000") : QString());
    amplifierProblem_->setVisible(!amplifierProblem_->text().isEmpty());
    const std::string line = model_.amplifierSummary();
    amplifierSummary_->setText(text(line));
    amplifierSummary_->setVisible(!line.empty());
    amplifierSummary_->setStyleSheet(model_.simulationStale() ? QStringLiteral("color: #969696")
                                                              : QString());
    backoffChart_->setChart(model_.backoffChart(), model_.sweepStale());
    for (int column = 0; column < rows_->columnCount(); ++column)
        table_->setColumnHidden(column, !model_.columnShown(static_cast<std::size_t>(column)));
}

void IntermodPanel::fitColumns()
{
    // Every column as wide as its widest cell, and whatever width is left over to the long
    // text columns, so that no result is cut short ("Occasi...").
    table_->resizeColumnsToContents();
    const std::vector<PanelColumn>& columns = IntermodPanelModel::columns();
    int used = 0;
    int takers = 0;
    for (std::size_t column = 0; column < columns.size(); ++column) {
        used += table_->columnWidth(static_cast<int>(column));
        takers += columns[column].takesSpareWidth ? 1 : 0;
    }
    const int spare = table_->viewport()->width() - used;
    if (spare <= 0 || takers == 0)
        return;
    for (std::size_t column = 0; column < columns.size(); ++column)
        if (columns[column].takesSpareWidth)
            table_->setColumnWidth(static_cast<int>(column),
                                   table_->columnWidth(static_cast<int>(column)) + spare / takers);
}

void IntermodPanel::copySelectedRows()
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QString copied;
    for (const int row : rows) {
        QStringList cells;
        for (int column = 0; column < rows_->columnCount(); ++column)
            if (!table_->isColumnHidden(column))
                cells << rows_->item(row, column)->text();
        copied += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    if (!copied.isEmpty())
        QApplication::clipboard()->setText(copied);
}

void IntermodPanel::rowActivated(int row)
{
    if (row < 0 || row >= rows_->rowCount())
        return;
    const IntermodPanelModel::RowOpening opening =
        model_.openRow(rows_->item(row, 0)->data(fNumberRole).toInt());
    if (opening.fNumber)
        Q_EMIT modifyRequested(*opening.fNumber);
    else
        Q_EMIT rowNotOpened(text(opening.whyNot));
}

bool IntermodPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &IntermodPanel::fitColumns);
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                requestHelp(helpKey::intermodAnalysis);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace orvane
