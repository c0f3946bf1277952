#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

namespace orvane::test {

// The pairs of visible controls of one parent that cover each other: a control laid into a
// cell that another already holds.
inline QStringList overlappingControls(const QWidget* parent)
{
    const QList<QWidget*> controls = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const auto name = [](const QWidget* control) {
        return QString::fromLatin1(control->metaObject()->className()) + ' ' +
               control->objectName();
    };
    QStringList found;
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j)
            if (controls[i]->isVisible() && controls[j]->isVisible() &&
                controls[i]->geometry().intersects(controls[j]->geometry()))
                found << name(controls[i]) + " ~ " + name(controls[j]);
    return found;
}

} // namespace orvane::test
