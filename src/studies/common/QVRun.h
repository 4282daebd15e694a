#pragma once

#include "framework/run/ThreadRunnable.h"
#include "studies/common/RunMonitor.h"

// The base of the five study runs of the window: a unit of background work
// that computes one design from the input record it was given on the GUI
// thread. What the computation reports goes to the runner, which turns it into
// the progress dialog's steps and the output log's lines.
class QVRun : public ryn::ThreadRunnable, public RunMonitor
{
    Q_OBJECT

public:
    explicit QVRun(ryn::ThreadRunner* runner);
    ~QVRun() override;

    void setTotalSteps(int n) override;
    void setStep(int i) override;
    bool isCanceled() const override;
    void error(const QString& msg) override;
    void setCanceled(bool canceled) override;
};
