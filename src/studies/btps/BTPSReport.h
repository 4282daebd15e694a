#pragma once

#include "studies/common/PowerReport.h"
#include "studies/common/ReportTables.h"

#include <QString>

class QTextCursor;
struct BTPSParameters;
struct BTPSResults;

namespace ryn {
class RynStyle;
}

// The report of a balloon-tag run: the inputs of its first point as typed,
// then the precision of T (the survival ratio St/Sc), as a table of se and
// the half-widths of the 90% and 95% intervals for one point, or as a table
// of var(T), se(T) and the half-widths at every point of a range; with a test
// of T in the options, its power beside them. Written from the run's record
// and results alone.
class BTPSReport
{
public:
    BTPSReport(const ryn::RynStyle& style, const BTPSParameters& record, const BTPSResults& results,
               const ReportOptions& options);

    void write(QTextCursor& cursor) const;

private:
    void writeInputs(QTextCursor& cursor) const;
    void writeSinglePoint(QTextCursor& cursor) const;
    void writeRange(QTextCursor& cursor) const;

    const ryn::RynStyle& style;
    const BTPSParameters& record;
    const BTPSResults& results;
    ReportOptions options;
    PowerReport::QuantityPower power;
};
