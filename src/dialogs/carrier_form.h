#pragma once

#include <QString>

class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace orvane {

// Building blocks of the carrier dialogs' forms.

// A box for a real number, wide enough for 15 significant digits with sign and exponent.
QLineEdit* makeNumberBox(QWidget* parent, const QString& objectName);
// The roll-off box: a whole percent, digits only.
QLineEdit* makeRolloffBox(QWidget* parent);
// A narrow box for a Reed-Solomon n or k.
QLineEdit* makeCodeBox(QWidget* parent, const QString& objectName);
// The multi-line label box: Enter starts a new line, Tab moves on to the next control.
QPlainTextEdit* makeLabelBox(QWidget* parent);
QLabel* makeText(QWidget* parent, const QString& text);

void fillModulationList(QComboBox* list);
// The twelve named rates, then "Other".
void fillFecList(QComboBox* list);

// Gives two columns of boxes in a two-sided form the width of the wider one.
void balanceBoxColumns(QGridLayout* form, int leftColumn, int rightColumn);

// OK (the default button, "buttonOk") and Cancel ("buttonCancel"), wired to the dialog.
QDialogButtonBox* makeOkCancelButtons(QWidget* dialog);

} // namespace orvane
