#include "app/chart_views.h"

#include "display/chart_scale.h"
#include "model/number_text.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

const QColor powerColour(200, 60, 40);
const QColor bandwidthColour(60, 110, 200);
const QColor outOfDateColour(170, 170, 170);
const QColor gridColour(225, 225, 225);
const QColor warningColour(176, 0, 0);
const QColor cimColour(90, 0, 200);
const QColor cnimColour(0, 130, 60);
const QColor nowColour(120, 120, 120);

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

// A tick's value as short as it goes: "0", "2.5", "20".
QString tickText(double value)
{
    return text(formatGeneral(value, 6));
}

// The room the chart's texts take around its plot, and the plot's pixels.
struct ChartFrame {
    QRect plot;
    int lineHeight = 0;
};

ChartFrame frameFor(const QWidget& widget, const QFontMetrics& metrics,
                    const std::vector<double>& ticks, int linesAbove, int linesBelow)
{
    int tickWidth = 0;
    for (const double tick : ticks)
        tickWidth = std::max(tickWidth, metrics.horizontalAdvance(tickText(tick)));
    const int line = metrics.height();
    ChartFrame frame;
    frame.lineHeight = line;
    frame.plot = QRect(QPoint(tickWidth + 8, line * linesAbove + line / 2),
                       QPoint(widget.width() - 8, widget.height() - 1 - line * linesBelow));
    return frame;
}

// The value axis at the left with a faint line across the plot at each tick.
void drawValueAxis(QPainter& painter, const ChartFrame& frame, const LinearScale& scale,
                   const std::vector<double>& ticks)
{
    for (const double tick : ticks) {
        const int y = static_cast<int>(std::lround(scale.pixel(tick)));
        painter.setPen(gridColour);
        painter.drawLine(frame.plot.left(), y, frame.plot.right(), y);
        painter.setPen(Qt::black);
        const QRect label(0, y - frame.lineHeight / 2, frame.plot.left() - 4, frame.lineHeight);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, tickText(tick));
    }
    painter.drawLine(frame.plot.bottomLeft(), frame.plot.topLeft());
    painter.drawLine(frame.plot.bottomLeft(), frame.plot.bottomRight());
}

// A coloured square and its name, from x on the line at y; returns where the next one goes.
int drawKey(QPainter& painter, int x, int y, int lineHeight, const QColor& colour,
            const QString& name)
{
    const int side = lineHeight * 2 / 3;
    painter.fillRect(x, y + (lineHeight - side) / 2, side, side, colour);
    painter.setPen(Qt::black);
    const int width = painter.fontMetrics().horizontalAdvance(name);
    painter.drawText(QRect(x + side + 4, y, width + 1, lineHeight), Qt::AlignVCenter, name);
    return x + side + 4 + width + 12;
}

} // namespace

ShareChartView::ShareChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shareChart"));
    setToolTip(QStringLiteral("Each carrier's share of the transponder's power (at the operating "
                              "point) and of its bandwidth. A carrier whose power bar stands "
                              "above its bandwidth bar is power-limited."));
}

void ShareChartView::setChart(ShareChart chart, bool outOfDate)
{
    chart_ = std::move(chart);
    outOfDate_ = outOfDate;
    update();
}

QSize ShareChartView::sizeHint() const
{
    return {320, fontMetrics().height() * 10};
}

QSize ShareChartView::minimumSizeHint() const
{
    return {160, fontMetrics().height() * 6};
}

void ShareChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics = fontMetrics();
    const ChartFrame frame = frameFor(*this, metrics, chart_.ticksPct, 1, 2);
    const int line = frame.lineHeight;
    int x = frame.plot.left();
    x = drawKey(painter, x, 0, line, outOfDate_ ? outOfDateColour : powerColour,
                QStringLiteral("power %"));
    x = drawKey(painter, x, 0, line, outOfDate_ ? outOfDateColour.lighter(115) : bandwidthColour,
                QStringLiteral("bandwidth %"));
    if (!chart_.note.empty()) {
        painter.setPen(chart_.noteIsWarning ? warningColour : Qt::black);
        painter.drawText(
            QRect(frame.plot.left(), height() - line, width() - frame.plot.left(), line),
            Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(text(chart_.note), Qt::ElideRight, width() - frame.plot.left()));
    }
    if (chart_.bars.empty() || chart_.ticksPct.empty() || frame.plot.height() < line ||
        frame.plot.width() < 10)
        return;

    const LinearScale scale{chart_.ticksPct.front(), chart_.ticksPct.back(),
                            static_cast<double>(frame.plot.bottom()),
                            static_cast<double>(frame.plot.top())};
    drawValueAxis(painter, frame, scale, chart_.ticksPct);
    const int count = static_cast<int>(chart_.bars.size());
    // Names under the groups as often as they fit without running into each other.
    const int nameWidth = metrics.horizontalAdvance(QStringLiteral("F0000"));
    const int groupWidth = std::max(1, frame.plot.width() / count);
    const int nameEvery = std::max(1, (nameWidth + groupWidth - 1) / groupWidth);
    const int bottom = frame.plot.bottom();
    for (int group = 0; group < count; ++group) {
        const ShareBar& bar = chart_.bars[static_cast<std::size_t>(group)];
        const double values[2] = {bar.powerSharePct, bar.bandwidthSharePct};
        const QColor colours[2] = {outOfDate_ ? outOfDateColour : powerColour,
                                   outOfDate_ ? outOfDateColour.lighter(115) : bandwidthColour};
        for (int which = 0; which < 2; ++which) {
            const PixelSpan span =
                groupedBarSpan(frame.plot.left() + 1, frame.plot.right(), count, 2, group, which);
            const int top = static_cast<int>(std::lround(scale.pixel(values[which])));
            painter.fillRect(
                QRect(QPoint(span.from, std::min(top, bottom)), QPoint(span.to - 1, bottom - 1)),
                colours[which]);
        }
        if (group % nameEvery == 0) {
            const PixelSpan first =
                groupedBarSpan(frame.plot.left() + 1, frame.plot.right(), count, 2, group, 0);
            const PixelSpan second =
                groupedBarSpan(frame.plot.left() + 1, frame.plot.right(), count, 2, group, 1);
            const int centre = (first.from + second.to) / 2;
            painter.setPen(Qt::black);
            painter.drawText(QRect(centre - nameWidth, bottom + 2, 2 * nameWidth, line),
                             Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("F%1").arg(bar.fNumber));
        }
    }
}

BackoffChartView::BackoffChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("backoffChart"));
    setToolTip(QStringLiteral("The worst carrier's C/IM and C/(N+IM) as the amplifier is driven "
                              "less hard (more input back-off): less intermodulation, but less "
                              "power and so more noise. The dot is the best operating point, "
                              "the grey line where the plan runs now."));
}

void BackoffChartView::setChart(BackoffChart chart, bool outOfDate)
{
    chart_ = std::move(chart);
    outOfDate_ = outOfDate;
    update();
}

QSize BackoffChartView::sizeHint() const
{
    return {320, fontMetrics().height() * 12};
}

QSize BackoffChartView::minimumSizeHint() const
{
    return {160, fontMetrics().height() * 8};
}

void BackoffChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics = fontMetrics();
    const bool noted = !chart_.note.empty();
    ChartFrame frame = frameFor(*this, metrics, chart_.ticksDb, 1, noted ? 3 : 2);
    const int line = frame.lineHeight;
    int x = frame.plot.left();
    x = drawKey(painter, x, 0, line, outOfDate_ ? outOfDateColour : cimColour,
                QStringLiteral("worst C/IM (dB)"));
    if (!chart_.worstCnimDb.empty())
        drawKey(painter, x, 0, line, outOfDate_ ? outOfDateColour : cnimColour,
                QStringLiteral("worst C/(N+IM) (dB)"));
    if (noted) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, height() - line, width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(text(chart_.note), Qt::ElideRight, width()));
    }
    if (chart_.worstCimDb.empty() || chart_.ticksDb.size() < 2 || chart_.ticksIboDb.size() < 2 ||
        frame.plot.height() < line || frame.plot.width() < 10)
        return;

    const LinearScale xScale{chart_.ticksIboDb.front(), chart_.ticksIboDb.back(),
                             static_cast<double>(frame.plot.left()),
                             static_cast<double>(frame.plot.right())};
    const LinearScale yScale{chart_.ticksDb.front(), chart_.ticksDb.back(),
                             static_cast<double>(frame.plot.bottom()),
                             static_cast<double>(frame.plot.top())};
    drawValueAxis(painter, frame, yScale, chart_.ticksDb);
    painter.setPen(Qt::black);
    for (const double tick : chart_.ticksIboDb) {
        const int tickX = static_cast<int>(std::lround(xScale.pixel(tick)));
        painter.drawLine(tickX, frame.plot.bottom(), tickX, frame.plot.bottom() + 3);
        painter.drawText(QRect(tickX - 30, frame.plot.bottom() + 2, 60, line), Qt::AlignHCenter,
                         tickText(tick));
    }
    painter.drawText(QRect(frame.plot.left(), frame.plot.bottom() + line, frame.plot.width(), line),
                     Qt::AlignHCenter, QStringLiteral("input back-off (dB)"));

    painter.setRenderHint(QPainter::Antialiasing);
    const auto pointAt = [&xScale, &yScale](const ChartPoint& point) {
        return QPointF(xScale.pixel(point.x), yScale.pixel(point.y));
    };
    if (chart_.currentIboDb) {
        const double nowX = xScale.pixel(*chart_.currentIboDb);
        painter.setPen(QPen(nowColour, 1, Qt::DashLine));
        painter.drawLine(QPointF(nowX, frame.plot.top()), QPointF(nowX, frame.plot.bottom()));
        painter.setPen(nowColour);
        painter.drawText(QRectF(nowX + 3, frame.plot.top(), 60, line), Qt::AlignLeft,
                         QStringLiteral("now"));
    }
    const auto drawSeries = [&](const std::vector<ChartPoint>& points, const QColor& colour) {
        if (points.empty())
            return;
        QPainterPath path(pointAt(points.front()));
        for (const ChartPoint& point : points)
            path.lineTo(pointAt(point));
        painter.setPen(QPen(outOfDate_ ? outOfDateColour : colour, 2));
        painter.drawPath(path);
    };
    drawSeries(chart_.worstCimDb, cimColour);
    drawSeries(chart_.worstCnimDb, cnimColour);
    if (chart_.best) {
        const QPointF best = pointAt(*chart_.best);
        painter.setBrush(outOfDate_ ? outOfDateColour : cnimColour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(best, 4.0, 4.0);
        painter.setPen(Qt::black);
        // A best point at an end of the sweep may lie beyond it.
        const bool atEnd = chart_.best->x <= chart_.worstCimDb.front().x ||
                           chart_.best->x >= chart_.worstCimDb.back().x;
        const QString label =
            QStringLiteral("best: IBO %1 dB, %2 dB%3")
                .arg(tickText(chart_.best->x), text(formatFixed(chart_.best->y, 0, 1)),
                     atEnd ? QStringLiteral(" (or beyond)") : QString());
        const int labelWidth = metrics.horizontalAdvance(label);
        // Under the dot, inside the plot.
        const int left = std::clamp(static_cast<int>(best.x()) - labelWidth / 2, frame.plot.left(),
                                    std::max(frame.plot.left(), frame.plot.right() - labelWidth));
        const int top = std::min(static_cast<int>(best.y()) + 6, frame.plot.bottom() - line);
        painter.drawText(QRect(left, top, labelWidth + 1, line), Qt::AlignLeft, label);
    }
}

} // namespace orvane
