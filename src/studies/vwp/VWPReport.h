#pragma once

#include "studies/common/PowerReport.h"
#include "studies/common/ReportTables.h"

#include <QString>

class QTextCursor;
struct VWPParameters;
struct VWPResults;

namespace ryn {
class RynStyle;
}

// The report of a virtual paired-release run: for one point the standard
// error of Ŝdam and the variances and standard errors of the three release
// estimates behind it; over a range the standard error of Ŝdam at every
// point; with a test of Sdam in the options, its power beside them; then the
// estimates known exactly ("S3 = 1: known, not estimated"). Written from the
// run's record and results alone.
class VWPReport
{
public:
    // Decimals of variances and of the standard error of Ŝdam, and of the
    // standard errors the report computes itself.
    static constexpr int variancePrecision = 8;
    static constexpr int errorPrecision = 6;

    VWPReport(const ryn::RynStyle& style, const VWPParameters& record, const VWPResults& results,
              const ReportOptions& options = {});

    void write(QTextCursor& cursor) const;

private:
    void writeInputs(QTextCursor& cursor) const;
    void writeSinglePoint(QTextCursor& cursor) const;
    void writeRange(QTextCursor& cursor) const;
    void writeKnown(QTextCursor& cursor) const;

    const ryn::RynStyle& style;
    const VWPParameters& record;
    const VWPResults& results;
    ReportOptions options;
    PowerReport::QuantityPower power;
};
