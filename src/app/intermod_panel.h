#pragma once

#include "commands/intermod_panel_model.h"
#include "commands/plan_document.h"

#include <QDockWidget>
#include <QList>
#include <QString>

#include <memory>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTimer;

namespace orvane {

class BackoffChartView;
class IntermodRunner;
class ShareChartView;
class SimulationRunner;

// The intermodulation analysis as a panel beside or under the plan: a view over an
// IntermodPanelModel. Its boxes stand on tabs (Intermodulation, Budget, Amplifier), the table
// and the summary lines beside or under them. While shown it follows every change of the plan,
// analysing and simulating off the user-interface thread (after a pause in typing, not at every
// key), greys what is out of date until the newer result arrives and puts its layer on the plan
// picture.
class IntermodPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit IntermodPanel(PlanDocument& document, QWidget* parent = nullptr);
    ~IntermodPanel() override;

    const IntermodPanelModel& model() const { return model_; }
    // Whether a newer result is on its way: typing has yet to pause, or work runs.
    bool analysing() const;

public Q_SLOTS:
    // The plan or its view changed.
    void planChanged();
    // A measured amplifier curve was chosen (and read, well or not).
    void useAmplifierTable(const QString& path, const AmplifierTableRead& read);

Q_SIGNALS:
    // The layer on the plan picture changed.
    void pictureChanged();
    // The user asked to modify the carrier with this F-number.
    void modifyRequested(int fNumber);
    // The user asked to save the table (Save as CSV...).
    void saveRequested();
    // The user asked to choose the file of a measured amplifier curve.
    void amplifierTableRequested();
    // A row that opens nothing was double-clicked; the text says why.
    void rowNotOpened(const QString& why);
    // A new analysis is in the table (and, while shown, on the picture).
    void analysisShown();
    // A new simulation or sweep is shown.
    void simulationShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputs();
    void buildAmplifierPage(QGridLayout* grid);
    QWidget* buildResults();
    void addBox(QGridLayout* grid, PanelBox which, const QString& caption, const QString& name,
                const QString& toolTip);
    void boxEdited(PanelBox box, const QString& text);
    void amplifierChosen(int index);
    void inputsSettled();
    void startWork();
    void shownChanged(bool shown);
    void placeParts(Qt::DockWidgetArea area);
    void fitInputs();
    void showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis);
    void showSimulation(std::shared_ptr<const AmplifierSimulation> simulation);
    void showSweep(std::shared_ptr<const BackoffSweep> sweep);
    void showProgress();
    void stopWork();
    void fillTable(const std::vector<PanelRow>& rows);
    void markRows(const std::vector<PanelRow>& rows);
    // Shows the model's state; with refill the table's rows are made anew.
    void showState(bool refill = false);
    void showBudget();
    void showAmplifier();
    void fitColumns();
    void copySelectedRows();
    void rowActivated(int row);

    PlanDocument& document_;
    IntermodPanelModel model_;
    IntermodRunner* runner_;
    SimulationRunner* simulations_;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* boxes_[panelBoxCount] = {};
    QLabel* problems_[panelBoxCount] = {};
    QComboBox* amplifierChoice_ = nullptr;
    QList<QWidget*> simulatedRows_; // the IBO box and the sweep's chart
    QList<QWidget*> rappRow_;
    QList<QWidget*> tableRow_;
    QLabel* tableName_ = nullptr;
    QLabel* amplifierProblem_ = nullptr;
    ShareChartView* shareChart_ = nullptr;
    BackoffChartView* backoffChart_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLabel* workWarning_ = nullptr;
    QTimer* progressDelay_ = nullptr;
    QTimer* typingPause_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* budgetSummary_ = nullptr;
    QLabel* amplifierSummary_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* rows_ = nullptr;
    // The share done of the latest analysis, simulation and sweep under way.
    double shares_[3] = {};
};

} // namespace orvane
