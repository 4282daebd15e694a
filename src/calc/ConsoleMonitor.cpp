#include "calc/ConsoleMonitor.h"

#include "calc/ProgressLine.h"

#include <atomic>
#include <signal.h>

namespace {

// Set by the signal handler, read by the runs between points: a lock-free
// atomic, which a handler may write.
std::atomic<bool> interruptedFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int)
{
    interruptedFlag.store(true);
}

} // namespace

ConsoleMonitor::ConsoleMonitor(const QString& label, ProgressLine& progress)
    : label(label)
    , progress(progress)
{}

void ConsoleMonitor::setTotalSteps(int n)
{
    total = n;
}

void ConsoleMonitor::setStep(int i)
{
    progress.show(QStringLiteral("quorvel-calc: %1: %2 of %3 points").arg(label).arg(i).arg(total),
                  i == total);
}

bool ConsoleMonitor::isCanceled() const
{
    return canceled || interrupted();
}

void ConsoleMonitor::error(const QString& msg)
{
    reported << msg;
}

void ConsoleMonitor::setCanceled(bool value)
{
    canceled = value;
}

void ConsoleMonitor::catchInterrupt()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

bool ConsoleMonitor::interrupted()
{
    return interruptedFlag.load();
}

void ConsoleMonitor::interrupt()
{
    interruptedFlag.store(true);
}

const std::atomic<bool>& ConsoleMonitor::interruptFlag()
{
    return interruptedFlag;
}
