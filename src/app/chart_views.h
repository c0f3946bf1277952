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

// The amplifier's chart: the worst carrier's C/IM and C/(N+IM) against the input back-off, the
// best operating point and the one the plan runs at, drawn from the numbers of a BackoffChart.
class BackoffChartView : public QWidget {
    Q_OBJECT
public:
    explicit BackoffChartView(QWidget* parent = nullptr);

    void setChart(BackoffChart chart, bool outOfDate);
    const BackoffChart& chart() const { return chart_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BackoffChart chart_;
    bool outOfDate_ = false;
};

} // namespace orvane
