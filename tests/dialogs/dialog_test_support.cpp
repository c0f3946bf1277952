#include "dialog_test_support.h"

#include "dialogs/entry_problem.h"
#include "dialogs/help_request.h"

#include <QAbstractButton>
#include <QTest>

namespace orvane::test {

void retype(QLineEdit* box, const QString& typed)
{
    ASSERT_TRUE(box->isEnabled()) << box->objectName().toStdString() << " is disabled";
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
}

void retype(QWidget* dialog, const char* boxName, const QString& typed)
{
    if (QLineEdit* box = control<QLineEdit>(dialog, boxName))
        retype(box, typed);
}

void clearByKeyboard(QWidget* dialog, const char* boxName)
{
    if (QLineEdit* box = control<QLineEdit>(dialog, boxName)) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }
}

void clickButton(QWidget* dialog, const char* buttonName)
{
    if (auto* button = control<QAbstractButton>(dialog, buttonName))
        QTest::mouseClick(button, Qt::LeftButton);
}

EntryProblems::EntryProblems()
{
    auto messages = messages_;
    setEntryProblemReporter(
        [messages](QWidget*, const QString& message) { messages->append(message); });
}

EntryProblems::~EntryProblems()
{
    setEntryProblemReporter({});
}

HelpRequests::HelpRequests()
{
    auto keys = keys_;
    setHelpHandler([keys](unsigned key) { keys->push_back(key); });
}

HelpRequests::~HelpRequests()
{
    setHelpHandler({});
}

RewriteCounter::RewriteCounter(QWidget* dialog)
{
    for (QLineEdit* box : dialog->findChildren<QLineEdit*>())
        if (!box->objectName().isEmpty())
            spies_[box->objectName()] = std::make_unique<QSignalSpy>(box, &QLineEdit::textChanged);
}

int RewriteCounter::count(const char* boxName) const
{
    const auto found = spies_.find(QString::fromLatin1(boxName));
    if (found == spies_.end()) {
        ADD_FAILURE() << "no box named " << boxName;
        return -1;
    }
    return static_cast<int>(found->second->count());
}

int RewriteCounter::total() const
{
    int sum = 0;
    for (const auto& [name, spy] : spies_)
        sum += static_cast<int>(spy->count());
    return sum;
}

} // namespace orvane::test
