#include "studies/tirr/TIRRReport.h"

#include "forms/core/TIRRInputs.h"
#include "framework/style/RynStyle.h"
#include "studies/common/PowerReport.h"
#include "studies/common/ReportTables.h"
#include "studies/tirr/TIRRParameters.h"
#include "studies/tirr/TIRRResults.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

namespace {

QString general(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

TIRRReport::TIRRReport(const ryn::RynStyle& style, const TIRRParameters& record,
                       const TIRRResults& results, const ReportOptions& options)
    : style(style)
    , record(record)
    , results(results)
    , options(options)
    , power(options.power, [&] { return results.precisionTable(record); })
{}

void TIRRReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, TIRRInputs::title);
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

// θ given directly takes one row, derived its two factors take two. The table
// has one row more than it fills, 5 rows with θ given and 6 without: T stands
// in the last row, after an empty one. Over a range an input that changes
// shows its range.
void TIRRReport::writeInputs(QTextCursor& cursor) const
{
    cursor.insertText(QStringLiteral("Input:"), style.heading2Format);
    cursor.insertBlock();
    QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Control Release Size (Rc):"), inputOverPoints(record.rc)},
        {QStringLiteral("Treatment Release Size (Rt):"), inputOverPoints(record.rt)},
    };
    if (record.useTheta) {
        rows.append({QStringLiteral("Theta (Sc * P):"), inputOverPoints(record.theta, general)});
    } else {
        rows.append({QStringLiteral("Survival (Sc):"), inputOverPoints(record.sc, general)});
        rows.append(
            {QStringLiteral("Detection Probability (P):"), inputOverPoints(record.p, general)});
    }
    rows.append(QPair<QString, QString>());
    rows.append({QStringLiteral("Treatment Effect (T):"), inputOverPoints(record.t, general)});
    insertInputTable(cursor, style, rows, false);
    cursor.movePosition(QTextCursor::End);
}

void TIRRReport::writeSinglePoint(QTextCursor& cursor) const
{
    const double se = std::sqrt(results.variances[0]);
    cursor.insertText(QStringLiteral("Results:"), style.heading2Format);
    cursor.insertBlock();
    QStringList labels = {QStringLiteral("se:"), QStringLiteral("90% CI:"),
                          QStringLiteral("95% CI:")};
    QStringList values = {general(se), general(halfWidth90(se)), general(halfWidth95(se))};
    if (power.shown()) {
        labels << QStringLiteral("power:");
        values << power.at(0);
    }
    QTextTable* table = insertReportTable(cursor, style, labels.size(), 2, true, true);
    for (int row = 0; row < labels.size(); ++row) {
        writeCell(table, row, 0, labels[row], style.headerCellFormat);
        writeCell(table, row, 1, values[row], style.cellFormat);
    }
}

void TIRRReport::writeRange(QTextCursor& cursor) const
{
    const int n = results.pointCount();
    const bool tested = power.shown();
    QStringList headers = {record.rangeName, QStringLiteral("Var(T)"), QStringLiteral("SE(T)"),
                           QStringLiteral("1/2 90% CI"), QStringLiteral("1/2 95% CI")};
    if (tested)
        headers << QStringLiteral("Power");
    QTextTable* table = insertReportTable(cursor, style, n + 1, headers.size(), true, true);
    for (int column = 0; column < headers.size(); ++column)
        writeCell(table, 0, column, headers[column], style.headerCellFormat);
    for (int i = 0; i < n; ++i) {
        const double variance = results.variances[i];
        const double se = std::sqrt(variance);
        writeCell(table, i + 1, 0, general(record.x[i]), style.cellFormat);
        const QList<double> values = {variance, se, halfWidth90(se), halfWidth95(se)};
        for (int column = 0; column < values.size(); ++column)
            writeCell(table, i + 1, column + 1, reportNumber(values[column], 4), style.cellFormat);
        if (tested)
            writeCell(table, i + 1, values.size() + 1, power.at(i), style.cellFormat);
    }
}
