#pragma once

#include "app/plan_document.h"

#include <QWidget>

#include <string>

namespace orvane {

// The window caption during a paint: the base caption and the client size, " (%i,%i) ".
std::string planCaption(const std::string& baseCaption, int clientWidth, int clientHeight);

// The main window's client area: draws the whole plan anew on every paint.
class PlanView : public QWidget {
    Q_OBJECT
public:
    PlanView(PlanDocument& document, QWidget* parent = nullptr);

    // The caption shown before the client size.
    void setBaseCaption(const QString& caption) { baseCaption_ = caption; }
    const QString& baseCaption() const { return baseCaption_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PlanDocument& document_;
    QString baseCaption_;
};

} // namespace orvane
