#pragma once

#include "commands/panel_charts.h"

#include <QWidget>

namespace orvane {

// The budget's chart: each carrier's power share and bandwidth share as bars side by side,
// drawn from the numbers of a ShareChart.
class ShareChartView : public QWidget {
    Q_OBJECT
public:
    explicit ShareChartView(QWidget* parent = nullptr);

    void setChart(ShareChart chart, bool outOfDate);
    const ShareChart& chart() const { return chart_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShareChart chart_;
    bool outOfDate_ = false;
};

} // namespace orvane
