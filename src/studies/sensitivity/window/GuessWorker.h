#pragma once

#include "studies/common/RunMonitor.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>

// A sensitivity or a band computed on a thread of its own, so that the
// dialog keeps answering: progress and cancel pass through atomics, and
// finished() comes on the dialog's thread once the work is done. Deleting
// the worker cancels the work and waits for it.
class GuessWorker : public QObject
{
    Q_OBJECT

public:
    explicit GuessWorker(QObject* parent = nullptr);
    ~GuessWorker() override;

    // Starts work with a monitor that sees the worker's cancel; false while
    // a work is running.
    bool start(const std::function<void(RunMonitor& monitor)>& work);
    bool isRunning() const { return thread != nullptr; }
    int step() const { return step_; }
    int steps() const { return steps_; }

signals:
    void finished();

private:
    QThread* thread = nullptr;
    std::atomic<int> step_{0};
    std::atomic<int> steps_{0};
    std::atomic<bool> cancel{false};
};
