#include "app/plan_view.h"

#include "app/plan_picture.h"
#include "model/number_text.h"

#include <QPainter>

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

void PlanView::paintEvent(QPaintEvent*)
{
    if (QWidget* topLevel = window(); topLevel != this) {
        topLevel->setWindowTitle(
            QString::fromStdString(planCaption(baseCaption_.toStdString(), width(), height())));
    }
    QPainter painter(this);
    paintPlanPicture(painter, document_, size());
}

void PlanView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}

} // namespace orvane
