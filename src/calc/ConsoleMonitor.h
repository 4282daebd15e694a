#pragma once

#include "studies/common/RunMonitor.h"

#include <QString>
#include <QStringList>

#include <atomic>

class ProgressLine;

// The run protocol of a computation on the command line: the run's progress
// goes to a progress line on standard error, and Ctrl-C is the user's cancel,
// seen between points. The errors a run reports are kept for the caller to
// print.
class ConsoleMonitor : public RunMonitor
{
public:
    // label names the run in the progress line ("designs/a.json").
    ConsoleMonitor(const QString& label, ProgressLine& progress);

    void setTotalSteps(int n) override;
    void setStep(int i) override;
    bool isCanceled() const override;
    void error(const QString& msg) override;
    void setCanceled(bool canceled) override;

    const QStringList& errors() const { return reported; }

    // Makes Ctrl-C (SIGINT) set the interrupt flag that every monitor's
    // isCanceled() answers with; a second Ctrl-C ends the program at once.
    static void catchInterrupt();
    // Whether Ctrl-C was pressed since catchInterrupt(), or interrupt() was
    // called.
    static bool interrupted();
    static void interrupt();
    // The flag itself, for a wait that a cancel flag can end.
    static const std::atomic<bool>& interruptFlag();

private:
    QString label;
    ProgressLine& progress;
    int total = 0;
    bool canceled = false;
    QStringList reported;
};
