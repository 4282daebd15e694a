#include "framework/ThreadRunner.h"

#include "framework/ThreadRunnable.h"

namespace ryn {

ThreadRunner::ThreadRunner(QObject* parent)
    : QThread(parent)
{}

void ThreadRunner::setRunnable(ThreadRunnable* runnable)
{
    if (!runnable)
        return;
    runnables.clear();
    runnables.append(runnable);
}

void ThreadRunner::setTotalSteps(int n)
{
    totalSteps = n;
    lastPercent = 0;
    emit percentComplete(0);
}

// Percentages only grow: step i of n gives i * 100 / n (truncated), emitted
// when it exceeds the last one. Step 0 always reports 0.
void ThreadRunner::setStep(int i)
{
    if (totalSteps <= 0)
        return;
    if (i == 0) {
        emit percentComplete(0);
        return;
    }
    const int percent = static_cast<int>(static_cast<long long>(i) * 100 / totalSteps);
    if (percent <= lastPercent)
        return;
    lastPercent = percent;
    emit percentComplete(percent);
}

void ThreadRunner::setErrorMessage(const QString& msg)
{
    errorMessage = msg.toLatin1();
    emit error(msg);
}

void ThreadRunner::clearErrorMessage()
{
    errorMessage.clear();
}

void ThreadRunner::setCanceled(bool rhs)
{
    canceled = rhs;
}

void ThreadRunner::cancel()
{
    canceled = true;
}

// A cancel requested before the start is forgotten. A run that was cancelled,
// or that gave up on an error and set the flag, ends with runCanceled(); an
// empty list ends without either signal.
void ThreadRunner::run()
{
    canceled = false;
    if (runnables.isEmpty())
        return;
    const QList<ThreadRunnable*> work = runnables;
    for (ThreadRunnable* runnable : work) {
        if (canceled)
            return;
        runnable->run();
    }
    if (canceled)
        emit runCanceled();
    else
        emit runComplete();
}

} // namespace ryn
