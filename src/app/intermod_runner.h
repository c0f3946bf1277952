#pragma once

#include "analysis/intermod_analysis.h"
#include "model/carrier_list.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace orvane {

// Runs intermodulation analyses off the user-interface thread, one wanted at a time: starting
// one cancels the one before, whose result is never delivered. Signals arrive on the thread
// the runner lives in. An analysis that ends in an exception (out of memory, say) delivers a
// result whose refusal says so; it never ends the program.
class IntermodRunner : public QObject {
    Q_OBJECT
public:
    using Analysis = std::function<IntermodAnalysis(const CarrierList&, const IntermodOptions&)>;

    explicit IntermodRunner(QObject* parent = nullptr, Analysis analysis = analyseIntermod);
    // Cancels what runs and waits for it to stop.
    ~IntermodRunner() override;

    // Analyses a copy of the plan (options.cancel and options.progress are the runner's).
    void start(const CarrierList& plan, IntermodOptions options);
    // Whether the latest analysis has yet to deliver.
    bool busy() const { return busy_; }

Q_SIGNALS:
    void progressed(double share);
    void finished(std::shared_ptr<const IntermodAnalysis> analysis);

private:
    struct Job {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> cancel;
        std::shared_ptr<std::atomic<bool>> done;
    };

    // Joins the jobs that have ended.
    void reap();

    Analysis analysis_;
    std::vector<Job> jobs_;
    unsigned long long generation_ = 0;
    bool busy_ = false;
};

} // namespace orvane
