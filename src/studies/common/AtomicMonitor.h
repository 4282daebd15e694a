#pragma once

#include "studies/common/RunMonitor.h"

#include <atomic>

// The worker's side of the run protocol for a dialog that computes on a thread
// of its own: progress and cancel pass through the dialog's atomics, which its
// timer reads; errors are the dialog's to take from the computation's result.
class AtomicMonitor : public RunMonitor
{
public:
    AtomicMonitor(std::atomic<int>& step, std::atomic<int>& steps, const std::atomic<bool>& cancel)
        : step(step)
        , steps(steps)
        , cancel(cancel)
    {}

    void setTotalSteps(int n) override { steps = n; }
    void setStep(int i) override { step = i; }
    bool isCanceled() const override { return cancel; }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    std::atomic<int>& step;
    std::atomic<int>& steps;
    const std::atomic<bool>& cancel;
};
