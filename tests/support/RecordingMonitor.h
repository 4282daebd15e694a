#pragma once

#include "studies/common/RunMonitor.h"

#include <QList>
#include <QStringList>

namespace quorvel::test {

// A RunMonitor that notes what a computation reports: the total, every step
// and every error, and whether it set the cancel flag. cancelAfterStep makes
// it answer isCanceled() with true once that step has been reported, as a
// user's cancel between points would.
class RecordingMonitor : public RunMonitor
{
public:
    void setTotalSteps(int n) override { total = n; }
    void setStep(int i) override { steps.append(i); }
    bool isCanceled() const override
    {
        return canceled || (cancelAfterStep >= 0 && steps.contains(cancelAfterStep));
    }
    void error(const QString& msg) override { errors.append(msg); }
    void setCanceled(bool value) override { canceled = value; }

    int cancelAfterStep = -1;
    int total = -1;
    QList<int> steps;
    QStringList errors;
    bool canceled = false;
};

} // namespace quorvel::test
