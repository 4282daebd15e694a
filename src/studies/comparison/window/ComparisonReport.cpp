#include "studies/comparison/window/ComparisonReport.h"

#include "framework/style/RynStyle.h"
#include "studies/common/ReportTables.h"
#include "studies/comparison/DesignComparison.h"

#include <QTextCursor>

ComparisonReport::ComparisonReport(const ryn::RynStyle& style, const Comparison& comparison)
    : style(style)
    , comparison(comparison)
{}

void ComparisonReport::write(QTextCursor& cursor) const
{
    const QList<QStringList> rows = comparison::table(comparison);
    QList<ReportPiece> pieces;
    pieces << [this](QTextCursor& c) {
        insertReportTitle(c, style, QStringLiteral("Comparison of Designs"));
        c.insertBlock();
        c.insertBlock();
        c.insertText(comparison.request.describe(), style.heading2Format);
        c.insertBlock();
    };
    ReportTableShape shape;
    shape.rows = rows.size();
    shape.columns = rows.first().size();
    shape.headerRow = true;
    shape.keyColumn = true;
    pieces << reportTablePieces(style, shape,
                                [rows](int row, int column) { return rows[row][column]; });
    const QString verdict = comparison::verdict(comparison);
    if (!verdict.isEmpty()) {
        pieces << [this, verdict](QTextCursor& c) {
            c.insertBlock();
            c.insertText(verdict, style.boldTextFormat);
        };
    }
    writeReportPieces(cursor, pieces);
}
