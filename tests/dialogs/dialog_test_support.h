#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <map>
#include <memory>
#include <ostream>
#include <vector>

// Failure messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvane::test {

// A child control by object name; fails the test when it is missing.
template <typename Control> Control* control(QWidget* dialog, const char* name)
{
    Control* found = dialog->findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no control named " << name;
    return found;
}

inline QString text(QWidget* dialog, const char* boxName)
{
    QLineEdit* box = control<QLineEdit>(dialog, boxName);
    return box ? box->text() : QString();
}

// Replaces a box's text by typing, as a user who selects it all and types over it.
void retype(QLineEdit* box, const QString& typed);
void retype(QWidget* dialog, const char* boxName, const QString& typed);
// Empties a box with the keyboard.
void clearByKeyboard(QWidget* dialog, const char* boxName);
void clickButton(QWidget* dialog, const char* buttonName);

// Collects the messages the dialogs show instead of opening message boxes.
class EntryProblems {
public:
    EntryProblems();
    ~EntryProblems();
    const QStringList& messages() const { return *messages_; }

private:
    std::shared_ptr<QStringList> messages_ = std::make_shared<QStringList>();
};

// Collects help requests.
class HelpRequests {
public:
    HelpRequests();
    ~HelpRequests();
    const std::vector<unsigned>& keys() const { return *keys_; }

private:
    std::shared_ptr<std::vector<unsigned>> keys_ = std::make_shared<std::vector<unsigned>>();
};

// Counts how often the dialog rewrites each of its line boxes (typing counts too).
class RewriteCounter {
public:
    explicit RewriteCounter(QWidget* dialog);
    int count(const char* boxName) const;
    int total() const;

private:
    std::map<QString, std::unique_ptr<QSignalSpy>> spies_;
};

} // namespace orvane::test
