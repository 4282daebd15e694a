#pragma once

#include <QByteArray>
#include <QList>
#include <QThread>

#include <atomic>
#include <mutex>

namespace ryn {

class ThreadRunnable;

// The one worker thread of the program. It runs the computation it was given
// and turns what the computation reports (progress, status, warnings, errors)
// into signals, which reach the main window queued on the GUI thread. The
// runner does not own its runnables.
class ThreadRunner : public QThread
{
    Q_OBJECT

public:
    explicit ThreadRunner(QObject* parent = nullptr);

    // Replaces the work of the next start; a null runnable changes nothing.
    void setRunnable(ThreadRunnable* runnable);

    // The cancel flag that running work polls between steps.
    bool isCanceled() const { return canceled; }
    // The last error text (Latin-1), kept until replaced or cleared. The worker
    // writes it while the GUI thread may read it.
    QByteArray lastErrorMessage() const;

    // Progress of the running work: n steps in all, then step i of them.
    void setTotalSteps(int n);
    void setStep(int i);

signals:
    void runComplete();
    void runCanceled();
    void percentComplete(int percent);
    void progressStatus(const QString& msg);
    void status(const QString& msg);
    void error(const QString& msg);
    void warning(const QString& msg);
    void busy();

public slots:
    // Starts the work set by setRunnable. The cancel flag is cleared here, on
    // the calling thread and before the worker exists, so that a cancel issued
    // before this call is forgotten and every cancel after it reaches the run.
    // A runner that is still running goes on undisturbed. It hides the start of
    // QThread, which would not clear the flag.
    void start(QThread::Priority priority = InheritPriority);
    void setErrorMessage(const QString& msg);
    void clearErrorMessage();
    void setCanceled(bool rhs);
    void cancel();

protected:
    void run() override;

private:
    std::atomic<bool> canceled{false};
    mutable std::mutex errorMutex;
    QByteArray errorMessage;
    int totalSteps = 0;
    int lastPercent = 0;
    QList<ThreadRunnable*> runnables;
};

} // namespace ryn
