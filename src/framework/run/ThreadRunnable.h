#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <mutex>

namespace ryn {

class ThreadRunner;

// One unit of background work, such as one study computation. It reports
// progress, status and errors through its runner, which emits them as
// signals. Without a runner it runs on the calling thread, ignores progress
// and prints its errors on standard output.
class ThreadRunnable : public QObject
{
    Q_OBJECT

public:
    explicit ThreadRunnable(ThreadRunner* runner = nullptr);

    virtual void run() = 0;
    virtual void progressStatus(const QString& msg);
    virtual void status(const QString& msg);
    virtual void error(const QString& msg);
    virtual void warning(const QString& msg);
    virtual void setTotalSteps(int n);
    virtual void setStep(int i);
    virtual void busy();
    virtual void setCanceled(bool b);

    // The runner's cancel flag when a runner is attached, else the own flag.
    bool isCanceled() const;
    // Empties the error text here and in the runner; emits nothing.
    void clearErrorMessage();

    ThreadRunner* threadRunner() const { return runner; }
    // Written by the work, possibly on the runner's thread, and read anywhere.
    QByteArray lastErrorMessage() const;

protected:
    // The runnable's own flag, for computations that poll it while they work.
    const std::atomic<bool>* cancelFlag() const { return &canceled; }

private:
    ThreadRunner* const runner;
    std::atomic<bool> canceled{false};
    mutable std::mutex errorMutex;
    QByteArray errorMessage;
};

} // namespace ryn
