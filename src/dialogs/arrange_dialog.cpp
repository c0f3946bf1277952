#include "dialogs/arrange_dialog.h"

#include "commands/help_request.h"
#include "dialogs/entry_problem.h"
#include "dialogs/placement_worker.h"
#include "dialogs/plan_preview.h"
#include "model/number_text.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace orvane {

namespace {

constexpr int progressSteps = 1000;
constexpr int progressPollMs = 50;
enum CarrierColumn { lockColumn, fColumn, labelColumn, centreColumn, proposedColumn };

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QString centreText(double centreMhz)
{
    return text(formatFixed(centreMhz, 0, 5));
}

// A range's box passes each key to its table at once, so that what Run reads is what the
// box shows, even when Enter runs before the box is closed.
class CommitAsTyped : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* box = qobject_cast<QLineEdit*>(editor))
            connect(box, &QLineEdit::textEdited, this,
                    [this, box] { Q_EMIT const_cast<CommitAsTyped*>(this)->commitData(box); });
        return editor;
    }
};

QTableWidget* makeTable(QWidget* parent, const QString& name, const QStringList& headings)
{
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false); // Tab leaves the table for the next control
    return table;
}

} // namespace

ArrangeDialog::ArrangeDialog(ArrangeModel& model, QWidget* parent)
    : HelpKeyDialog(helpKey::arrangeCarriers, parent), model_(model),
      worker_(new PlacementWorker(this))
{
    setWindowTitle(QStringLiteral("Arrange Carriers"));
    entries_ = new QWidget(this);
    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(buildEntries());
    left->addWidget(buildForbiddenRanges());
    left->addStretch(1);
    auto* entriesLayout = new QHBoxLayout(entries_);
    entriesLayout->setContentsMargins(0, 0, 0, 0);
    entriesLayout->addLayout(left);
    entriesLayout->addWidget(buildCarriers(), 1);

    // Run, Apply and Cancel in the order they are used.
    runButton_ = new QPushButton(QStringLiteral("&Run"), this);
    runButton_->setObjectName(QStringLiteral("buttonRun"));
    applyButton_ = new QPushButton(QStringLiteral("&Apply"), this);
    applyButton_->setObjectName(QStringLiteral("buttonApply"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this); // Escape is its key
    cancelButton_->setObjectName(QStringLiteral("buttonCancel"));
    // Enter runs wherever the focus is, but on Cancel only while Cancel itself is pressed.
    runButton_->setDefault(true);
    cancelButton_->setAutoDefault(false);
    connect(runButton_, &QPushButton::clicked, this, &ArrangeDialog::run);
    connect(applyButton_, &QPushButton::clicked, this, &ArrangeDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &ArrangeDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {runButton_, applyButton_, cancelButton_})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(entries_);
    layout->addWidget(buildResult(), 1);
    layout->addLayout(buttons);
    resize(1000, 760);

    // Tab goes through the entries, the two lists and then the buttons.
    std::vector<QWidget*> chain(boxes_.begin(), boxes_.end());
    chain.insert(chain.end(), {forbidden_, addRangeButton_, removeRangeButton_, carriers_,
                               runButton_, applyButton_, cancelButton_});
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    progressPoll_ = new QTimer(this);
    connect(progressPoll_, &QTimer::timeout, this, [this] {
        progress_->setValue(static_cast<int>(worker_->fractionDone() * progressSteps));
    });
    connect(worker_, &PlacementWorker::finished, this,
            [this](unsigned long long id, std::shared_ptr<const PlacementResult> result) {
                model_.finishRun(id, *result);
                runEnded();
            });
    connect(worker_, &PlacementWorker::failed, this,
            [this](unsigned long long id, const QString& failure) {
                model_.failRun(id, failure.toStdString());
                runEnded();
            });
    refresh();
    boxes_[0]->setFocus();
    boxes_[0]->selectAll();
}

ArrangeDialog::~ArrangeDialog()
{
    worker_->stop();
}

QWidget* ArrangeDialog::buildEntries()
{
    auto* form = new QWidget(entries_);
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    struct Entry {
        ArrangeBox box;
        const char* caption;
        const char* name;
        int row, column;
    };
    const Entry entries[] = {
        {ArrangeBox::bandLow, "&Band (MHz):", "editBandLow", 0, 0},
        {ArrangeBox::bandHigh, "t&o", "editBandHigh", 0, 2},
        {ArrangeBox::raster, "Ra&ster (kHz):", "editRaster", 1, 0},
        {ArrangeBox::spacing, "Spa&cing (kHz):", "editSpacing", 1, 2},
        {ArrangeBox::ip3, "&IP3 (dBW):", "editIp3", 2, 0},
        {ArrangeBox::guard, "&Guard (kHz):", "editGuard", 2, 2},
        {ArrangeBox::effort, "&Effort:", "editEffort", 3, 0},
    };
    for (const Entry& entry : entries) {
        auto* box = new QLineEdit(text(model_.text(entry.box)), form);
        box->setObjectName(QString::fromLatin1(entry.name));
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-00000.00000")));
        auto* caption = new QLabel(QString::fromLatin1(entry.caption), form);
        caption->setBuddy(box);
        grid->addWidget(caption, entry.row, entry.column);
        grid->addWidget(box, entry.row, entry.column + 1);
        boxes_[static_cast<std::size_t>(entry.box)] = box;
        connect(box, &QLineEdit::textEdited, this, [this, which = entry.box](const QString& typed) {
            model_.setText(which, typed.toStdString());
            refresh();
        });
    }
    boxes_[static_cast<std::size_t>(ArrangeBox::ip3)]->setPlaceholderText(
        QStringLiteral("none: hits only"));
    return form;
}

QWidget* ArrangeDialog::buildForbiddenRanges()
{
    auto* group = new QWidget(entries_);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    forbidden_ = makeTable(group, QStringLiteral("tableForbidden"),
                           {QStringLiteral("From (MHz)"), QStringLiteral("To (MHz)")});
    forbidden_->setItemDelegate(new CommitAsTyped(forbidden_));
    forbidden_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    forbidden_->setSelectionBehavior(QAbstractItemView::SelectRows);
    forbidden_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing on a range starts editing it; the arrow keys move between ranges.
    forbidden_->setEditTriggers(
        QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    // Room for four ranges and eight carriers: the picture takes the height left.
    const int rowHeight = forbidden_->verticalHeader()->defaultSectionSize();
    forbidden_->setFixedHeight(rowHeight * 5 + 4);
    auto* caption = new QLabel(QStringLiteral("&Forbidden ranges:"), group);
    caption->setBuddy(forbidden_);
    addRangeButton_ = new QPushButton(QStringLiteral("A&dd Range"), group);
    addRangeButton_->setObjectName(QStringLiteral("buttonAddRange"));
    removeRangeButton_ = new QPushButton(QStringLiteral("Re&move Range"), group);
    removeRangeButton_->setObjectName(QStringLiteral("buttonRemoveRange"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {addRangeButton_, removeRangeButton_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addWidget(caption);
    layout->addWidget(forbidden_, 1);
    layout->addLayout(buttons);
    connect(addRangeButton_, &QPushButton::clicked, this, &ArrangeDialog::addRange);
    connect(removeRangeButton_, &QPushButton::clicked, this, &ArrangeDialog::removeRange);
    connect(forbidden_, &QTableWidget::itemChanged, this, &ArrangeDialog::forbiddenEdited);
    return group;
}

QWidget* ArrangeDialog::buildCarriers()
{
    auto* group = new QWidget(entries_);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    carriers_ = makeTable(group, QStringLiteral("tableCarriers"),
                          {QStringLiteral("Lock"), QStringLiteral("F"), QStringLiteral("Label"),
                           QStringLiteral("Centre (MHz)"), QStringLiteral("Proposed (MHz)")});
    carriers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    carriers_->setSelectionMode(QAbstractItemView::SingleSelection);
    carriers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    carriers_->horizontalHeader()->setSectionResizeMode(labelColumn, QHeaderView::Stretch);
    carriers_->installEventFilter(this);
    carriers_->setFixedHeight(carriers_->verticalHeader()->defaultSectionSize() * 9 + 4);
    auto* caption = new QLabel(QStringLiteral("Carriers (&Lock keeps one where it is):"), group);
    caption->setBuddy(carriers_);
    layout->addWidget(caption);
    layout->addWidget(carriers_);
    layout->addStretch(1);
    fillCarriers();
    for (const int column : {lockColumn, fColumn, centreColumn, proposedColumn})
        carriers_->resizeColumnToContents(column);
    carriers_->setMinimumWidth(carriers_->horizontalHeader()->length() + 40);
    if (carriers_->rowCount() > 0)
        carriers_->setCurrentCell(0, lockColumn);
    connect(carriers_, &QTableWidget::itemChanged, this, &ArrangeDialog::lockEdited);
    return group;
}

QWidget* ArrangeDialog::buildResult()
{
    auto* result = new QWidget(this);
    auto* layout = new QVBoxLayout(result);
    layout->setContentsMargins(0, 0, 0, 0);
    progress_ = new QProgressBar(result);
    progress_->setObjectName(QStringLiteral("arrangeProgress"));
    progress_->setRange(0, progressSteps);
    status_ = new QLabel(result);
    status_->setObjectName(QStringLiteral("arrangeStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A row of headings over a row per figure, each a name, the value before and after.
    auto* grid = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto* cell = new QLabel(result);
            cell->setObjectName(QStringLiteral("figure%1_%2").arg(row).arg(column));
            if (row == 0)
                cell->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(cell, row, column);
            figures_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = cell;
        }
    }
    grid->setColumnStretch(3, 1);
    previewCaption_ = new QLabel(result);
    previewCaption_->setObjectName(QStringLiteral("arrangePreviewCaption"));
    preview_ = new PlanPreview(result);
    preview_->setObjectName(QStringLiteral("arrangePreview"));
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(grid);
    layout->addWidget(previewCaption_);
    layout->addWidget(preview_, 1);
    return result;
}

void ArrangeDialog::fillCarriers()
{
    filling_ = true;
    const std::vector<ArrangeCarrierRow>& rows = model_.carriers();
    carriers_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < carriers_->rowCount(); ++row) {
        const ArrangeCarrierRow& carrier = rows[static_cast<std::size_t>(row)];
        const auto cell = [&](int column, const QString& shown) {
            QTableWidgetItem* item = carriers_->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                carriers_->setItem(row, column, item);
            }
            item->setText(shown);
            return item;
        };
        QTableWidgetItem* lock = cell(lockColumn, QString());
        lock->setFlags(lock->flags() | Qt::ItemIsUserCheckable);
        lock->setCheckState(carrier.locked ? Qt::Checked : Qt::Unchecked);
        cell(fColumn, QStringLiteral("F%1").arg(carrier.fNumber));
        cell(labelColumn, text(carrier.label).replace(QLatin1Char('\t'), QLatin1Char(' ')));
        cell(centreColumn, centreText(carrier.centreMhz));
        cell(proposedColumn, carrier.proposedMhz ? centreText(*carrier.proposedMhz) : QString());
    }
    filling_ = false;
}

void ArrangeDialog::refresh()
{
    const bool running = model_.running();
    entries_->setEnabled(!running);
    runButton_->setEnabled(!running);
    applyButton_->setEnabled(model_.proposal() != nullptr);
    progress_->setVisible(running);
    status_->setText(text(model_.status()));
    std::vector<ArrangeFigure> figures = model_.figures();
    if (!figures.empty())
        figures.insert(figures.begin(), ArrangeFigure{"", "Before", "After"});
    for (std::size_t row = 0; row < figures_.size(); ++row) {
        const ArrangeFigure shown = row < figures.size() ? figures[row] : ArrangeFigure{};
        figures_[row][0]->setText(text(shown.name));
        figures_[row][1]->setText(text(shown.before));
        figures_[row][2]->setText(text(shown.after));
    }
    fillCarriers();
    ArrangePicture picture = model_.picture();
    previewCaption_->setText(text(picture.caption));
    preview_->setPicture(std::move(picture));
}

void ArrangeDialog::run()
{
    if (model_.running())
        return;
    const ArrangeModel::Start start = model_.startRun();
    if (start.problem) {
        showProblem(*start.problem);
        return;
    }
    if (start.run) {
        focusBeforeRun_ = focusWidget();
        progress_->setValue(0);
        worker_->start(*start.run);
        progressPoll_->start(progressPollMs);
        // The entries are greyed meanwhile; Escape, or Cancel, stops the run.
        cancelButton_->setFocus();
    }
    refresh();
}

void ArrangeDialog::runEnded()
{
    progressPoll_->stop();
    refresh();
    QWidget* back =
        focusBeforeRun_ && focusBeforeRun_->isEnabled() ? focusBeforeRun_.data() : runButton_;
    back->setFocus();
}

void ArrangeDialog::accept()
{
    if (model_.running() || !model_.proposal())
        return;
    HelpKeyDialog::accept();
}

void ArrangeDialog::reject()
{
    if (model_.running()) {
        worker_->cancel(); // the cancelled run comes back within moments
        return;
    }
    HelpKeyDialog::reject();
}

void ArrangeDialog::closeEvent(QCloseEvent* event)
{
    // The close box closes even during a run.
    worker_->stop();
    HelpKeyDialog::reject();
    event->accept();
}

void ArrangeDialog::addRange()
{
    model_.addForbidden();
    filling_ = true;
    const int row = forbidden_->rowCount();
    forbidden_->insertRow(row);
    for (int column = 0; column < 2; ++column)
        forbidden_->setItem(row, column, new QTableWidgetItem);
    filling_ = false;
    forbidden_->setFocus();
    forbidden_->setCurrentCell(row, 0);
    forbidden_->editItem(forbidden_->item(row, 0));
    refresh();
}

void ArrangeDialog::removeRange()
{
    const int row = forbidden_->currentRow();
    if (row < 0)
        return;
    model_.removeForbidden(row);
    forbidden_->removeRow(row);
    refresh();
}

void ArrangeDialog::forbiddenEdited(QTableWidgetItem* item)
{
    if (filling_)
        return;
    model_.setForbiddenText(item->row(), item->column() == 0 ? RangeEnd::low : RangeEnd::high,
                            item->text().toStdString());
    refresh();
}

void ArrangeDialog::lockEdited(QTableWidgetItem* item)
{
    if (filling_ || item->column() != lockColumn)
        return;
    model_.setLocked(item->row() + 1, item->checkState() == Qt::Checked);
    refresh();
}

bool ArrangeDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Space ticks the Lock of the current carrier, whichever of its cells is current.
    if (watched == carriers_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const int row = carriers_->currentRow();
        if (row >= 0) {
            QTableWidgetItem* lock = carriers_->item(row, lockColumn);
            lock->setCheckState(lock->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        return true;
    }
    return HelpKeyDialog::eventFilter(watched, event);
}

void ArrangeDialog::showProblem(const ArrangeEntryProblem& problem)
{
    if (!problem.forbiddenRow) {
        refuseEntry(this, boxes_[static_cast<std::size_t>(problem.box)], text(problem.text));
        return;
    }
    reportEntryProblem(this, text(problem.text));
    const int column = problem.end == RangeEnd::low ? 0 : 1;
    forbidden_->setFocus();
    forbidden_->setCurrentCell(*problem.forbiddenRow, column);
    forbidden_->editItem(forbidden_->item(*problem.forbiddenRow, column));
}

} // namespace orvane
