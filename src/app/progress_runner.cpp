#include "app/progress_runner.h"

#include "model/program_identity.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QString>
#include <QTimer>

#include <atomic>
#include <system_error>
#include <thread>

namespace orvane {

namespace {

constexpr int pollIntervalMs = 30;
constexpr int progressSteps = 1000;

// Goes on drawing, with user input held back, until done() or, when mostMs is not negative,
// until that time has passed.
void waitWithoutInput(const std::function<bool()>& done, int mostMs)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || (mostMs >= 0 && clock.elapsed() >= mostMs))
            loop.quit();
    });
    poll.start(pollIntervalMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

std::exception_ptr runWithProgressDialog(QWidget* parent, const QString& text,
                                         const std::function<void(WorkProgress&)>& work,
                                         int delayMs)
{
    WorkProgress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    // An exception must not leave the thread, or the program ends with the plan unsaved.
    const auto guardedWork = [&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::thread worker;
    try {
        worker = std::thread([&] {
            guardedWork();
            finished = true;
        });
    } catch (const std::system_error&) {
        guardedWork(); // no thread to be had: the work runs here, under the busy cursor
        QApplication::restoreOverrideCursor();
        return failure;
    }
    const auto isFinished = [&finished] { return finished.load(); };
    waitWithoutInput(isFinished, delayMs);
    if (!finished) {
        QProgressDialog dialog(text, QStringLiteral("Cancel"), 0, progressSteps, parent);
        dialog.setWindowTitle(QString::fromLatin1(programCaption));
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setAutoReset(false);
        dialog.setAutoClose(false);
        QObject::connect(&dialog, &QProgressDialog::canceled,
                         [&progress] { progress.requestCancel(); });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
            if (finished)
                dialog.done(QDialog::Accepted);
            else
                dialog.setValue(static_cast<int>(progress.fractionDone() * progressSteps));
        });
        poll.start(pollIntervalMs);
        QApplication::restoreOverrideCursor();
        dialog.exec();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitWithoutInput(isFinished, -1); // after Cancel the work stops within moments
    }
    worker.join();
    QApplication::restoreOverrideCursor();
    return failure;
}

} // namespace orvane
