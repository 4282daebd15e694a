#include "calc/DesignRun.h"

#include "forms/core/InputField.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "studies/btps/BTPSComputation.h"
#include "studies/btps/BTPSParameters.h"
#include "studies/btps/BTPSReport.h"
#include "studies/common/ReportTables.h"
#include "studies/release_recapture/ReleaseRecaptureComputation.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"
#include "studies/release_recapture/window/SingleReleaseReport.h"
#include "studies/tirr/TIRRComputation.h"
#include "studies/tirr/TIRRParameters.h"
#include "studies/tirr/TIRRReport.h"
#include "studies/vwp/VWPComputation.h"
#include "studies/vwp/VWPParameters.h"
#include "studies/vwp/VWPReport.h"

#include <exception>

namespace {

// Passes a run's progress and cancel on to the caller's monitor and notes
// what the run reports: its errors, and whether it ended itself (a point
// that could not be computed) rather than being cancelled.
class OutcomeMonitor : public RunMonitor
{
public:
    explicit OutcomeMonitor(RunMonitor& outer)
        : outer(outer)
    {}

    void setTotalSteps(int n) override { outer.setTotalSteps(n); }
    void setStep(int i) override { outer.setStep(i); }
    bool isCanceled() const override { return failed || outer.isCanceled(); }
    void error(const QString& msg) override { errors << msg; }
    void setCanceled(bool canceled) override { failed = canceled; }

    RunMonitor& outer;
    QStringList errors;
    bool failed = false;
};

ReportOptions reportOptions(const DesignOptions& options)
{
    ReportOptions report;
    report.precisionEst = options.precisionEst;
    report.precisionErr = options.precisionErr;
    return report;
}

class BTPSDesignRun : public DesignRun
{
public:
    using DesignRun::DesignRun;

    PrecisionTable precisionTable() const override { return results.precisionTable(record); }
    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const override
    {
        BTPSReport(style, record, results, reportOptions(design().options)).write(cursor);
    }

protected:
    void take() override { record = takeBTPSRecord(design().inputs); }
    void compute(RunMonitor& monitor) override { results = computeBTPS(record, monitor); }
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }

private:
    BTPSParameters record;
    BTPSResults results;
};

class TIRRDesignRun : public DesignRun
{
public:
    using DesignRun::DesignRun;

    PrecisionTable precisionTable() const override { return results.precisionTable(record); }
    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const override
    {
        TIRRReport(style, record, results).write(cursor);
    }

protected:
    void take() override { record = takeTIRRRecord(design().inputs); }
    void compute(RunMonitor& monitor) override { results = computeTIRR(record, monitor); }
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }

private:
    TIRRParameters record;
    TIRRResults results;
};

// The window's run checks every point before computing it and ends at the
// first that fails; here the whole record is checked before the run, so that
// the check's "Invalid input: " refuses the inputs like the other designs'.
class VWPDesignRun : public DesignRun
{
public:
    using DesignRun::DesignRun;

    PrecisionTable precisionTable() const override { return results.precisionTable(record); }
    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const override
    {
        VWPReport(style, record, results).write(cursor);
    }

protected:
    void take() override
    {
        record = takeVWPRecord(design().inputs);
        for (int i = 0; i < record.pointCount(); ++i) {
            const QString invalid = vwpInputError(record, i);
            if (!invalid.isEmpty())
                throw invalid;
        }
    }
    void compute(RunMonitor& monitor) override { results = computeVWP(record, monitor); }
    int pointCount() const override { return record.pointCount(); }
    int computedCount() const override { return results.pointCount(); }

private:
    VWPParameters record;
    VWPResults results;
};

// The two release-recapture designs: Record and Results of the design, the
// record taken by takeRecord, computed by computeRecord.
template <typename Record, typename Results> class ReleaseRecaptureDesignRun : public DesignRun
{
public:
    using DesignRun::DesignRun;

    PrecisionTable precisionTable() const override
    {
        return releaseRecapturePrecisionTable(record, *results);
    }
    QStringList covarianceNames() const override
    {
        return results->parameterNames().mid(0, results->parameterCount());
    }
    Matrix covariance(int point) const override { return results->covariance(point); }

protected:
    int pointCount() const override { return static_cast<int>(record.points.size()); }
    int computedCount() const override { return results ? results->count() : 0; }

    Record record;
    std::unique_ptr<Results> results;
};

class SingleReleaseDesignRun
    : public ReleaseRecaptureDesignRun<SingleReleaseRecord, SingleReleaseResults>
{
public:
    using ReleaseRecaptureDesignRun::ReleaseRecaptureDesignRun;

    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const override
    {
        SingleReleaseReport(style, SingleReleaseInputs::title, record, *results,
                            reportOptions(design().options))
            .write(cursor);
    }

protected:
    void take() override
    {
        record =
            takeSingleReleaseRecord(design().inputs, ReleaseRecaptureOptions::of(design().options));
    }
    void compute(RunMonitor& monitor) override { results = computeSingleRelease(record, monitor); }
};

class PairedReleaseDesignRun
    : public ReleaseRecaptureDesignRun<PairedReleaseRecord, PairedReleaseResults>
{
public:
    using ReleaseRecaptureDesignRun::ReleaseRecaptureDesignRun;

    void writeReport(QTextCursor& cursor, const ryn::RynStyle& style) const override
    {
        ReleaseRecaptureReport(style, PairedReleaseInputs::windowTitle, record, *results,
                               reportOptions(design().options))
            .write(cursor);
    }

protected:
    void take() override
    {
        record =
            takePairedReleaseRecord(design().inputs, ReleaseRecaptureOptions::of(design().options));
    }
    void compute(RunMonitor& monitor) override { results = computePairedRelease(record, monitor); }
};

} // namespace

std::unique_ptr<DesignRun> DesignRun::of(const Design& design)
{
    switch (design.kind) {
    case Design::SingleRelease:
        return std::make_unique<SingleReleaseDesignRun>(design);
    case Design::PairedRelease:
        return std::make_unique<PairedReleaseDesignRun>(design);
    case Design::TIRR:
        return std::make_unique<TIRRDesignRun>(design);
    case Design::BTPS:
        return std::make_unique<BTPSDesignRun>(design);
    case Design::VWP:
        return std::make_unique<VWPDesignRun>(design);
    }
    return nullptr;
}

DesignRun::DesignRun(const Design& design)
    : design_(design)
{}

DesignRun::~DesignRun() = default;

DesignRun::Outcome DesignRun::run(RunMonitor& monitor, QString* message)
{
    const QString refused =
        refusedField(design_.inputs, designs::info(design_.kind).firstIllegal(design_.inputs));
    if (!refused.isNull()) {
        *message = fieldrules::illegalValueText(refused);
        return Refused;
    }
    try {
        take();
    } catch (const QString& text) {
        *message = text;
        return Refused;
    } catch (const std::exception& e) {
        *message = QString::fromUtf8(e.what());
        return Refused;
    }

    OutcomeMonitor outcome(monitor);
    compute(outcome);
    if (!outcome.errors.isEmpty()) {
        *message = outcome.errors.first();
        return outcome.failed ? Failed : Cancelled;
    }
    if (computedCount() != pointCount()) {
        *message = QStringLiteral("Unknown error");
        return Failed;
    }
    return Computed;
}

QStringList DesignRun::covarianceNames() const
{
    return {};
}

Matrix DesignRun::covariance(int) const
{
    return {};
}
