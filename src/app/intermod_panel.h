#pragma once

#include "commands/intermod_panel_model.h"
#include "commands/plan_document.h"

#include <QDockWidget>
#include <QString>

#include <memory>

class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSplitter;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTimer;

namespace orvane {

class IntermodRunner;
class ShareChartView;

// The intermodulation analysis as a panel beside or under the plan: a view over an
// IntermodPanelModel. Its boxes stand on tabs (Intermodulation, Budget), the table and the
// summary lines beside or under them. While shown it follows every change of the plan,
// analysing off the user-interface thread (after a pause in typing, not at every key), greys
// what is out of date until the newer result arrives and puts its layer on the plan picture.
class IntermodPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit IntermodPanel(PlanDocument& document, QWidget* parent = nullptr);
    ~IntermodPanel() override;

    const IntermodPanelModel& model() const { return model_; }
    // Whether a newer result is on its way: typing has yet to pause, or an analysis runs.
    bool analysing() const;

public Q_SLOTS:
    // The plan or its view changed.
    void planChanged();

Q_SIGNALS:
    // The layer on the plan picture changed.
    void pictureChanged();
    // The user asked to modify the carrier with this F-number.
    void modifyRequested(int fNumber);
    // The user asked to save the table (Save as CSV...).
    void saveRequested();
    // A row that opens nothing was double-clicked; the text says why.
    void rowNotOpened(const QString& why);
    // A new analysis is in the table (and, while shown, on the picture).
    void analysisShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputs();
    QWidget* buildResults();
    void addBox(QGridLayout* grid, PanelBox which, const QString& caption, const QString& name,
                const QString& toolTip);
    void boxEdited(PanelBox box, const QString& text);
    void inputsSettled();
    void startAnalysis();
    void shownChanged(bool shown);
    void placeParts(Qt::DockWidgetArea area);
    void fitInputs();
    void showAnalysis(std::shared_ptr<const IntermodAnalysis> analysis);
    void fillTable();
    void markRows();
    void showState();
    void showBudget();
    void fitColumns();
    void copySelectedRows();
    void rowActivated(int row);

    PlanDocument& document_;
    IntermodPanelModel model_;
    IntermodRunner* runner_;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* boxes_[panelBoxCount] = {};
    QLabel* problems_[panelBoxCount] = {};
    ShareChartView* shareChart_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* progressDelay_ = nullptr;
    QTimer* typingPause_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* budgetSummary_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* rows_ = nullptr;
    bool analysisWanted_ = false; // an edit of the inputs waits for typing to pause
};

} // namespace orvane
