#pragma once

#include "framework/run/ThreadRunnable.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>
#include <utility>

namespace quorvel::test {

// A runnable whose work is a function given by the test.
class FunctionRunnable : public ryn::ThreadRunnable
{
public:
    using Body = std::function<void(FunctionRunnable&)>;

    explicit FunctionRunnable(ryn::ThreadRunner* runner, Body body = {})
        : ThreadRunnable(runner)
        , body(std::move(body))
    {}

    void run() override
    {
        ++runs;
        if (body)
            body(*this);
    }

    int runs = 0;

private:
    Body body;
};

// Work that lasts up to ms milliseconds, polling the cancel flag the way a
// study computation does between points; ranToEnd tells whether it went on to
// the end without seeing a cancel.
inline FunctionRunnable::Body pollUntilCanceled(std::atomic<bool>& ranToEnd, int ms = 3000)
{
    return [&ranToEnd, ms](FunctionRunnable& self) {
        for (int i = 0; i < ms && !self.isCanceled(); ++i)
            QThread::msleep(1);
        ranToEnd = !self.isCanceled();
    };
}

// Spins the event loop until condition holds or timeoutMs passes; queued
// signals from a worker thread are delivered meanwhile.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace quorvel::test
