#include "studies/release_recapture/window/SingleReleaseReport.h"

#include "framework/style/RynStyle.h"

#include <QTextCursor>

SingleReleaseReport::SingleReleaseReport(const ryn::RynStyle& style, const QString& title,
                                         const ReleaseRecaptureRecord& record,
                                         const SingleReleaseResults& results,
                                         const ReportOptions& options)
    : ReleaseRecaptureReport(style, title, record, results, options)
    , singleResults(results)
{}

void SingleReleaseReport::writeExtra(QTextCursor& cursor) const
{
    if (!singleResults.showsTotalSurvival())
        return;
    cursor.insertText(
        QStringLiteral("\nTotal survival (variance): ") +
            QString::number(singleResults.totalSurvival(0), 'g', 6) + QStringLiteral(" (") +
            QString::number(singleResults.totalSurvivalVariance(0), 'g', 6) + QStringLiteral(")\n"),
        style.textFormat);
}
