#pragma once

#include "dialogs/entry_problem.h"
#include "dialogs/help_request.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTest>
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
    return control<QLineEdit>(dialog, boxName)->text();
}

// Replaces a box's text by typing, as a user who selects it all and types over it; an empty
// text is typed as Backspace.
inline void retype(QWidget* dialog, const char* boxName, const QString& typed)
{
    QLineEdit* box = control<QLineEdit>(dialog, boxName);
    ASSERT_TRUE(box->isEnabled()) << boxName << " is disabled";
    box->setFocus();
    box->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, typed);
}

inline void clickButton(QWidget* dialog, const char* buttonName)
{
    QTest::mouseClick(control<QAbstractButton>(dialog, buttonName), Qt::LeftButton);
}

// Collects the messages the dialogs show instead of opening message boxes.
class EntryProblems {
public:
    EntryProblems()
    {
        setEntryProblemReporter(
            [list = messages_](QWidget*, const QString& message) { list->append(message); });
    }
    ~EntryProblems() { setEntryProblemReporter({}); }
    const QStringList& messages() const { return *messages_; }

private:
    std::shared_ptr<QStringList> messages_ = std::make_shared<QStringList>();
};

// Collects help requests.
class HelpRequests {
public:
    HelpRequests()
    {
        setHelpHandler([list = keys_](unsigned key) { list->push_back(key); });
    }
    ~HelpRequests() { setHelpHandler({}); }
    const std::vector<unsigned>& keys() const { return *keys_; }

private:
    std::shared_ptr<std::vector<unsigned>> keys_ = std::make_shared<std::vector<unsigned>>();
};

// Counts how often each named line box of a dialog changes its text (typing counts too).
class RewriteCounter {
public:
    explicit RewriteCounter(QWidget* dialog)
    {
        for (QLineEdit* box : dialog->findChildren<QLineEdit*>())
            spies_[box->objectName()] = std::make_unique<QSignalSpy>(box, &QLineEdit::textChanged);
    }
    int count(const char* boxName) const
    {
        return static_cast<int>(spies_.at(QString::fromLatin1(boxName))->count());
    }
    int total() const
    {
        int sum = 0;
        for (const auto& entry : spies_)
            sum += static_cast<int>(entry.second->count());
        return sum;
    }

private:
    std::map<QString, std::unique_ptr<QSignalSpy>> spies_;
};

} // namespace orvane::test
