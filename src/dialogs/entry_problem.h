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

// The framework's texts for a box that does not hold what it must.
inline const char* const enterNumberText = "Please enter a number.";
inline const char* const enterIntegerText = "Please enter an integer.";

} // namespace orvane
