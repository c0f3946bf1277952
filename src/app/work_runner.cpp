#include "app/work_runner.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

namespace orvane {

WorkRunner::WorkRunner(QObject* parent) : QObject(parent)
{
}

WorkRunner::~WorkRunner()
{
    for (Job& job : jobs_)
        job.cancel->store(true);
    for (Job& job : jobs_)
        job.thread.join();
}

void WorkRunner::reap()
{
    const auto ended = std::partition(jobs_.begin(), jobs_.end(),
                                      [](const Job& job) { return !job.done->load(); });
    for (auto job = ended; job != jobs_.end(); ++job)
        job->thread.join();
    jobs_.erase(ended, jobs_.end());
}

void WorkRunner::post(unsigned long long generation, std::function<void()> delivery)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, delivery = std::move(delivery)] {
            if (generation == generation_)
                delivery();
        },
        Qt::QueuedConnection);
}

void WorkRunner::stop()
{
    for (Job& job : jobs_)
        job.cancel->store(true);
    reap();
    ++generation_;
    busy_ = false;
}

void WorkRunner::start(Work work)
{
    stop();
    const unsigned long long generation = generation_;
    busy_ = true;

    Job job;
    job.cancel = std::make_shared<std::atomic<bool>>(false);
    job.done = std::make_shared<std::atomic<bool>>(false);
    // The worker only posts to this object; the destructor joins it before the object goes.
    auto run = [this, generation, work = std::move(work), cancel = job.cancel,
                done = job.done]() mutable {
        int lastPercent = -1;
        WorkContext context{*cancel,
                            [this, generation, &lastPercent](double share) {
                                const int percent = static_cast<int>(std::floor(share * 100.0));
                                if (percent == lastPercent)
                                    return;
                                lastPercent = percent;
                                post(generation, [this, share] { Q_EMIT progressed(share); });
                            },
                            [this, generation](std::function<void()> delivery) {
                                post(generation, std::move(delivery));
                            }};
        try {
            work(context);
        } catch (...) {
            // The work says what went wrong itself; this only keeps the program alive.
        }
        done->store(true);
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                reap();
                if (generation != generation_)
                    return;
                busy_ = false;
                Q_EMIT ended();
            },
            Qt::QueuedConnection);
    };
    try {
        job.thread = std::thread(run);
    } catch (const std::system_error&) {
        // No thread to be had: work here, as the window would otherwise show nothing.
        run();
        return;
    }
    jobs_.push_back(std::move(job));
}

} // namespace orvane
