#include "studies/planning/window/PlanReport.h"

#include "framework/style/RynStyle.h"
#include "studies/common/ReportTables.h"
#include "studies/planning/Planner.h"

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>

namespace {

QString measureText(double measure)
{
    if (std::isnan(measure))
        return QStringLiteral("-");
    return std::isfinite(measure) ? QString::number(measure, 'g', 6) : QStringLiteral("none");
}

QString solvedFor(const PlanRequest& request)
{
    switch (request.solve) {
    case PlanRequest::ReleaseSize:
        return QStringLiteral("the release sizes, scaled together");
    case PlanRequest::Split:
        return request.total > 0
                   ? QStringLiteral("the split of %1 fish between the two groups, and the "
                                    "smallest total at its best split")
                         .arg(request.total)
                   : QStringLiteral("the split of the design's total between the two groups, "
                                    "and the smallest total at its best split");
    case PlanRequest::Probability:
        break;
    }
    return request.field + QStringLiteral(", on steps of 0.001");
}

} // namespace

PlanReport::PlanReport(const ryn::RynStyle& style, const QString& designTitle, const Plan& plan)
    : style(style)
    , designTitle(designTitle)
    , plan(plan)
{}

void PlanReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    cursor.currentFrame()->setFrameFormat(style.frameFormat);
    cursor.insertText(designTitle + QStringLiteral(" Plan to a Target"), style.heading1Format);
    cursor.insertBlock();
    cursor.insertBlock();
    writeRequest(cursor);
    cursor.insertBlock();
    writeRows(cursor);
    cursor.movePosition(QTextCursor::End);
    cursor.endEditBlock();
}

void PlanReport::writeRequest(QTextCursor& cursor) const
{
    const PlanTarget& target = plan.request.target;
    cursor.insertText(QStringLiteral("Target:"), style.heading2Format);
    cursor.insertBlock();
    insertInputTable(cursor, style,
                     {{QStringLiteral("Quantity:"), target.quantity},
                      {QStringLiteral("Target:"), QStringLiteral("%1 at most %2")
                                                      .arg(PlanTarget::measureName(target.measure))
                                                      .arg(target.value)},
                      {QStringLiteral("Solved for:"), solvedFor(plan.request)}},
                     true);
    cursor.movePosition(QTextCursor::End);
}

void PlanReport::writeRows(QTextCursor& cursor) const
{
    const QString measure = PlanTarget::measureName(plan.request.target.measure);
    const bool ranged = !plan.xName.isEmpty();
    const bool split = plan.request.solve == PlanRequest::Split;
    QStringList heads;
    if (ranged)
        heads << plan.xName;
    if (split)
        heads << QStringLiteral("Best split") << measure + QStringLiteral(" at best split");
    heads << QStringLiteral("Answer") << measure + QStringLiteral(" at answer")
          << QStringLiteral("One short") << measure + QStringLiteral(" one short");

    cursor.insertText(QStringLiteral("Answer:"), style.heading2Format);
    cursor.insertBlock();
    QTextTable* table =
        insertReportTable(cursor, style, plan.rows.size() + 1, heads.size(), true, false);
    for (int c = 0; c < heads.size(); ++c)
        writeCell(table, 0, c, heads[c], style.headerCellFormat);
    for (int r = 0; r < plan.rows.size(); ++r) {
        const PlanRow& row = plan.rows[r];
        QStringList cells;
        if (ranged)
            cells << (plan.xType == RangeArithmetic::Integer ? QString::number(std::lround(row.x))
                                                             : QString::number(row.x, 'f', 4));
        if (split)
            cells << row.bestSplit << measureText(row.bestSplitMeasure);
        if (row.met)
            cells << row.answer << measureText(row.achieved)
                  << (row.shortAnswer.isEmpty() ? QStringLiteral("-") : row.shortAnswer)
                  << measureText(row.shortMeasure);
        else
            cells << row.message << measureText(row.achieved) << QStringLiteral("-")
                  << QStringLiteral("-");
        for (int c = 0; c < cells.size(); ++c)
            writeCell(table, r + 1, c, cells[c], style.cellFormat);
    }
    moveCursorAfter(cursor, table);
}
