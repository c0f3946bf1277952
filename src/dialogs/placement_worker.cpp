#include "dialogs/placement_worker.h"

#include "commands/work_failure.h"

#include <QMetaObject>

#include <system_error>
#include <utility>

namespace orvane {

PlacementWorker::PlacementWorker(QObject* parent)
    : QObject(parent), cancel_(std::make_shared<std::atomic<bool>>(false)),
      fractionDone_(std::make_shared<std::atomic<double>>(0.0))
{
}

PlacementWorker::~PlacementWorker()
{
    stop();
}

void PlacementWorker::cancel()
{
    cancel_->store(true);
}

void PlacementWorker::stop()
{
    cancel();
    if (thread_.joinable())
        thread_.join();
    busy_ = false;
}

void PlacementWorker::start(ArrangeRun run)
{
    stop();
    // Each run has its own flags: a result posted by an earlier thread finds busy_ cleared.
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    fractionDone_ = std::make_shared<std::atomic<double>>(0.0);
    busy_ = true;
    auto work = [this, run = std::move(run), cancel = cancel_, done = fractionDone_] {
        std::shared_ptr<const PlacementResult> result;
        QString failure;
        try {
            result = std::make_shared<const PlacementResult>(
                placeArrangement(run, cancel.get(), [done](double share) { done->store(share); }));
        } catch (...) {
            failure =
                QString::fromStdString(workFailureText("The placement", std::current_exception()));
        }
        const unsigned long long id = run.id;
        // Posted to this object: dropped when it is gone, delivered only while the run counts.
        QMetaObject::invokeMethod(
            this,
            [this, id, result, failure, cancel] {
                if (!busy_ || cancel != cancel_)
                    return;
                busy_ = false;
                if (result)
                    Q_EMIT finished(id, result);
                else
                    Q_EMIT failed(id, failure);
            },
            Qt::QueuedConnection);
    };
    try {
        thread_ = std::thread(work);
    } catch (const std::system_error&) {
        work(); // no thread to be had: the placement runs here, and its result is still posted
    }
}

} // namespace orvane
