#include "studies/vwp/VWPReport.h"

#include "forms/core/VWPInputs.h"
#include "framework/style/RynStyle.h"
#include "studies/common/PowerReport.h"
#include "studies/common/PrecisionTable.h"
#include "studies/common/ReportTables.h"
#include "studies/vwp/VWPComputation.h"
#include "studies/vwp/VWPParameters.h"
#include "studies/vwp/VWPResults.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

VWPReport::VWPReport(const ryn::RynStyle& style, const VWPParameters& record,
                     const VWPResults& results, const ReportOptions& options)
    : style(style)
    , record(record)
    , results(results)
    , options(options)
    , power(options.power, [&] { return results.precisionTable(record); })
{}

void VWPReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, VWPInputs::title);
    cursor.insertBlock();
    cursor.insertBlock();
    writeInputs(cursor);
    if (record.rangeName.isEmpty())
        writeSinglePoint(cursor);
    else
        writeRange(cursor);
    power.writeNote(cursor, style);
    writeKnown(cursor);
    cursor.movePosition(QTextCursor::Start);
    cursor.endEditBlock();
}

// The inputs as the balloon-tag report states its own; over a range an input
// that changes shows its range.
void VWPReport::writeInputs(QTextCursor& cursor) const
{
    const auto general = [](double v) { return QString::number(v, 'g', 6); };
    cursor.insertText(QStringLiteral("Input:"), style.heading2Format);
    cursor.insertBlock();
    insertInputTable(
        cursor, style,
        {
            {QStringLiteral("Virtual Release Size (V1):"), inputOverPoints(record.v1)},
            {QStringLiteral("Release Size (R2):"), inputOverPoints(record.r2)},
            {QStringLiteral("Release Size (R3):"), inputOverPoints(record.r3)},
            {QStringLiteral("Dam Survival (Sdam):"), inputOverPoints(record.sDam, general)},
            {QStringLiteral("Survival below the Dam to Site 1 (S'11):"),
             inputOverPoints(record.sPrime11, general)},
            {QStringLiteral("Survival from Site 1 to Site 2 (S12):"),
             inputOverPoints(record.s12, general)},
            {QStringLiteral("Detection at Site 1 (P1):"), inputOverPoints(record.p1, general)},
            {QStringLiteral("Detection at Site 2 (P2):"), inputOverPoints(record.p2, general)},
            {QStringLiteral("Survival and Detection beyond Site 2 (Lambda):"),
             inputOverPoints(record.lambda, general)},
        },
        true);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
}

// The half-widths stand beside the standard error they are made of.
void VWPReport::writeSinglePoint(QTextCursor& cursor) const
{
    const VWPPointResult& point = results.points[0];
    cursor.insertText(QStringLiteral("Results for Sdam:"), style.heading2Format);
    const auto fixed = [](double v) { return reportNumber(v, variancePrecision); };
    QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Standard Error: "), fixed(point.seSdam)},
        {QStringLiteral("1/2 90% CI: "), fixed(halfWidth90(point.seSdam))},
        {QStringLiteral("1/2 95% CI: "), fixed(halfWidth95(point.seSdam))}};
    if (power.shown())
        rows.append({QStringLiteral("Power: "), power.at(0)});
    insertInputTable(cursor, style, rows, false);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();

    cursor.insertText(QStringLiteral("Intermediate Results:"), style.heading2Format);
    cursor.insertBlock();
    QTextTable* table = insertReportTable(cursor, style, 4, 3, true, false);
    const QStringList headers = {QStringLiteral("Parameter"), QStringLiteral("Variance"),
                                 QStringLiteral("Standard Error")};
    for (int column = 0; column < headers.size(); ++column)
        writeCell(table, 0, column, headers[column], style.headerCellFormat);
    const QStringList names = {QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("S3")};
    const QList<double> variances = {point.varS1, point.varS2, point.varS3};
    for (int row = 0; row < names.size(); ++row) {
        writeCell(table, row + 1, 0, names[row], style.cellFormat);
        writeCell(table, row + 1, 1, reportNumber(variances[row], variancePrecision),
                  style.cellFormat);
        writeCell(table, row + 1, 2, reportNumber(std::sqrt(variances[row]), errorPrecision),
                  style.cellFormat);
    }
    cursor.movePosition(QTextCursor::End);
}

void VWPReport::writeRange(QTextCursor& cursor) const
{
    const int n = results.pointCount();
    cursor.insertText(QStringLiteral("Range Results for Sdam:"), style.heading2Format);
    cursor.insertBlock();
    const bool tested = power.shown();
    QStringList heads = {record.rangeName, QStringLiteral("SDam Std. Err."),
                         QStringLiteral("1/2 90% CI"), QStringLiteral("1/2 95% CI")};
    if (tested)
        heads << QStringLiteral("Power");
    QTextTable* table = insertReportTable(cursor, style, n + 1, heads.size(), true, false);
    for (int column = 0; column < heads.size(); ++column)
        writeCell(table, 0, column, heads[column], style.headerCellFormat);
    for (int i = 0; i < n; ++i) {
        const double se = results.points[i].seSdam;
        writeCell(table, i + 1, 0, QString::number(record.x[i], 'g', 6), style.cellFormat);
        const QList<double> values = {se, halfWidth90(se), halfWidth95(se)};
        for (int column = 0; column < values.size(); ++column)
            writeCell(table, i + 1, column + 1, reportNumber(values[column], errorPrecision),
                      style.cellFormat);
        if (tested)
            writeCell(table, i + 1, values.size() + 1, power.at(i), style.cellFormat);
    }
}

// A variance of 0 is that of an estimate known exactly; the notes say which.
void VWPReport::writeKnown(QTextCursor& cursor) const
{
    QStringList notes;
    if (record.rangeName.isEmpty()) {
        const VWPPointResult& point = results.points[0];
        const VWPSurvivals s = vwpSurvivals(record, 0);
        const QList<QPair<QString, double>> survivals = {{QStringLiteral("S1"), s.s1},
                                                         {QStringLiteral("S2"), s.s2},
                                                         {QStringLiteral("S3"), s.s3}};
        const QList<bool> known = {point.knownS1, point.knownS2, point.knownS3};
        for (int k = 0; k < survivals.size(); ++k)
            if (known[k])
                notes << knownNote(survivals[k].first, survivals[k].second);
        if (point.knownSdam())
            notes << knownNote(QStringLiteral("Sdam"), record.sDam[0]);
    } else {
        notes = results.precisionTable(record).knownNotes();
    }
    if (notes.isEmpty())
        return;
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(style.paragraphFormat);
    cursor.insertText(QStringLiteral("Known exactly:"), style.heading2Format);
    for (const QString& note : notes) {
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(note, style.textFormat);
    }
}
