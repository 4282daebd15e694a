#pragma once

#include "numerics/Matrix.h"
#include "studies/btps/BTPSParameters.h"
#include "studies/btps/BTPSResults.h"
#include "studies/common/PrecisionTable.h"
#include "studies/design/Design.h"
#include "studies/release_recapture/PairedReleaseRecord.h"
#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/SingleReleaseRecord.h"
#include "studies/release_recapture/SingleReleaseResults.h"
#include "studies/tirr/TIRRParameters.h"
#include "studies/tirr/TIRRResults.h"
#include "studies/vwp/VWPParameters.h"
#include "studies/vwp/VWPResults.h"

#include <QString>
#include <QStringList>

#include <memory>

class RunMonitor;

// One design computed without a window along the window's own path: the
// design's checks of its inputs, the record its run computes from, its
// computation, its results and their precision table. The command-line
// calculator writes its reports from the record and results kept here; the
// planner searches the precision of designs it varies.
class DesignComputation
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

    static std::unique_ptr<DesignComputation> of(const Design& design);
    explicit DesignComputation(const Design& design);
    virtual ~DesignComputation();

    // Checks the inputs as the window does before a run ("P1 must lie in (0,
    // 1]"), takes the record ("Out of range value in ...", and for the
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

// Each design's computation, with the record and results its report takes.

class BTPSDesignComputation : public DesignComputation
{
public:
    using DesignComputation::DesignComputation;
    PrecisionTable precisionTable() const override;

    BTPSParameters record;
    BTPSResults results;

protected:
    void take() override;
    void compute(RunMonitor& monitor) override;
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }
};

class TIRRDesignComputation : public DesignComputation
{
public:
    using DesignComputation::DesignComputation;
    PrecisionTable precisionTable() const override;

    TIRRParameters record;
    TIRRResults results;

protected:
    void take() override;
    void compute(RunMonitor& monitor) override;
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }
};

// The window's run checks every point before computing it and ends at the
// first that fails; here the whole record is checked before the run, so that
// the check's "Invalid input: " refuses the inputs like the other designs'.
class VWPDesignComputation : public DesignComputation
{
public:
    using DesignComputation::DesignComputation;
    PrecisionTable precisionTable() const override;

    VWPParameters record;
    VWPResults results;

protected:
    void take() override;
    void compute(RunMonitor& monitor) override;
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }
};

// The two release-recapture designs: Record and Results of the design.
template <typename Record, typename Results>
class ReleaseRecaptureDesignComputation : public DesignComputation
{
public:
    using DesignComputation::DesignComputation;
    PrecisionTable precisionTable() const override;
    QStringList covarianceNames() const override;
    Matrix covariance(int point) const override;

    Record record;
    std::unique_ptr<Results> results;

protected:
    int pointCount() const override { return static_cast<int>(record.points.size()); }
    int computedCount() const override { return results ? results->count() : 0; }
};

class SingleReleaseDesignComputation
    : public ReleaseRecaptureDesignComputation<SingleReleaseRecord, SingleReleaseResults>
{
public:
    using ReleaseRecaptureDesignComputation::ReleaseRecaptureDesignComputation;

protected:
    void take() override;
    void compute(RunMonitor& monitor) override;
};

class PairedReleaseDesignComputation
    : public ReleaseRecaptureDesignComputation<PairedReleaseRecord, PairedReleaseResults>
{
public:
    using ReleaseRecaptureDesignComputation::ReleaseRecaptureDesignComputation;

protected:
    void take() override;
    void compute(RunMonitor& monitor) override;
};
