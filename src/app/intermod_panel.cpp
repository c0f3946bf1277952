#include "app/intermod_panel.h"

#include "app/intermod_runner.h"
#include "app/settings_store.h"
#include "dialogs/help_request.h"
#include "files/file_error.h"
#include "files/safe_file_writer.h"
#include "model/number_text.h"
#include "model/program_identity.h"
#include "report/intermod_table.h"
#include "report/path_names.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <map>

namespace orvane {

namespace {

enum Column {
    fColumn,
    labelColumn,
    centreColumn,
    twoToneColumn,
    threeToneColumn,
    strongestColumn,
    cimColumn,
    columnCount
};

// The curve is worked out in this many bins across the view, a pixel or two each.
constexpr int densityBins = 512;
// A short analysis finishes before a progress bar would only flash.
constexpr int progressDelayMs = 150;
const QColor belowWarningColour(255, 200, 200);
const QColor incompleteColour(255, 236, 170);

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QStandardItem* cell(const QString& shown, double sortKey)
{
    auto* item = new QStandardItem(shown);
    item->setData(sortKey, Qt::UserRole);
    item->setEditable(false);
    return item;
}

QString decibels(double value)
{
    return text(formatFixed(value, 0, 2));
}

// An incomplete carrier's C/IM leaves out the products without a level: at most this much.
QString cimText(const CarrierIntermod& carrier)
{
    if (!carrier.cimDb)
        return QString();
    const bool incomplete = carrier.complete && !*carrier.complete;
    return (incomplete ? QStringLiteral("\u2264 ") : QString()) + decibels(*carrier.cimDb);
}

// A box's number: none for an empty box, an error text for anything else that is not one.
struct BoxNumber {
    std::optional<double> value;
    QString problem;
};

BoxNumber readBox(const QLineEdit* box, bool allowNegative)
{
    BoxNumber read;
    const std::string entry = box->text().trimmed().toStdString();
    if (entry.empty())
        return read;
    double value = 0.0;
    if (!parseWholeNumber(entry, value) || !std::isfinite(value))
        read.problem = QStringLiteral("Not a number");
    else if (!allowNegative && value < 0.0)
        read.problem = QStringLiteral("Not below 0");
    else
        read.value = value;
    return read;
}

} // namespace

IntermodPanel::IntermodPanel(PlanDocument& document, QWidget* parent)
    : QDockWidget(QStringLiteral("Intermodulation Analysis"), parent), document_(document),
      runner_(new IntermodRunner(this))
{
    setObjectName(QStringLiteral("intermodPanel"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(buildInputs());
    summary_ = new QLabel(content);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    model_ = newModel();
    table_ = new QTableView(content);
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(fColumn, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);
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

    // F1 anywhere in the panel opens its own page rather than the main window's.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
}

IntermodPanel::~IntermodPanel() = default;

QStandardItemModel* IntermodPanel::newModel()
{
    auto* model = new QStandardItemModel(0, columnCount, this);
    model->setHorizontalHeaderLabels(
        {QStringLiteral("F#"), QStringLiteral("Label"), QStringLiteral("Centre (MHz)"),
         QStringLiteral("Hits 2-tone"), QStringLiteral("Hits 3-tone"),
         QStringLiteral("Strongest product"), QStringLiteral("C/IM (dB)")});
    model->setSortRole(Qt::UserRole);
    return model;
}

QWidget* IntermodPanel::buildInputs()
{
    auto* inputs = new QWidget(this);
    auto* row = new QHBoxLayout(inputs);
    row->setContentsMargins(0, 0, 0, 0);
    const IntermodInputs stored = readIntermodInputs();
    const auto addBox = [&](const QString& caption, const std::string& value, QLineEdit*& box,
                            QLabel*& problem) {
        row->addWidget(new QLabel(caption, inputs));
        box = new QLineEdit(text(value), inputs);
        box->setMaximumWidth(90);
        row->addWidget(box);
        problem = new QLabel(inputs);
        problem->setStyleSheet(QStringLiteral("color: #b00000"));
        row->addWidget(problem);
        connect(box, &QLineEdit::textEdited, this, &IntermodPanel::inputsEdited);
    };
    addBox(QStringLiteral("IP3 (dBW):"), stored.ip3Dbw, ip3Edit_, ip3Problem_);
    ip3Edit_->setPlaceholderText(QStringLiteral("hits only"));
    ip3Edit_->setToolTip(QStringLiteral("The transponder's output third-order intercept point. "
                                        "Empty: which products hit which carriers, no levels."));
    addBox(QStringLiteral("Guard (kHz):"), stored.guardKhz, guardEdit_, guardProblem_);
    addBox(QStringLiteral("Warn below C/IM (dB):"), stored.warningCimDb, warningEdit_,
           warningProblem_);
    row->addStretch(1);
    progress_ = new QProgressBar(inputs);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(160);
    progress_->hide();
    row->addWidget(progress_);
    progressDelay_ = new QTimer(this);
    progressDelay_->setSingleShot(true);
    connect(progressDelay_, &QTimer::timeout, this, [this] {
        if (runner_->busy())
            progress_->show();
    });
    auto* save = new QPushButton(QStringLiteral("Save as CSV..."), inputs);
    connect(save, &QPushButton::clicked, this, &IntermodPanel::saveAsCsv);
    row->addWidget(save);
    if (const std::optional<double> warning = readWarningThreshold())
        warningCimDb_ = *warning;
    return inputs;
}

bool IntermodPanel::analysing() const
{
    return runner_->busy();
}

QString IntermodPanel::problemBeside(const QLineEdit* box) const
{
    if (box == ip3Edit_)
        return ip3Problem_->text();
    if (box == guardEdit_)
        return guardProblem_->text();
    return warningProblem_->text();
}

std::optional<IntermodPanel::Inputs> IntermodPanel::readInputs()
{
    const BoxNumber ip3 = readBox(ip3Edit_, true);
    const BoxNumber guard = readBox(guardEdit_, false);
    ip3Problem_->setText(ip3.problem);
    guardProblem_->setText(guard.problem);
    if (!ip3.problem.isEmpty() || !guard.problem.isEmpty())
        return std::nullopt;
    return Inputs{ip3.value, guard.value.value_or(0.0)};
}

std::optional<double> IntermodPanel::readWarningThreshold()
{
    const BoxNumber warning = readBox(warningEdit_, true);
    warningProblem_->setText(warning.problem);
    if (!warning.problem.isEmpty())
        return std::nullopt;
    return warning.value.value_or(-std::numeric_limits<double>::infinity());
}

void IntermodPanel::inputsEdited()
{
    writeIntermodInputs({ip3Edit_->text().toStdString(), guardEdit_->text().toStdString(),
                         warningEdit_->text().toStdString()});
    if (const std::optional<double> warning = readWarningThreshold()) {
        if (*warning != warningCimDb_) {
            warningCimDb_ = *warning;
            markRows();
        }
    }
    planChanged();
}

void IntermodPanel::planChanged()
{
    stale_ = true;
    if (!toggleViewAction()->isChecked())
        return;
    const std::optional<Inputs> inputs = readInputs();
    if (!inputs)
        return; // the last result stays
    IntermodOptions options;
    options.ip3Dbw = inputs->ip3Dbw;
    options.guardKhz = inputs->guardKhz;
    const DisplaySettings& view = document_.displaySettings;
    options.density = DensityRange{view.viewStartMhz, view.viewStopMhz, densityBins};
    pendingPlan_ = document_.carriers;
    pendingPlan_.sortByFrequency();
    stale_ = false;
    runner_->start(document_.carriers, options);
    progress_->setValue(0);
    progressDelay_->start(progressDelayMs);
}

void IntermodPanel::shownChanged(bool shown)
{
    if (shown && stale_)
        planChanged();
    updateOverlay();
}

void IntermodPanel::showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis)
{
    progressDelay_->stop();
    progress_->hide();
    analysis_ = std::move(analysis);
    shownPlan_ = pendingPlan_;
    fillTable();
    updateOverlay();
    Q_EMIT analysisShown();
}

void IntermodPanel::fillTable()
{
    const IntermodAnalysis& analysis = *analysis_;
    const bool wasEmpty = model_->rowCount() == 0;
    const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder sortOrder = table_->horizontalHeader()->sortIndicatorOrder();
    // A new model, filled while no view watches it: that spares the view a relayout per row.
    // The old one goes with the selection the view kept on it.
    std::unique_ptr<QStandardItemModel> old(model_);
    model_ = newModel();
    if (analysis.refusal) {
        table_->setModel(model_);
        summary_->setText(text(*analysis.refusal));
        return;
    }
    const double none = std::numeric_limits<double>::infinity();
    for (const CarrierIntermod& carrier : analysis.carriers) {
        QString label = text(carrier.label);
        label.replace(QLatin1Char('\t'), QLatin1Char(' '));
        QString strongest;
        double strongestKey = -none;
        if (carrier.strongest) {
            strongest = text(carrier.strongest->label) + QStringLiteral(" at ") +
                        text(formatFixed(carrier.strongest->frequencyMhz, 0, 5));
            if (carrier.strongest->powerDbw) {
                strongest += QStringLiteral(", ") + decibels(*carrier.strongest->powerDbw) +
                             QStringLiteral(" dBW");
                strongestKey = *carrier.strongest->powerDbw;
            }
        }
        model_->appendRow(
            {cell(QStringLiteral("F%1").arg(carrier.fNumber), carrier.fNumber), cell(label, 0.0),
             cell(text(formatFixed(carrier.centreFrequencyMhz, 0, 5)), carrier.centreFrequencyMhz),
             cell(QString::number(carrier.twoToneHits), static_cast<double>(carrier.twoToneHits)),
             cell(QString::number(carrier.threeToneHits),
                  static_cast<double>(carrier.threeToneHits)),
             cell(strongest, strongestKey),
             cell(cimText(carrier), carrier.cimDb ? *carrier.cimDb : none)});
        // Labels sort as text.
        model_->item(model_->rowCount() - 1, labelColumn)->setData(label, Qt::UserRole);
    }
    markRows();
    table_->setModel(model_);
    table_->sortByColumn(sortColumn, sortOrder);
    // Columns fit the first rows; later the user's widths stay.
    if (wasEmpty)
        table_->resizeColumnsToContents();

    QString summary;
    if (analysis.carriers.empty()) {
        summary = QStringLiteral("No carriers.");
    } else {
        summary = QStringLiteral("%1 products, %2 of them hit a carrier.")
                      .arg(text(formatInteger(analysis.products)),
                           text(formatInteger(analysis.productsHitting)));
        if (!analysis.ip3Dbw)
            summary += QStringLiteral(" No intercept point: hits only.");
        else if (analysis.minCimDb)
            summary += QStringLiteral(" Lowest C/IM %1 dB, at F%2.")
                           .arg(decibels(*analysis.minCimDb))
                           .arg(*analysis.worstCarrier);
    }
    summary_->setText(summary);
}

void IntermodPanel::markRows()
{
    if (!analysis_)
        return;
    std::map<int, const CarrierIntermod*> byNumber;
    for (const CarrierIntermod& carrier : analysis_->carriers)
        byNumber[carrier.fNumber] = &carrier;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const int fNumber = model_->item(row, fColumn)->data(Qt::UserRole).toInt();
        const CarrierIntermod& carrier = *byNumber.at(fNumber);
        const bool below = carrier.cimDb && *carrier.cimDb < warningCimDb_;
        const bool incomplete = carrier.complete && !*carrier.complete;
        QStringList notes;
        if (below)
            notes << QStringLiteral("C/IM below %1 dB.").arg(decibels(warningCimDb_));
        if (incomplete)
            notes << QStringLiteral("A product without a level hits this carrier: its C/IM "
                                    "leaves that product out and is an upper bound.");
        const QVariant background = below        ? QVariant(QBrush(belowWarningColour))
                                    : incomplete ? QVariant(QBrush(incompleteColour))
                                                 : QVariant();
        for (int column = 0; column < columnCount; ++column) {
            QStandardItem* item = model_->item(row, column);
            item->setData(background, Qt::BackgroundRole);
            item->setToolTip(notes.join(QLatin1Char('\n')));
        }
    }
}

void IntermodPanel::updateOverlay()
{
    std::shared_ptr<const IntermodOverlay> overlay;
    if (toggleViewAction()->isChecked() && analysis_ && !analysis_->refusal) {
        auto made = std::make_shared<IntermodOverlay>();
        made->density = analysis_->density;
        for (const CarrierIntermod& carrier : analysis_->carriers) {
            if (carrier.twoToneHits + carrier.threeToneHits == 0)
                continue;
            const Carrier& hit = shownPlan_[carrier.fNumber - 1];
            made->hitBandsMhz.emplace_back(hit.lowerEdgeMhz(), hit.upperEdgeMhz());
        }
        overlay = std::move(made);
    }
    if (!overlay && !document_.intermodOverlay)
        return;
    document_.intermodOverlay = std::move(overlay);
    Q_EMIT pictureChanged();
}

QString IntermodPanel::selectedRowsText() const
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QString copied;
    for (const int row : rows) {
        QStringList cells;
        for (int column = 0; column < columnCount; ++column)
            cells << model_->item(row, column)->text();
        copied += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return copied;
}

void IntermodPanel::copySelectedRows()
{
    const QString copied = selectedRowsText();
    if (!copied.isEmpty())
        QApplication::clipboard()->setText(copied);
}

void IntermodPanel::rowActivated(int row)
{
    // A row of an older plan could name another carrier by now.
    if (runner_->busy() || stale_ || row < 0 || row >= model_->rowCount())
        return;
    Q_EMIT modifyRequested(model_->item(row, fColumn)->data(Qt::UserRole).toInt());
}

void IntermodPanel::saveAsCsv()
{
    if (!analysis_ || analysis_->refusal)
        return;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Intermodulation Analysis"),
        text(document_.lastPath.empty() ? std::string("intermod.csv")
                                        : document_.lastPath + "/intermod.csv"),
        QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    document_.lastPath = directoryOf(path.toStdString());
    if (const std::optional<FileError> error =
            writeFileSafely(path.toStdString(), intermodTableCsv(*analysis_)))
        QMessageBox::warning(this, QString::fromLatin1(programCaption),
                             text(fileErrorText(*error)));
}

bool IntermodPanel::eventFilter(QObject* watched, QEvent* event)
{
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
