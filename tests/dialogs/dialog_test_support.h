#pragma once

#include "commands/help_request.h"
#include "dialogs/entry_problem.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

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

// Collects the messages the dialogs show and the help they ask for, instead of showing them.
struct ShownToUser {
    ShownToUser()
    {
        setEntryProblemReporter([this](QWidget*, const QString& text) { problems.append(text); });
        setHelpHandler([this](unsigned key) { helpKeys.push_back(key); });
    }
    ~ShownToUser()
    {
        setEntryProblemReporter({});
        setHelpHandler({});
    }
    ShownToUser(const ShownToUser&) = delete;
    ShownToUser& operator=(const ShownToUser&) = delete;

    QStringList problems;
    std::vector<unsigned> helpKeys;
};

} // namespace orvane::test
