#pragma once

#include "analysis/intermod_analysis.h"
#include "app/plan_document.h"

#include <QDockWidget>

#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QProgressBar;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace orvane {

class IntermodRunner;

// The intermodulation analysis as a panel under the plan: the intercept point, guard and
// warning threshold, and a table of what the products do to each carrier. While shown it
// follows every change of the plan, analysing off the user-interface thread, and puts its
// overlay on the plan picture.
class IntermodPanel : public QDockWidget {
    Q_OBJECT
public:
    IntermodPanel(PlanDocument& document, QWidget* parent = nullptr);
    ~IntermodPanel() override;

    // The analysis the table shows; none before the first.
    const IntermodAnalysis* analysis() const { return analysis_.get(); }
    // Whether a newer analysis is on its way.
    bool analysing() const;
    QTableView* table() const { return table_; }
    QLineEdit* ip3Box() const { return ip3Edit_; }
    QLineEdit* guardBox() const { return guardEdit_; }
    QLineEdit* warningBox() const { return warningEdit_; }
    // The text beside a box: what is wrong with its entry, or empty.
    QString problemBeside(const QLineEdit* box) const;
    // The selected rows as the clipboard gets them: cells as shown, tab-separated.
    QString selectedRowsText() const;

public Q_SLOTS:
    // The plan, its view or the panel's inputs changed.
    void planChanged();
    void copySelectedRows();

Q_SIGNALS:
    // The overlay on the plan picture changed.
    void pictureChanged();
    // The user asked to modify the carrier with this F-number.
    void modifyRequested(int fNumber);
    // A new analysis is in the table (and, while shown, on the picture).
    void analysisShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Inputs {
        std::optional<double> ip3Dbw;
        double guardKhz = 0.0;
    };

    QWidget* buildInputs();
    QStandardItemModel* newModel();
    std::optional<Inputs> readInputs();
    std::optional<double> readWarningThreshold();
    void inputsEdited();
    void shownChanged(bool shown);
    void showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis);
    void fillTable();
    void markRows();
    void updateOverlay();
    void saveAsCsv();
    void rowActivated(int row);

    PlanDocument& document_;
    IntermodRunner* runner_;
    QLineEdit* ip3Edit_;
    QLineEdit* guardEdit_;
    QLineEdit* warningEdit_;
    QLabel* ip3Problem_;
    QLabel* guardProblem_;
    QLabel* warningProblem_;
    QProgressBar* progress_;
    QTimer* progressDelay_;
    QLabel* summary_;
    QTableView* table_;
    QStandardItemModel* model_;
    std::shared_ptr<const IntermodAnalysis> analysis_;
    // The sorted plan of the analysis under way and of the one shown, for the hit bands.
    CarrierList pendingPlan_;
    CarrierList shownPlan_;
    double warningCimDb_ = 20.0;
    bool stale_ = true;
};

} // namespace orvane
