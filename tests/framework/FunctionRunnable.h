#pragma once

#include "framework/ThreadRunnable.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

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

// Spins the event loop until condition holds or timeoutMs passes; queued
// signals from a worker thread are delivered meanwhile.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace quorvel::test
