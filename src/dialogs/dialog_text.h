#pragma once

#include <QString>

#include <optional>
#include <string>

class QLineEdit;

namespace orvane {

// A stored label (line breaks kept as TABs) as the label box shows it, and back.
QString labelTextForBox(const std::string& label);
std::string labelFromBox(const QString& text);

// A number box's text as a finite number; blanks around it are allowed, nothing else is.
// Read without the user's locale: the point is the decimal separator.
std::optional<double> readNumberText(const QString& text);
// A whole number with an optional sign, blanks around it allowed, within the int range.
std::optional<int> readIntegerText(const QString& text);
// The leading whole number of a text (after blanks and an optional sign), as atoi reads it
// but clamped to the int range; 0 when the text does not start with digits.
int leadingInteger(const QString& text);

// A value as a box can show it: not-a-number and infinities become 0.
double finiteOrZero(double value);

// The general format with up to 15 significant digits (1000, 740.741, 1.08510638297872).
QString numberText(double value);

// Writes a value into a box unless its text already reads as that value, so the dialog's
// own writing never disturbs what the user typed and dies out after one round. True when
// the text was rewritten.
bool showNumber(QLineEdit* box, double value);
bool showInteger(QLineEdit* box, int value);
bool showText(QLineEdit* box, const QString& text);

} // namespace orvane
