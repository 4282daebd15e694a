#pragma once

#include "studies/release_recapture/SingleReleaseResults.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"

// The single-release report: that of ReleaseRecaptureReport, and after the
// single-point precision table, when the total survival is shown, the line
// "Total survival (variance): " with its value and delta-method variance.
class SingleReleaseReport : public ReleaseRecaptureReport
{
public:
    SingleReleaseReport(const ryn::RynStyle& style, const QString& title,
                        const ReleaseRecaptureRecord& record, const SingleReleaseResults& results,
                        const ReportOptions& options);

protected:
    void writeExtra(QTextCursor& cursor) const override;

private:
    const SingleReleaseResults& singleResults;
};
