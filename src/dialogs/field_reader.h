#pragma once

#include <QString>

#include <vector>

class QLineEdit;
class QWidget;

namespace orvane {

// Reads the boxes of one dialog into the dialog's values, in the order of the form.
// Live (while the user types) a box whose text is not (yet) a number keeps its value and is
// remembered as unreadable, so the dialog neither rewrites it nor calculates from it.
// Validating (at OK) the first box that does not hold what it must is reported, gets the
// focus, and nothing further is read.
class FieldReader {
public:
    enum class Mode { live, validating };

    FieldReader(QWidget* dialog, Mode mode) : dialog_(dialog), mode_(mode) {}

    void number(QLineEdit* box, double& value);
    void integer(QLineEdit* box, int& value);
    // At OK: refuses a value the carrier cannot be built from, naming the field.
    void require(bool condition, QWidget* field, const QString& message);

    bool ok() const { return ok_; }
    const std::vector<const QLineEdit*>& unreadableBoxes() const { return unreadable_; }

private:
    bool skipping() const { return mode_ == Mode::validating && !ok_; }
    void unreadable(QLineEdit* box, const char* message);
    void refuse(QWidget* field, const QString& message);

    QWidget* dialog_;
    Mode mode_;
    bool ok_ = true;
    std::vector<const QLineEdit*> unreadable_;
};

// The boxes that the last live read found unreadable; a box the dialog gives a new value
// leaves the set, so it is written again.
class UnreadableBoxes {
public:
    void assign(const FieldReader& reader) { boxes_ = reader.unreadableBoxes(); }
    bool contains(const QLineEdit* box) const;
    void markWritten(const QLineEdit* box);

private:
    std::vector<const QLineEdit*> boxes_;
};

// The FEC drop-down's choice in a coded dialog: a named rate disables the value box and takes
// the table value; "Other" enables the box and moves the focus into it.
void applyFecChoice(int fecPosition, QLineEdit* fecValueBox, double& fecValue,
                    UnreadableBoxes& unreadable);

} // namespace orvane
