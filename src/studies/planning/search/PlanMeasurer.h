#pragma once

#include "studies/common/RunMonitor.h"
#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"

#include <QString>

#include <limits>

namespace planning {

// The computations of a plan report nothing; they only see the caller's
// cancel.
class QuietMonitor : public RunMonitor
{
public:
    explicit QuietMonitor(RunMonitor* outer)
        : outer(outer)
    {}

    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return outer != nullptr && outer->isCanceled(); }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    RunMonitor* outer;
};

// The target's measure for one design of a single point, or why there is
// none.
struct Measured
{
    double measure = std::numeric_limits<double>::infinity();
    QString message;
    // Whether the run refused the design's inputs (its checks, or a record
    // that cannot be read) rather than failing to compute them.
    bool refused = false;
};

// Every search of a plan measures designs through this: one computation of a
// single-point design, read for the target's quantity. After a cancel it
// computes nothing more.
class PlanMeasurer
{
public:
    PlanMeasurer(const PlanTarget& target, RunMonitor* outer)
        : target(target)
        , outer(outer)
        , quiet(outer)
    {}

    Measured operator()(const Design& design);
    // A measurer of the same target and cancel for another thread: each
    // thread measures through its own.
    PlanMeasurer sibling() const { return PlanMeasurer(target, outer); }

    const PlanTarget& target;
    bool cancelled = false;

private:
    RunMonitor* outer;
    QuietMonitor quiet;
};

} // namespace planning
