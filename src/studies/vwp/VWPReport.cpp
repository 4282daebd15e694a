#include "studies/vwp/VWPReport.h"

#include "forms/core/VWPInputs.h"
#include "framework/style/RynStyle.h"
#include "studies/common/ReportTables.h"
#include "studies/vwp/VWPComputation.h"
#include "studies/vwp/VWPParameters.h"
#include "studies/vwp/VWPResults.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

VWPReport::VWPReport(const ryn::RynStyle& style, const VWPParameters& record,
                     const VWPResults& results)
    : style(style)
    , record(record)
    , results(results)
{}

void VWPReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, VWPInputs::title);
    cursor.insertBlock();
    cursor.insertBlock();
    if (record.rangeName.isEmpty())
        writeSinglePoint(cursor);
    else
        writeRange(cursor);
    writeKnown(cursor);
    cursor.movePosition(QTextCursor::Start);
    cursor.endEditBlock();
}

void VWPReport::writeSinglePoint(QTextCursor& cursor) const
{
    const VWPPointResult& point = results.points[0];
    cursor.insertText(QStringLiteral("Results for Sdam:"), style.heading2Format);
    insertInputTable(cursor, style,
                     {{QStringLiteral("Standard Error: "),
                       QString::number(point.seSdam, 'f', variancePrecision)}},
                     false);
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
        writeCell(table, row + 1, 1, QString::number(variances[row], 'f', variancePrecision),
                  style.cellFormat);
        writeCell(table, row + 1, 2,
                  QString::number(std::sqrt(variances[row]), 'f', errorPrecision),
                  style.cellFormat);
    }
    cursor.movePosition(QTextCursor::End);
}

void VWPReport::writeRange(QTextCursor& cursor) const
{
    const int n = results.pointCount();
    cursor.insertText(QStringLiteral("Range Results for Sdam:"), style.heading2Format);
    cursor.insertBlock();
    QTextTable* table = insertReportTable(cursor, style, n + 1, 2, true, false);
    writeCell(table, 0, 0, record.rangeName, style.headerCellFormat);
    writeCell(table, 0, 1, QStringLiteral("SDam Std. Err."), style.headerCellFormat);
    for (int i = 0; i < n; ++i) {
        writeCell(table, i + 1, 0, QString::number(record.x[i], 'g', 6), style.cellFormat);
        writeCell(table, i + 1, 1, QString::number(results.points[i].seSdam, 'f', errorPrecision),
                  style.cellFormat);
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
