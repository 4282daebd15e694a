#pragma once

#include "studies/common/PrecisionTable.h"
#include "studies/common/ReportTables.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"
#include "studies/release_recapture/ReleaseRecaptureResults.h"

#include <QList>
#include <QString>

class QTextCursor;

namespace ryn {
class RynStyle;
}

// The rich-text report of a completed single- or paired-release run, written
// from the run's record and results alone, so that the window, the tests and
// a front end without windows write the same report. It holds the title
// ("<title> Results"), the replicates table when replicates are in use, the
// release sizes and the parameters of the first point (the range text in the
// columns of the ranged input) with the removal proportions in a table of
// their own when any reach removes fish, then either the single-point report
// (variance-covariance matrix unless replicates are in use, the precision
// table) or, over a range, the standard errors and the half-widths of the 90%
// and the 95% intervals at every point, each a table of its own, and the
// parameters known exactly ("P2 = 1: known, not estimated"). With a test in
// the options, the power of each quantity with a null value stands beside
// its precision: a "power" row at one point, a column over a range. With
// replicates in use only the replicate parameter's precision is shown. Tables
// of many reaches are written in blocks (reportTablePieces).
class ReleaseRecaptureReport
{
public:
    // The style, record and results must outlive the writer; results must
    // hold at least one point.
    ReleaseRecaptureReport(const ryn::RynStyle& style, const QString& title,
                           const ReleaseRecaptureRecord& record,
                           const ReleaseRecaptureResults& results, const ReportOptions& options);
    virtual ~ReleaseRecaptureReport() = default;

    // Writes the report at cursor in one edit block and leaves the cursor at
    // the start of the document.
    void write(QTextCursor& cursor) const;
    // The report in pieces, in order, for a window that writes it a few
    // pieces at a time; the writer must outlive them.
    QList<ReportPiece> pieces() const;

protected:
    // What a design adds to the single-point report after its precision
    // table; nothing by default.
    virtual void writeExtra(QTextCursor& cursor) const;

    const ryn::RynStyle& style;

private:
    void writeReplicates(QTextCursor& cursor) const;
    QList<ReportPiece> releaseSizePieces() const;
    QList<ReportPiece> parameterPieces() const;
    QList<ReportPiece> singlePointPieces() const;
    QList<ReportPiece> rangePieces() const;
    QList<ReportPiece> knownPieces() const;
    // A new paragraph with text in the heading format, or in the error format.
    ReportPiece caption(const QString& text) const;
    ReportPiece errorLine(const QString& text) const;
    // The columns shown of a variance table: every name, or with replicates
    // in use only the adjusted one.
    QList<int> shownColumns(int replicateColumn) const;
    // The names of the shown columns whose test has a null value.
    QStringList testedNames(const QList<int>& columns) const;

    QString title;
    const ReleaseRecaptureRecord& record;
    const ReleaseRecaptureResults& results;
    ReportOptions options;
    // The precision the power is computed from, when there is a test.
    PrecisionTable precision;
};
