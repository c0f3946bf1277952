#pragma once

#include "commands/arrange_model.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

namespace orvane {

// Runs one placement at a time on a thread of its own. The result (or the text of the
// failure the work ended in, caught at the thread's edge) arrives as a signal on the thread
// the worker lives in. Cancel stops the placement within moments; the destructor cancels and
// waits for the thread.
class PlacementWorker : public QObject {
    Q_OBJECT
public:
    explicit PlacementWorker(QObject* parent = nullptr);
    ~PlacementWorker() override;

    // Starts the run; a run under way is cancelled and waited for first.
    void start(ArrangeRun run);
    void cancel();
    // Cancels and waits until the thread has ended; no signal follows.
    void stop();
    bool busy() const { return busy_; }
    // The share of the latest run done, 0 to 1.
    double fractionDone() const { return fractionDone_->load(); }

Q_SIGNALS:
    void finished(unsigned long long id, std::shared_ptr<const PlacementResult> result);
    void failed(unsigned long long id, const QString& text);

private:
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<std::atomic<double>> fractionDone_;
    bool busy_ = false;
};

} // namespace orvane
