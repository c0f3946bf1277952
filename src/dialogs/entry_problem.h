#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace orvane {

// How a dialog tells the user that an entry cannot be accepted. By default a warning box with
// an OK button over the dialog; tests install a recorder instead.
using EntryProblemReporter = std::function<void(QWidget* dialog, const QString& message)>;
void setEntryProblemReporter(EntryProblemReporter reporter); // an empty one restores the box
void reportEntryProblem(QWidget* dialog, const QString& message);
// Shows the message, then puts the focus in the field with its text selected.
void refuseEntry(QWidget* dialog, QWidget* field, const QString& message);
void focusEntry(QWidget* field);

} // namespace orvane
