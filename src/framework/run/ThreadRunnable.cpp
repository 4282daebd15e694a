#include "framework/run/ThreadRunnable.h"

#include "framework/run/ThreadRunner.h"

#include <iostream>

namespace ryn {

ThreadRunnable::ThreadRunnable(ThreadRunner* runner)
    : runner(runner)
{}

void ThreadRunnable::progressStatus(const QString& msg)
{
    if (runner)
        emit runner->progressStatus(msg);
}

void ThreadRunnable::status(const QString& msg)
{
    if (runner)
        emit runner->status(msg);
}

void ThreadRunnable::error(const QString& msg)
{
    {
        std::lock_guard<std::mutex> lock(errorMutex);
        errorMessage = msg.toLatin1();
    }
    if (runner)
        runner->setErrorMessage(msg);
    else
        std::cout << "**** " << msg.toStdString() << std::endl;
}

void ThreadRunnable::warning(const QString& msg)
{
    if (runner)
        emit runner->warning(msg);
}

void ThreadRunnable::setTotalSteps(int n)
{
    if (runner)
        runner->setTotalSteps(n);
}

void ThreadRunnable::setStep(int i)
{
    if (runner)
        runner->setStep(i);
}

void ThreadRunnable::busy()
{
    if (runner)
        emit runner->busy();
}

void ThreadRunnable::setCanceled(bool b)
{
    canceled = b;
    if (runner)
        runner->setCanceled(b);
}

bool ThreadRunnable::isCanceled() const
{
    return runner ? runner->isCanceled() : canceled.load();
}

QByteArray ThreadRunnable::lastErrorMessage() const
{
    std::lock_guard<std::mutex> lock(errorMutex);
    return errorMessage;
}

void ThreadRunnable::clearErrorMessage()
{
    {
        std::lock_guard<std::mutex> lock(errorMutex);
        errorMessage.clear();
    }
    if (runner)
        runner->clearErrorMessage();
}

} // namespace ryn
