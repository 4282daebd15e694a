#include "studies/common/QVRun.h"

QVRun::QVRun(ryn::ThreadRunner* runner)
    : ryn::ThreadRunnable(runner)
{}

QVRun::~QVRun() = default;

void QVRun::setTotalSteps(int n)
{
    ThreadRunnable::setTotalSteps(n);
}

void QVRun::setStep(int i)
{
    ThreadRunnable::setStep(i);
}

bool QVRun::isCanceled() const
{
    return ThreadRunnable::isCanceled();
}

void QVRun::error(const QString& msg)
{
    ThreadRunnable::error(msg);
}

void QVRun::setCanceled(bool canceled)
{
    ThreadRunnable::setCanceled(canceled);
}
