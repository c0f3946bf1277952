#include "app/intermod_runner.h"

#include "commands/work_failure.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

namespace orvane {

IntermodRunner::IntermodRunner(QObject* parent, Analysis analysis)
    : QObject(parent), analysis_(std::move(analysis))
{
}

IntermodRunner::~IntermodRunner()
{
    for (Job& job : jobs_)
        job.cancel->store(true);
    for (Job& job : jobs_)
        job.thread.join();
}

void IntermodRunner::reap()
{
    const auto ended = std::partition(jobs_.begin(), jobs_.end(),
                                      [](const Job& job) { return !job.done->load(); });
    for (auto job = ended; job != jobs_.end(); ++job)
        job->thread.join();
    jobs_.erase(ended, jobs_.end());
}

void IntermodRunner::start(const CarrierList& plan, IntermodOptions options)
{
    for (Job& job : jobs_)
        job.cancel->store(true);
    reap();
    const unsigned long long generation = ++generation_;
    busy_ = true;

    Job job;
    job.cancel = std::make_shared<std::atomic<bool>>(false);
    job.done = std::make_shared<std::atomic<bool>>(false);
    // The worker only posts to this object; the destructor joins it before the object goes.
    auto work = [this, generation, plan, options, cancel = job.cancel, done = job.done]() mutable {
        options.cancel = cancel.get();
        int lastPercent = -1;
        options.progress = [this, generation, &lastPercent](double share) {
            const int percent = static_cast<int>(std::floor(share * 100.0));
            if (percent == lastPercent)
                return;
            lastPercent = percent;
            QMetaObject::invokeMethod(
                this,
                [this, generation, share] {
                    if (generation == generation_)
                        Q_EMIT progressed(share);
                },
                Qt::QueuedConnection);
        };
        std::shared_ptr<IntermodAnalysis> analysis;
        try {
            analysis = std::make_shared<IntermodAnalysis>(analysis_(plan, options));
        } catch (...) {
            analysis = std::make_shared<IntermodAnalysis>();
            analysis->refusal =
                workFailureText("The intermodulation analysis", std::current_exception());
        }
        done->store(true);
        QMetaObject::invokeMethod(
            this,
            [this, generation, analysis] {
                reap();
                if (generation != generation_ || analysis->cancelled)
                    return;
                busy_ = false;
                Q_EMIT finished(std::shared_ptr<const IntermodAnalysis>(analysis));
            },
            Qt::QueuedConnection);
    };
    try {
        job.thread = std::thread(std::move(work));
    } catch (const std::system_error&) {
        // No thread to be had: analyse here, as the window would otherwise show nothing.
        work();
        return;
    }
    jobs_.push_back(std::move(job));
}

} // namespace orvane
