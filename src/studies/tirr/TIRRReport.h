#pragma once

#include "studies/common/PowerReport.h"
#include "studies/common/ReportTables.h"

#include <QString>

class QTextCursor;
struct TIRRParameters;
struct TIRRResults;

namespace ryn {
class RynStyle;
}

// The report of a transport run: for one point its inputs and the precision
// of T (se and the half-widths of the 90% and 95% intervals); over a range a
// table of Var(T), SE(T) and the half-widths at every point; with a test of
// T in the options, its power beside them. Written from the run's record and
// results alone.
class TIRRReport
{
public:
    TIRRReport(const ryn::RynStyle& style, const TIRRParameters& record, const TIRRResults& results,
               const ReportOptions& options = {});

    void write(QTextCursor& cursor) const;

private:
    void writeInputs(QTextCursor& cursor) const;
    void writeSinglePoint(QTextCursor& cursor) const;
    void writeRange(QTextCursor& cursor) const;

    const ryn::RynStyle& style;
    const TIRRParameters& record;
    const TIRRResults& results;
    ReportOptions options;
    PowerReport::QuantityPower power;
};
