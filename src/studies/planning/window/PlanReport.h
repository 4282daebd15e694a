#pragma once

#include <QString>

class QTextCursor;
struct Plan;

namespace ryn {
class RynStyle;
}

// The answer of a plan in the report's style: the design, the quantity, the
// target and what was solved for, then one row per point of the design's
// range with the answer, the precision reached at it, and the precision one
// fish or one step short of it (a row that cannot meet the target says why).
// The dialog shows it and writes it to the output log; the command-line
// calculator prints it as text.
class PlanReport
{
public:
    PlanReport(const ryn::RynStyle& style, const QString& designTitle, const Plan& plan);

    void write(QTextCursor& cursor) const;

private:
    void writeRequest(QTextCursor& cursor) const;
    void writeRows(QTextCursor& cursor) const;

    const ryn::RynStyle& style;
    const QString& designTitle;
    const Plan& plan;
};
