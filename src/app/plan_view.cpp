#include "app/plan_view.h"

#include "app/plan_picture.h"
#include "display/carrier_hit_test.h"
#include "display/carrier_summary.h"
#include "display/qt/highlight_painting.h"
#include "model/number_text.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace orvane {

std::string planCaption(const std::string& baseCaption, int clientWidth, int clientHeight)
{
    return baseCaption + " (" + formatInteger(clientWidth) + "," + formatInteger(clientHeight) +
           ") ";
}

PlanView::PlanView(PlanDocument& document, QWidget* parent) : QWidget(parent), document_(document)
{
    // Every paint draws the whole picture, background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

std::optional<int> PlanView::carrierAt(const QPoint& point) const
{
    return carrierAtPixel(document_.carriers, document_.displaySettings, width(), height(),
                          point.x(), point.y());
}

std::optional<int> PlanView::markedCarrier() const
{
    if (!markedIndex_ || *markedIndex_ >= document_.carriers.count())
        return std::nullopt;
    const Carrier& now = document_.carriers[*markedIndex_];
    if (now.centreFrequencyMhz != markedCarrier_.centreFrequencyMhz ||
        now.occupiedBandwidthMhz != markedCarrier_.occupiedBandwidthMhz ||
        now.powerDbw != markedCarrier_.powerDbw || now.label != markedCarrier_.label)
        return std::nullopt;
    return markedIndex_;
}

void PlanView::markCarrier(std::optional<int> index)
{
    if (index && (*index < 0 || *index >= document_.carriers.count()))
        index.reset();
    markedIndex_ = index;
    if (index)
        markedCarrier_ = document_.carriers[*index];
    update();
}

bool PlanView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    if (const std::optional<int> index = carrierAt(help->pos())) {
        QToolTip::showText(help->globalPos(),
                           QString::fromStdString(carrierSummary(document_.carriers[*index])),
                           this);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

void PlanView::paintEvent(QPaintEvent*)
{
    if (QWidget* topLevel = window(); topLevel != this) {
        topLevel->setWindowTitle(
            QString::fromStdString(planCaption(baseCaption_.toStdString(), width(), height())));
    }
    QPainter painter(this);
    paintPlanPicture(painter, document_, size());
    if (const std::optional<int> marked = markedCarrier())
        paintCarrierHighlight(painter, size(), document_.displaySettings, document_.carriers,
                              *marked);
}

void PlanView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}

void PlanView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        markCarrier(carrierAt(event->position().toPoint()));
    QWidget::mousePressEvent(event);
}

void PlanView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    if (const std::optional<int> index = carrierAt(event->position().toPoint())) {
        markCarrier(index);
        Q_EMIT modifyRequested(*index);
    }
}

void PlanView::keyPressEvent(QKeyEvent* event)
{
    const std::optional<int> marked = markedCarrier();
    if (event->key() == Qt::Key_Delete &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && marked) {
        Q_EMIT deleteRequested(*marked);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orvane
