#pragma once

#include "commands/arrange_model.h"
#include "dialogs/help_key_dialog.h"

#include <QPointer>

#include <array>
#include <memory>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTimer;

namespace orvane {

class PlacementWorker;
class PlanPreview;

// Edit > Arrange Carriers: the placement's entries, Run with its progress, the figures before
// and after and a picture of the proposal, and Apply. A view over an ArrangeModel; the
// placement runs on the dialog's own thread. Enter runs; Escape (or Cancel) stops a run under
// way and otherwise closes the dialog; Space ticks the Lock of the carrier in the list.
class ArrangeDialog : public HelpKeyDialog {
    Q_OBJECT
public:
    ArrangeDialog(ArrangeModel& model, QWidget* parent = nullptr);
    ~ArrangeDialog() override;

    // Apply: only with a proposal for the entries as they stand.
    void accept() override;
    // A run under way is stopped; otherwise the dialog closes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildEntries();
    QWidget* buildForbiddenRanges();
    QWidget* buildCarriers();
    QWidget* buildResult();
    void fillCarriers();
    void run();
    void runEnded();
    void addRange();
    void removeRange();
    void forbiddenEdited(QTableWidgetItem* item);
    void lockEdited(QTableWidgetItem* item);
    void showProblem(const ArrangeEntryProblem& problem);
    // Everything the model says, after any change.
    void refresh();

    ArrangeModel& model_;
    PlacementWorker* worker_;
    std::array<QLineEdit*, arrangeBoxCount> boxes_{};
    QWidget* entries_ = nullptr;
    QTableWidget* forbidden_ = nullptr;
    QPushButton* addRangeButton_ = nullptr;
    QPushButton* removeRangeButton_ = nullptr;
    QTableWidget* carriers_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* progressPoll_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<std::array<QLabel*, 3>, 4> figures_{}; // headings, then a row per figure
    QLabel* previewCaption_ = nullptr;
    PlanPreview* preview_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPointer<QWidget> focusBeforeRun_;
    bool filling_ = false; // tables being filled: their changes are not the user's
};

} // namespace orvane
