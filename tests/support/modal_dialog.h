#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace orvane::test {

// Runs action on the modal dialog that the code under test opens, as soon as it is up.
inline void whenModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else
            whenModal(action);
    });
}

} // namespace orvane::test
