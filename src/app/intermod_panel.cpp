#include "app/intermod_panel.h"

#include "app/intermod_runner.h"
#include "app/settings_store.h"
#include "commands/help_request.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
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
      model_([] {
          const IntermodInputs stored = readIntermodInputs();
          return IntermodPanelModel(stored.ip3Dbw, stored.guardKhz, stored.warningCimDb);
      }()),
      runner_(new IntermodRunner(this))
{
    setObjectName(QStringLiteral("intermodPanel"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(buildInputs());
    summary_ = new QLabel(content);
    summary_->setObjectName(QStringLiteral("intermodSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    rows_ = new QStandardItemModel(0, static_cast<int>(IntermodPanelModel::columns().size()), this);
    QStringList headings;
    for (const PanelColumn& column : IntermodPanelModel::columns())
        headings << text(column.heading);
    rows_->setHorizontalHeaderLabels(headings);
    rows_->setSortRole(Qt::UserRole);
    table_ = new QTableView(content);
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
    setWidget(content);

    auto* copy = new QAction(QStringLiteral("Copy"), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(copy);
    connect(copy, &QAction::triggered, this, &IntermodPanel::copySelectedRows);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { rowActivated(index.row()); });

    connect(runner_, &IntermodRunner::progressed, this,
            [this](double share) { progress_->setValue(static_cast<int>(share * 100.0)); });
    connect(runner_, &IntermodRunner::finished, this, &IntermodPanel::showAnalysis);
    connect(toggleViewAction(), &QAction::toggled, this, &IntermodPanel::shownChanged);
    connect(this, &QDockWidget::dockLocationChanged, this, &IntermodPanel::placeInputs);

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
        writeIntermodInputs({model_.text(PanelBox::ip3), model_.text(PanelBox::guard),
                             model_.text(PanelBox::warning)});
}

QWidget* IntermodPanel::buildInputs()
{
    auto* inputs = new QWidget(this);
    inputsLayout_ = new QBoxLayout(QBoxLayout::LeftToRight, inputs);
    inputsLayout_->setContentsMargins(0, 0, 0, 0);
    const auto addBox = [&](PanelBox which, const QString& caption, const QString& name) {
        auto* row = new QWidget(inputs);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(caption, row);
        auto* box = new QLineEdit(text(model_.text(which)), row);
        box->setObjectName(name + QStringLiteral("Box"));
        box->setMaximumWidth(90);
        label->setBuddy(box);
        auto* problem = new QLabel(row);
        problem->setObjectName(name + QStringLiteral("Problem"));
        problem->setStyleSheet(QStringLiteral("color: #b00000"));
        rowLayout->addWidget(label);
        rowLayout->addWidget(box);
        rowLayout->addWidget(problem, 1);
        inputsLayout_->addWidget(row);
        boxes_[static_cast<int>(which)] = box;
        problems_[static_cast<int>(which)] = problem;
        connect(box, &QLineEdit::textEdited, this,
                [this, which](const QString& typed) { boxEdited(which, typed); });
    };
    addBox(PanelBox::ip3, QStringLiteral("&IP3 (dBW):"), QStringLiteral("ip3"));
    boxes_[0]->setPlaceholderText(QStringLiteral("hits only"));
    boxes_[0]->setToolTip(QStringLiteral("The transponder's output third-order intercept point, "
                                         "-1000 to 1000 dBW. Empty: which products hit which "
                                         "carriers, no levels."));
    addBox(PanelBox::guard, QStringLiteral("&Guard (kHz):"), QStringLiteral("guard"));
    boxes_[1]->setToolTip(QStringLiteral("Widens every carrier's band on both sides, 0 to "
                                         "1,000,000 kHz."));
    addBox(PanelBox::warning, QStringLiteral("&Warn below C/IM (dB):"), QStringLiteral("warning"));

    auto* actions = new QWidget(inputs);
    auto* actionsLayout = new QHBoxLayout(actions);
    actionsLayout->setContentsMargins(0, 0, 0, 0);
    actionsLayout->addStretch(1);
    progress_ = new QProgressBar(actions);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(160);
    progress_->hide();
    actionsLayout->addWidget(progress_);
    auto* save = new QPushButton(QStringLiteral("Save as &CSV..."), actions);
    save->setObjectName(QStringLiteral("saveCsvButton"));
    connect(save, &QPushButton::clicked, this, &IntermodPanel::saveRequested);
    actionsLayout->addWidget(save);
    inputsLayout_->addWidget(actions, 1);

    progressDelay_ = new QTimer(this);
    progressDelay_->setSingleShot(true);
    connect(progressDelay_, &QTimer::timeout, this, [this] {
        if (runner_->busy())
            progress_->show();
    });
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(typingPauseMs);
    connect(typingPause_, &QTimer::timeout, this, &IntermodPanel::inputsSettled);
    return inputs;
}

void IntermodPanel::placeInputs(Qt::DockWidgetArea area)
{
    // Beside the plan the boxes stand one under the other; under it, in a row.
    const bool beside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    inputsLayout_->setDirection(beside ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

bool IntermodPanel::analysing() const
{
    return runner_->busy() || (analysisWanted_ && typingPause_->isActive());
}

void IntermodPanel::boxEdited(PanelBox box, const QString& typed)
{
    const PanelEditEffect effect = model_.edit(box, typed.toStdString());
    problems_[static_cast<int>(box)]->setText(text(model_.problem(box)));
    if (effect == PanelEditEffect::recolour)
        markRows();
    if (effect == PanelEditEffect::reanalyse) {
        analysisWanted_ = true;
        showState();
    }
    typingPause_->start();
}

void IntermodPanel::inputsSettled()
{
    writeIntermodInputs(
        {model_.text(PanelBox::ip3), model_.text(PanelBox::guard), model_.text(PanelBox::warning)});
    if (std::exchange(analysisWanted_, false) && toggleViewAction()->isChecked())
        startAnalysis();
}

void IntermodPanel::planChanged()
{
    model_.planChanged();
    if (toggleViewAction()->isChecked())
        startAnalysis();
    showState();
}

void IntermodPanel::startAnalysis()
{
    const std::optional<PanelInputs> inputs = model_.inputs();
    if (!inputs)
        return; // the last result stays, greyed
    analysisWanted_ = false;
    IntermodOptions options;
    options.ip3Dbw = inputs->ip3Dbw;
    options.guardKhz = inputs->guardKhz;
    const DisplaySettings& view = document_.displaySettings;
    options.density = DensityRange{view.viewStartMhz, view.viewStopMhz, densityBins};
    model_.analysisStarted(document_.carriers);
    runner_->start(document_.carriers, options);
    progress_->setValue(0);
    progressDelay_->start(progressDelayMs);
}

void IntermodPanel::shownChanged(bool shown)
{
    document_.fitPictureTexts = shown;
    Q_EMIT pictureChanged();
    if (shown && model_.stale() && !runner_->busy())
        startAnalysis();
    showState();
}

void IntermodPanel::showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis)
{
    progressDelay_->stop();
    progress_->hide();
    model_.analysisFinished(std::move(analysis));
    fillTable();
    showState();
    Q_EMIT analysisShown();
}

void IntermodPanel::fillTable()
{
    const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder sortOrder = table_->horizontalHeader()->sortIndicatorOrder();
    // Filled while no view watches the model: that spares the view a relayout per row.
    table_->setModel(nullptr);
    rows_->removeRows(0, rows_->rowCount());
    const std::vector<PanelColumn>& columns = IntermodPanelModel::columns();
    for (const PanelRow& row : model_.rows()) {
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
    markRows();
    table_->setModel(rows_);
    table_->sortByColumn(sortColumn, sortOrder);
    fitColumns();
}

void IntermodPanel::markRows()
{
    const std::vector<PanelRow> rows = model_.rows();
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
            row->mark == RowMark::belowWarning ? QVariant(QBrush(belowWarningColour))
            : row->mark == RowMark::incomplete ? QVariant(QBrush(incompleteColour))
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

void IntermodPanel::showState()
{
    summary_->setText(text(model_.summary()));
    summary_->setStyleSheet(model_.stale() && model_.analysis() ? QStringLiteral("color: #969696")
                                                                : QString());
    markRows();
    std::shared_ptr<const IntermodOverlay> overlay;
    if (toggleViewAction()->isChecked())
        overlay = model_.overlay();
    if (!overlay && !document_.intermodOverlay)
        return;
    document_.intermodOverlay = std::move(overlay);
    Q_EMIT pictureChanged();
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
