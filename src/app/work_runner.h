#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace orvane {

// What a piece of work gets from its runner: the flag that asks it to stop, a progress report
// and a way to hand a result over.
struct WorkContext {
    const std::atomic<bool>& cancel;
    // The share done (0..1); reported on the runner's thread, at most once per percent.
    std::function<void(double)> progress;
    // Runs on the runner's thread, unless newer work has started or the work was stopped since.
    std::function<void(std::function<void()>)> deliver;
};

// Runs work off the user-interface thread, one wanted at a time: starting work, or stopping,
// cancels what runs, whose deliveries never arrive. Signals arrive on the thread the runner
// lives in. The work must not throw; whatever still does is caught at the thread's edge, ends
// the work and never the program.
class WorkRunner : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(WorkContext&)>;

    explicit WorkRunner(QObject* parent = nullptr);
    // Cancels what runs and waits for it to stop.
    ~WorkRunner() override;

    void start(Work work);
    // Cancels what runs; busy() is false from now on.
    void stop();
    // Whether the latest work has yet to end.
    bool busy() const { return busy_; }

Q_SIGNALS:
    void progressed(double share);
    // The latest work ended (not after stop()).
    void ended();

private:
    struct Job {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> cancel;
        std::shared_ptr<std::atomic<bool>> done;
    };

    // Joins the jobs that have ended.
    void reap();
    // Runs a delivery of this generation's work on this object's thread, if it is still the
    // latest.
    void post(unsigned long long generation, std::function<void()> delivery);

    std::vector<Job> jobs_;
    unsigned long long generation_ = 0;
    bool busy_ = false;
};

} // namespace orvane
