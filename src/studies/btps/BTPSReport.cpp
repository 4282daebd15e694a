#include "studies/btps/BTPSReport.h"

#include "forms/core/BTPSInputs.h"
#include "framework/style/RynStyle.h"
#include "studies/btps/BTPSParameters.h"
#include "studies/btps/BTPSResults.h"
#include "studies/common/PowerReport.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

BTPSReport::BTPSReport(const ryn::RynStyle& style, const BTPSParameters& record,
                       const BTPSResults& results, const ReportOptions& options)
    : style(style)
    , record(record)
    , results(results)
    , options(options)
    , power(options.power, [&] { return results.precisionTable(record); })
{}

void BTPSReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, BTPSInputs::title);
    cursor.insertBlock();
    cursor.insertBlock();
    writeInputs(cursor);
    if (results.pointCount() == 1)
        writeSinglePoint(cursor);
    else
        writeRange(cursor);
    power.writeNote(cursor, style);
    cursor.movePosition(QTextCursor::End);
    cursor.endEditBlock();
}

// The first point's inputs as typed, also over a range. With St given the
// table shows St = Sc·T.
void BTPSReport::writeInputs(QTextCursor& cursor) const
{
    const auto fixed = inputNumber;
    cursor.insertText(QStringLiteral("Input:"), style.heading2Format);
    cursor.insertBlock();
    insertInputTable(
        cursor, style,
        {
            {QStringLiteral("Control Release Size (Rc):"), QString::number(record.rc[0])},
            {QStringLiteral("Treatment Release Size (Rt):"), QString::number(record.rt[0])},
            {QStringLiteral("Control Survival (Sc):"), fixed(record.sc[0])},
            record.useSt
                ? qMakePair(QStringLiteral("Treatment Survival (St):"),
                            fixed(record.sc[0] * record.t[0]))
                : qMakePair(QStringLiteral("Survival Ratio (T = St/Sc):"), fixed(record.t[0])),
            {QStringLiteral("Proportion Alive Fish (Pa):"), fixed(record.pa[0])},
            {QStringLiteral("Proportion Dead Fish (Pd):"), fixed(record.pd[0])},
        },
        true);
    cursor.movePosition(QTextCursor::End);
}

void BTPSReport::writeSinglePoint(QTextCursor& cursor) const
{
    const int d = options.precisionErr;
    const double se = std::sqrt(results.variances[0]);
    cursor.insertText(QStringLiteral("Results:"), style.heading2Format);
    cursor.insertBlock();
    QStringList labels = {QStringLiteral("se"), QStringLiteral("1/2 90% CI"),
                          QStringLiteral("1/2 95% CI")};
    QStringList values;
    for (double value : {se, halfWidth90(se), halfWidth95(se)})
        values << reportNumber(value, d);
    if (power.shown()) {
        labels << QStringLiteral("power");
        values << power.at(0);
    }
    QTextTable* table = insertReportTable(cursor, style, labels.size() + 1, 2, true, true);
    writeCell(table, 0, 1, QStringLiteral("T"), style.headerCellFormat);
    for (int row = 0; row < labels.size(); ++row) {
        writeCell(table, row + 1, 0, labels[row], style.headerCellFormat);
        writeCell(table, row + 1, 1, values[row], style.cellFormat);
    }
}

void BTPSReport::writeRange(QTextCursor& cursor) const
{
    const int n = results.pointCount();
    const bool tested = power.shown();
    QStringList headers = {record.rangeName, QStringLiteral("var(T)"), QStringLiteral("se(T)"),
                           QStringLiteral("1/2 90% CI"), QStringLiteral("1/2 95% CI")};
    if (tested)
        headers << QStringLiteral("Power");
    QTextTable* table = insertReportTable(cursor, style, n + 1, headers.size(), true, false);
    for (int column = 0; column < headers.size(); ++column)
        writeCell(table, 0, column, headers[column], style.headerCellFormat);
    for (int i = 0; i < n; ++i) {
        const double variance = results.variances[i];
        const double se = std::sqrt(variance);
        const QList<double> values = {record.x[i], variance, se, halfWidth90(se), halfWidth95(se)};
        for (int column = 0; column < values.size(); ++column)
            writeCell(table, i + 1, column, QString::number(values[column], 'g', 6),
                      style.cellFormat);
        if (tested)
            writeCell(table, i + 1, values.size(), power.at(i), style.cellFormat);
    }
}
