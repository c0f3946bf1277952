#pragma once

#include "commands/plan_document.h"

#include <QWidget>

#include <optional>
#include <string>

namespace orvane {

// The window caption during a paint: the base caption and the client size, " (%i,%i) ".
std::string planCaption(const std::string& baseCaption, int clientWidth, int clientHeight);

// The main window's client area: draws the whole plan anew on every paint. Pointing at a
// carrier shows what it is; a click marks it (drawn highlighted over the plan); a double-click
// and the Delete key ask the window to modify or delete it.
class PlanView : public QWidget {
    Q_OBJECT
public:
    PlanView(PlanDocument& document, QWidget* parent = nullptr);

    // The caption shown before the client size.
    void setBaseCaption(const QString& caption) { baseCaption_ = caption; }
    const QString& baseCaption() const { return baseCaption_; }

    // The carrier under a point of the view, by the shapes the picture draws.
    std::optional<int> carrierAt(const QPoint& point) const;
    // The marked carrier; none once the plan no longer holds it at its place.
    std::optional<int> markedCarrier() const;
    void markCarrier(std::optional<int> index);

Q_SIGNALS:
    void modifyRequested(int index);
    void deleteRequested(int index);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PlanDocument& document_;
    QString baseCaption_;
    std::optional<int> markedIndex_;
    Carrier markedCarrier_;
};

} // namespace orvane
