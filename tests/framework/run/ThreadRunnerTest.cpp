#include "FunctionRunnable.h"

#include "framework/run/ThreadRunner.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>
#include <QThread>

#include <atomic>

using quorvel::test::FunctionRunnable;
using quorvel::test::pollUntilCanceled;
using quorvel::test::waitUntil;
using ryn::ThreadRunner;

namespace {

// Records the runner's signals on the test thread, in the order the GUI thread
// would receive them (queued from the worker).
class SignalLog : public QObject
{
public:
    explicit SignalLog(ThreadRunner& runner)
    {
        connect(&runner, &ThreadRunner::runComplete, this, [this] { entries << "complete"; });
        connect(&runner, &ThreadRunner::runCanceled, this, [this] { entries << "canceled"; });
        connect(&runner, &ThreadRunner::percentComplete, this,
                [this](int p) { entries << QString("percent %1").arg(p); });
        connect(&runner, &ThreadRunner::progressStatus, this,
                [this](const QString& m) { entries << "progress " + m; });
        connect(&runner, &ThreadRunner::status, this,
                [this](const QString& m) { entries << "status " + m; });
        connect(&runner, &ThreadRunner::error, this,
                [this](const QString& m) { entries << "error " + m; });
        connect(&runner, &ThreadRunner::warning, this,
                [this](const QString& m) { entries << "warning " + m; });
        connect(&runner, &ThreadRunner::busy, this, [this] { entries << "busy"; });
    }

    bool ended() const { return entries.contains("complete") || entries.contains("canceled"); }

    QStringList entries;
};

// Runs the runner's thread to its end and delivers every queued signal.
bool runToEnd(ThreadRunner& runner)
{
    runner.start(QThread::InheritPriority);
    const bool finished = runner.wait(10000);
    QCoreApplication::processEvents();
    return finished;
}

} // namespace

TEST(ThreadRunner, SevenStepsReportTruncatedPercentagesThenComplete)
{
    ThreadRunner runner;
    SignalLog log(runner);
    FunctionRunnable work(&runner, [](FunctionRunnable& self) {
        self.setTotalSteps(7);
        for (int i = 1; i <= 7; ++i)
            self.setStep(i);
    });
    runner.setRunnable(&work);

    ASSERT_TRUE(runToEnd(runner));
    EXPECT_EQ(log.entries,
              QStringList({"percent 0", "percent 14", "percent 28", "percent 42", "percent 57",
                           "percent 71", "percent 85", "percent 100", "complete"}));
}

TEST(ThreadRunner, StepPercentagesOnlyGrowAndStepZeroAlwaysReportsZero)
{
    ThreadRunner runner;
    QSignalSpy percent(&runner, &ThreadRunner::percentComplete);

    // No steps declared yet: nothing to report.
    runner.setStep(3);
    EXPECT_EQ(percent.count(), 0);

    runner.setTotalSteps(0);
    runner.setStep(1);
    ASSERT_EQ(percent.count(), 1); // only the 0 of setTotalSteps
    percent.clear();

    runner.setTotalSteps(4);
    runner.setStep(0);
    runner.setStep(0);
    runner.setStep(2);
    runner.setStep(1); // 25 < 50: not reported
    runner.setStep(2); // 50 again: not reported
    runner.setStep(0); // 0 is reported even after 50
    runner.setStep(3);
    QList<int> seen;
    for (const auto& args : percent)
        seen << args.at(0).toInt();
    EXPECT_EQ(seen, QList<int>({0, 0, 0, 50, 0, 75}));
}

TEST(ThreadRunner, CancelRequestedBeforeStartIsForgotten)
{
    ThreadRunner runner;
    SignalLog log(runner);
    bool sawCancel = true;
    FunctionRunnable work(&runner,
                          [&sawCancel](FunctionRunnable& self) { sawCancel = self.isCanceled(); });
    runner.setRunnable(&work);
    runner.cancel();
    ASSERT_TRUE(runner.isCanceled());

    ASSERT_TRUE(runToEnd(runner));
    EXPECT_EQ(work.runs, 1);
    EXPECT_FALSE(sawCancel);
    EXPECT_EQ(log.entries, QStringList({"complete"}));
}

// However soon a cancel follows start(), the run sees it and ends canceled.
TEST(ThreadRunner, CancelRightAfterStartIsHonoured)
{
    ThreadRunner runner;
    SignalLog log(runner);
    std::atomic<bool> ranToEnd{false};
    FunctionRunnable work(&runner, pollUntilCanceled(ranToEnd));
    runner.setRunnable(&work);
    for (int trial = 0; trial < 20; ++trial) {
        log.entries.clear();
        runner.start();
        runner.cancel();
        ASSERT_TRUE(runner.wait(10000));
        QCoreApplication::processEvents();
        EXPECT_FALSE(ranToEnd) << "trial " << trial;
        EXPECT_EQ(log.entries, QStringList({"canceled"})) << "trial " << trial;
    }
}

TEST(ThreadRunner, WithoutRunnableNeitherCompletionSignalIsEmitted)
{
    ThreadRunner runner;
    SignalLog log(runner);
    runner.setRunnable(nullptr);
    ASSERT_TRUE(runToEnd(runner));
    EXPECT_TRUE(log.entries.isEmpty());

    // A null runnable leaves the earlier one in place.
    FunctionRunnable work(&runner);
    runner.setRunnable(&work);
    runner.setRunnable(nullptr);
    ASSERT_TRUE(runToEnd(runner));
    EXPECT_EQ(work.runs, 1);
    EXPECT_EQ(log.entries, QStringList({"complete"}));
}

TEST(ThreadRunner, CancelDuringRunEndsWithRunCanceled)
{
    ThreadRunner runner;
    SignalLog log(runner);
    std::atomic<bool> started{false};
    FunctionRunnable work(&runner, [&started](FunctionRunnable& self) {
        self.setTotalSteps(10);
        started = true;
        // Poll the flag between points the way a study computation does.
        for (int i = 0; i < 10000 && !self.isCanceled(); ++i)
            QThread::msleep(1);
        if (self.isCanceled())
            self.error("Cancelled!");
    });
    runner.setRunnable(&work);
    runner.start(QThread::InheritPriority);
    ASSERT_TRUE(waitUntil([&started] { return started.load(); }));
    runner.cancel();
    runner.start(); // a start during the run leaves its cancel in place

    ASSERT_TRUE(waitUntil([&log] { return log.ended(); }));
    ASSERT_TRUE(runner.wait(10000));
    EXPECT_EQ(log.entries, QStringList({"percent 0", "error Cancelled!", "canceled"}));
    EXPECT_EQ(runner.lastErrorMessage(), QByteArray("Cancelled!"));
}

TEST(ThreadRunner, FailedRunReportsItsErrorAndEndsCanceled)
{
    ThreadRunner runner;
    SignalLog log(runner);
    FunctionRunnable work(&runner, [](FunctionRunnable& self) {
        self.status("reading");
        self.progressStatus("point 1");
        self.warning("odd value");
        self.busy();
        self.error(QString::fromUtf8("Singular hessian: step = 3 (ü)"));
        self.setCanceled(true);
    });
    runner.setRunnable(&work);

    ASSERT_TRUE(runToEnd(runner));
    EXPECT_EQ(log.entries,
              QStringList({"status reading", "progress point 1", "warning odd value", "busy",
                           QString::fromUtf8("error Singular hessian: step = 3 (ü)"), "canceled"}));
    // Both keep the text in Latin-1 until it is cleared, which emits nothing.
    EXPECT_EQ(runner.lastErrorMessage(), QByteArray("Singular hessian: step = 3 (\xfc)"));
    EXPECT_EQ(work.lastErrorMessage(), QByteArray("Singular hessian: step = 3 (\xfc)"));
    work.clearErrorMessage();
    EXPECT_TRUE(runner.lastErrorMessage().isEmpty() && work.lastErrorMessage().isEmpty());

    // The next start clears the flag the failed run left behind.
    FunctionRunnable next(&runner);
    runner.setRunnable(&next);
    log.entries.clear();
    ASSERT_TRUE(runToEnd(runner));
    EXPECT_EQ(log.entries, QStringList({"complete"}));
}

TEST(ThreadRunnable, WithoutRunnerPrintsErrorsAndReadsItsOwnFlag)
{
    FunctionRunnable work(nullptr);
    EXPECT_EQ(work.threadRunner(), nullptr);

    testing::internal::CaptureStdout();
    work.error("abc");
    work.setTotalSteps(5);
    work.setStep(5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "**** abc\n");
    EXPECT_EQ(work.lastErrorMessage(), QByteArray("abc"));

    EXPECT_FALSE(work.isCanceled());
    work.setCanceled(true);
    EXPECT_TRUE(work.isCanceled());
}
