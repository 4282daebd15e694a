#include "calc/DesignRun.h"

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "studies/btps/BTPSReport.h"
#include "studies/common/ReportTables.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"
#include "studies/release_recapture/window/SingleReleaseReport.h"
#include "studies/tirr/TIRRReport.h"
#include "studies/vwp/VWPReport.h"

namespace {

ReportOptions reportOptions(const DesignOptions& options)
{
    ReportOptions report;
    report.precisionEst = options.precisionEst;
    report.precisionErr = options.precisionErr;
    return report;
}

} // namespace

std::unique_ptr<DesignRun> DesignRun::of(const Design& design)
{
    return std::make_unique<DesignRun>(design);
}

DesignRun::DesignRun(const Design& design)
    : computation(DesignComputation::of(design))
{}

DesignRun::~DesignRun() = default;

DesignRun::Outcome DesignRun::run(RunMonitor& monitor, QString* message)
{
    return computation->run(monitor, message);
}

PrecisionTable DesignRun::precisionTable() const
{
    return computation->precisionTable();
}

QStringList DesignRun::covarianceNames() const
{
    return computation->covarianceNames();
}

Matrix DesignRun::covariance(int point) const
{
    return computation->covariance(point);
}

// The computation made by DesignComputation::of is the design's own class,
// which holds the record and results its report writer takes.
void DesignRun::writeReport(QTextCursor& cursor, const ryn::RynStyle& style, bool power) const
{
    ReportOptions options = reportOptions(design().options);
    if (power)
        options.power = design().options.effect;
    switch (design().kind) {
    case Design::SingleRelease: {
        const auto& single = static_cast<const SingleReleaseDesignComputation&>(*computation);
        SingleReleaseReport(style, SingleReleaseInputs::title, single.record, *single.results,
                            options)
            .write(cursor);
        return;
    }
    case Design::PairedRelease: {
        const auto& paired = static_cast<const PairedReleaseDesignComputation&>(*computation);
        ReleaseRecaptureReport(style, PairedReleaseInputs::windowTitle, paired.record,
                               *paired.results, options)
            .write(cursor);
        return;
    }
    case Design::TIRR: {
        const auto& tirr = static_cast<const TIRRDesignComputation&>(*computation);
        TIRRReport(style, tirr.record, tirr.results, options).write(cursor);
        return;
    }
    case Design::BTPS: {
        const auto& btps = static_cast<const BTPSDesignComputation&>(*computation);
        BTPSReport(style, btps.record, btps.results, options).write(cursor);
        return;
    }
    case Design::VWP: {
        const auto& vwp = static_cast<const VWPDesignComputation&>(*computation);
        VWPReport(style, vwp.record, vwp.results, options).write(cursor);
        return;
    }
    }
}
