#pragma once

#include <atomic>

namespace orvane {

// How far a long piece of work got and whether the user asked it to stop, shared between the
// threads doing the work and the one showing it. The work is done in parts, each a share of
// the whole; parts are begun by one thread at a time.
class WorkProgress {
public:
    void requestCancel() { cancelRequested_.store(true, std::memory_order_relaxed); }
    bool cancelRequested() const { return cancelRequested_.load(std::memory_order_relaxed); }

    // The next part is this share of the whole; the parts before it are done.
    void beginPart(double share)
    {
        partStart_ = partStart_ + partShare_;
        partShare_ = share;
        fractionDone_.store(partStart_, std::memory_order_relaxed);
    }
    // How much of the current part is done, 0 to 1.
    void setPartDone(double fraction)
    {
        fractionDone_.store(partStart_ + partShare_ * fraction, std::memory_order_relaxed);
    }
    // How much of the whole is done, 0 to 1.
    double fractionDone() const { return fractionDone_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> cancelRequested_{false};
    std::atomic<double> fractionDone_{0.0};
    double partStart_ = 0.0;
    double partShare_ = 0.0;
};

} // namespace orvane
