#pragma once

#include "commands/arrange_model.h"

#include <QWidget>

namespace orvane {

// A small picture of a plan, drawn as the window draws it with its texts fitted to the size,
// the hit carriers barred as the analysis panel bars them and some carriers outlined.
class PlanPreview : public QWidget {
    Q_OBJECT
public:
    explicit PlanPreview(QWidget* parent = nullptr);

    // The plan the picture names must outlive it, or the next picture.
    void setPicture(ArrangePicture picture);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ArrangePicture picture_;
};

} // namespace orvane
