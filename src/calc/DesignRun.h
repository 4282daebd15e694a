#pragma once

#include "numerics/Matrix.h"
#include "studies/common/PrecisionTable.h"
#include "studies/design/Design.h"
#include "studies/planning/DesignComputation.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTextCursor;
class RunMonitor;

namespace ryn {
class RynStyle;
}

// One design computed without a window along the window's own path (see
// DesignComputation), and its report as the window writes it after the run.
class DesignRun
{
public:
    // What a run came to (see DesignComputation::Outcome).
    using Outcome = DesignComputation::Outcome;
    static constexpr Outcome Computed = DesignComputation::Computed;
    static constexpr Outcome Refused = DesignComputation::Refused;
    static constexpr Outcome Failed = DesignComputation::Failed;
    static constexpr Outcome Cancelled = DesignComputation::Cancelled;

    static std::unique_ptr<DesignRun> of(const Design& design);
    explicit DesignRun(const Design& design);
    ~DesignRun();

    // See DesignComputation::run.
    Outcome run(RunMonitor& monitor, QString* message);

    // After a computed run: its precision, in the order of its report, and
    // the release-recapture designs' covariances (DesignComputation).
    PrecisionTable precisionTable() const;
    QStringList covarianceNames() const;
    Matrix covariance(int point) const;
    // The design's report, as its window writes it after the run; with power,
    // the power of the tests of the design's options beside the precision.
    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style, bool power = false) const;

    const Design& design() const { return computation->design(); }

private:
    std::unique_ptr<DesignComputation> computation;
};
