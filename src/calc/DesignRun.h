#pragma once

#include "numerics/Matrix.h"
#include "studies/common/PrecisionTable.h"
#include "studies/design/Design.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTextCursor;
class RunMonitor;

namespace ryn {
class RynStyle;
}

// One design computed without a window along the window's own path: the
// design's checks of its inputs, the record its run computes from, its
// computation, and its results, precision table and report writer.
class DesignRun
{
public:
    // What a run came to.
    enum Outcome {
        Computed,
        // The inputs cannot be run; the message is the window's.
        Refused,
        // A point could not be computed.
        Failed,
        // The monitor was cancelled between points.
        Cancelled,
    };

    static std::unique_ptr<DesignRun> of(const Design& design);
    explicit DesignRun(const Design& design);
    virtual ~DesignRun();

    // Checks the inputs as the window does before a run ("Illegal value for
    // ..."), takes the record ("Out of range value in ...", and for the
    // virtual paired release "Invalid input: ...") and computes it, following
    // the protocol of RunMonitor with monitor. Anything but Computed comes
    // with the message the window would show ("Singular hessian: step = ...",
    // "Cancelled!").
    Outcome run(RunMonitor& monitor, QString* message);

    // After a computed run: its precision, in the order of its report.
    virtual PrecisionTable precisionTable() const = 0;
    // The release-recapture designs' estimated parameters and, for each
    // point, their variance-covariance matrix in that order; none for the
    // other designs.
    virtual QStringList covarianceNames() const;
    virtual Matrix covariance(int point) const;
    // The design's report, as its window writes it after the run.
    virtual void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const = 0;

    const Design& design() const { return design_; }

protected:
    // Reads the record from the inputs; throws the window's QString for a
    // value that cannot be read.
    virtual void take() = 0;
    virtual void compute(RunMonitor& monitor) = 0;
    // Points of the record, and points computed.
    virtual int pointCount() const = 0;
    virtual int computedCount() const = 0;

private:
    Design design_;
};
