#include "studies/planning/DesignComputation.h"

#include "forms/core/InputField.h"
#include "studies/btps/BTPSComputation.h"
#include "studies/common/RunMonitor.h"
#include "studies/release_recapture/ReleaseRecaptureComputation.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"
#include "studies/tirr/TIRRComputation.h"
#include "studies/vwp/VWPComputation.h"

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

} // namespace

std::unique_ptr<DesignComputation> DesignComputation::of(const Design& design)
{
    switch (design.kind) {
    case Design::SingleRelease:
        return std::make_unique<SingleReleaseDesignComputation>(design);
    case Design::PairedRelease:
        return std::make_unique<PairedReleaseDesignComputation>(design);
    case Design::TIRR:
        return std::make_unique<TIRRDesignComputation>(design);
    case Design::BTPS:
        return std::make_unique<BTPSDesignComputation>(design);
    case Design::VWP:
        return std::make_unique<VWPDesignComputation>(design);
    }
    return nullptr;
}

DesignComputation::DesignComputation(const Design& design)
    : design_(design)
{}

DesignComputation::~DesignComputation() = default;

DesignComputation::Outcome DesignComputation::run(RunMonitor& monitor, QString* message)
{
    const Refusal refused =
        refusedField(design_.inputs, designs::info(design_.kind).firstIllegal(design_.inputs));
    if (!refused.isNull()) {
        *message = refused.text();
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

QStringList DesignComputation::covarianceNames() const
{
    return {};
}

Matrix DesignComputation::covariance(int) const
{
    return {};
}

PrecisionTable BTPSDesignComputation::precisionTable() const
{
    return results.precisionTable(record);
}

void BTPSDesignComputation::take()
{
    record = takeBTPSRecord(design().inputs);
}

void BTPSDesignComputation::compute(RunMonitor& monitor)
{
    results = computeBTPS(record, monitor);
}

PrecisionTable TIRRDesignComputation::precisionTable() const
{
    return results.precisionTable(record);
}

void TIRRDesignComputation::take()
{
    record = takeTIRRRecord(design().inputs);
}

void TIRRDesignComputation::compute(RunMonitor& monitor)
{
    results = computeTIRR(record, monitor);
}

PrecisionTable VWPDesignComputation::precisionTable() const
{
    return results.precisionTable(record);
}

void VWPDesignComputation::take()
{
    record = takeVWPRecord(design().inputs);
    for (int i = 0; i < record.pointCount(); ++i) {
        const QString invalid = vwpInputError(record, i);
        if (!invalid.isEmpty())
            throw invalid;
    }
}

void VWPDesignComputation::compute(RunMonitor& monitor)
{
    results = computeVWP(record, monitor);
}

template <typename Record, typename Results>
PrecisionTable ReleaseRecaptureDesignComputation<Record, Results>::precisionTable() const
{
    return releaseRecapturePrecisionTable(record, *results);
}

template <typename Record, typename Results>
QStringList ReleaseRecaptureDesignComputation<Record, Results>::covarianceNames() const
{
    return results->parameterNames().mid(0, results->parameterCount());
}

template <typename Record, typename Results>
Matrix ReleaseRecaptureDesignComputation<Record, Results>::covariance(int point) const
{
    return results->covariance(point);
}

template class ReleaseRecaptureDesignComputation<SingleReleaseRecord, SingleReleaseResults>;
template class ReleaseRecaptureDesignComputation<PairedReleaseRecord, PairedReleaseResults>;

void SingleReleaseDesignComputation::take()
{
    record =
        takeSingleReleaseRecord(design().inputs, ReleaseRecaptureOptions::of(design().options));
}

void SingleReleaseDesignComputation::compute(RunMonitor& monitor)
{
    results = computeSingleRelease(record, monitor);
}

void PairedReleaseDesignComputation::take()
{
    record =
        takePairedReleaseRecord(design().inputs, ReleaseRecaptureOptions::of(design().options));
}

void PairedReleaseDesignComputation::compute(RunMonitor& monitor)
{
    results = computePairedRelease(record, monitor);
}
