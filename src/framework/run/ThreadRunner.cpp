#include "framework/run/ThreadRunner.h"

#include "framework/run/ThreadRunnable.h"

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

void ThreadRunner::start(QThread::Priority priority)
{
    if (isRunning())
        return;
    canceled = false;
    QThread::start(priority);
}

QByteArray ThreadRunner::lastErrorMessage() const
{
    std::lock_guard<std::mutex> lock(errorMutex);
    return errorMessage;
}

void ThreadRunner::setErrorMessage(const QString& msg)
{
    {
        std::lock_guard<std::mutex> lock(errorMutex);
        errorMessage = msg.toLatin1();
    }
    emit error(msg);
}

void ThreadRunner::clearErrorMessage()
{
    std::lock_guard<std::mutex> lock(errorMutex);
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

// The flag was cleared by start(). A run that was cancelled, even before its
// work began, or that gave up on an error and set the flag, ends with
// runCanceled(), so the window always learns that it is over; an empty list
// ends without either signal.
void ThreadRunner::run()
{
    if (runnables.isEmpty())
        return;
    const QList<ThreadRunnable*> work = runnables;
    for (ThreadRunnable* runnable : work) {
        if (canceled)
            break;
        runnable->run();
    }
    if (canceled)
        emit runCanceled();
    else
        emit runComplete();
}

} // namespace ryn
