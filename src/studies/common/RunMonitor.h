#pragma once

#include <QString>

// What a study computation reports while it works, and how it learns that it
// should stop. The window's runs forward to the background runner (progress
// dialog, output log); a command-line front end prints progress and turns an
// interrupt into a cancel. Every computation follows one protocol: it calls
// setTotalSteps(n) once, setStep(i) before point i and setStep(n) at the end;
// before each point it checks isCanceled() and, when set, reports
// error("Cancelled!") and stops; a point that cannot be computed is reported
// with error(message) followed by setCanceled(true).
class RunMonitor
{
public:
    virtual ~RunMonitor() = default;

    virtual void setTotalSteps(int n) = 0;
    virtual void setStep(int i) = 0;
    virtual bool isCanceled() const = 0;
    virtual void error(const QString& msg) = 0;
    virtual void setCanceled(bool canceled) = 0;
};
