#include "studies/release_recapture/window/ReleaseRecaptureReport.h"

#include "framework/style/RynStyle.h"
#include "studies/common/PrecisionTable.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

namespace {

// The cursor placed in the paragraph after table.
void moveAfter(QTextCursor& cursor, const QTextTable* table)
{
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
}

} // namespace

ReleaseRecaptureReport::ReleaseRecaptureReport(const ryn::RynStyle& style, const QString& title,
                                               const ReleaseRecaptureRecord& record,
                                               const ReleaseRecaptureResults& results,
                                               const ReportOptions& options)
    : style(style)
    , title(title)
    , record(record)
    , results(results)
    , options(options)
{}

void ReleaseRecaptureReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, title);
    if (record.options.replicatesInUse())
        writeReplicates(cursor);
    writeReleaseSizes(cursor);
    writeParameters(cursor);
    if (record.hasRange())
        writeRangeReport(cursor);
    else
        writeSinglePointReport(cursor);
    cursor.movePosition(QTextCursor::Start);
    cursor.endEditBlock();
}

void ReleaseRecaptureReport::writeExtra(QTextCursor&) const {}

void ReleaseRecaptureReport::writeReplicates(QTextCursor& cursor) const
{
    const QTextTable* table = insertInputTable(
        cursor, style,
        {{QStringLiteral("Number of replicates:"), QString::number(record.options.replicateCount)},
         {QStringLiteral("Natural variability:"), record.options.naturalVarianceText}},
        false);
    moveAfter(cursor, table);
}

void ReleaseRecaptureReport::writeReleaseSizes(QTextCursor& cursor) const
{
    writeCaption(cursor, QStringLiteral("Release sizes:"));
    const QStringList names = results.releaseNames();
    const std::vector<int>& sizes = results.result(0).releaseSizes();
    if (names.size() != static_cast<int>(sizes.size())) {
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(QStringLiteral("Bad release specification!"), style.errorTextFormat);
        return;
    }
    QTextTable* table = insertReportTable(cursor, style, 2, names.size(), true, false);
    for (int c = 0; c < names.size(); ++c) {
        writeCell(table, 0, c, names[c], style.headerCellFormat);
        const QString value = record.rangedColumns.contains(names[c])
                                  ? record.range.toString('g', 6)
                                  : QString::number(sizes[static_cast<std::size_t>(c)]);
        writeCell(table, 1, c, value, style.cellFormat);
    }
    moveAfter(cursor, table);
}

// "CompositeS" and other derived quantities have no estimate of their own:
// the table lists the first parameterCount() names.
void ReleaseRecaptureReport::writeParameters(QTextCursor& cursor) const
{
    writeCaption(cursor, QStringLiteral("Parameters:"));
    const int k = results.parameterCount();
    const QStringList names = results.parameterNames();
    const std::vector<double> estimates = results.estimates(0);
    if (names.size() < k || static_cast<int>(estimates.size()) != k) {
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(QStringLiteral("Bad parameter specification!"), style.errorTextFormat);
        return;
    }
    const int p = options.precisionEst;
    QTextTable* table = insertReportTable(cursor, style, 2, k, true, false);
    for (int c = 0; c < k; ++c) {
        writeCell(table, 0, c, names[c], style.headerCellFormat);
        const QString value = record.rangedColumns.contains(names[c])
                                  ? record.range.toString('g', p)
                                  : QString::number(estimates[static_cast<std::size_t>(c)], 'g', p);
        writeCell(table, 1, c, value, style.cellFormat);
    }
    moveAfter(cursor, table);
}

void ReleaseRecaptureReport::writeSinglePointReport(QTextCursor& cursor) const
{
    const int s = options.precisionErr;
    const QStringList names = results.parameterNames();
    if (!record.options.replicatesInUse()) {
        writeCaption(cursor, QStringLiteral("Variance-Covariance Matrix:"));
        const int k = results.parameterCount();
        const Matrix covariance = results.covariance(0);
        QTextTable* table = insertReportTable(cursor, style, k + 1, k + 1, true, true);
        for (int a = 0; a < k; ++a) {
            writeCell(table, 0, a + 1, names[a], style.headerCellFormat);
            writeCell(table, a + 1, 0, names[a], style.headerCellFormat);
            for (int b = 0; b < k; ++b)
                writeCell(table, a + 1, b + 1, QString::number(covariance(a, b), 'f', s),
                          style.cellFormat);
        }
        moveAfter(cursor, table);
    }

    int replicateColumn = -1;
    const Matrix variances = shownVarianceTable(record, results, &replicateColumn);
    const QList<int> columns = shownColumns(replicateColumn);
    writeCaption(cursor, QStringLiteral("Precision:"));
    QTextTable* table = insertReportTable(cursor, style, 4, 1 + columns.size(), true, true);
    writeCell(table, 1, 0, QStringLiteral("se"), style.headerCellFormat);
    writeCell(table, 2, 0, QStringLiteral("half 90%"), style.headerCellFormat);
    writeCell(table, 3, 0, QStringLiteral("half 95%"), style.headerCellFormat);
    for (int c = 0; c < columns.size(); ++c) {
        const double se = std::sqrt(variances(0, columns[c]));
        writeCell(table, 0, c + 1, names[columns[c] - 1], style.headerCellFormat);
        writeCell(table, 1, c + 1, QString::number(se, 'f', s), style.cellFormat);
        writeCell(table, 2, c + 1, QString::number(halfWidth90(se), 'f', s), style.cellFormat);
        writeCell(table, 3, c + 1, QString::number(halfWidth95(se), 'f', s), style.cellFormat);
    }
    moveAfter(cursor, table);
    writeExtra(cursor);
}

void ReleaseRecaptureReport::writeRangeReport(QTextCursor& cursor) const
{
    int replicateColumn = -1;
    const Matrix variances = shownVarianceTable(record, results, &replicateColumn);
    const QList<int> columns = shownColumns(replicateColumn);
    const QStringList names = results.parameterNames();
    writeCaption(cursor, QStringLiteral("Standard Errors:"));
    const int e = record.range.editType() == RangeArithmetic::Integer ? 0 : options.precisionEst;
    const int s = options.precisionErr;

    QTextTable* table =
        insertReportTable(cursor, style, variances.rows() + 1, 1 + columns.size(), true, false);
    writeCell(table, 0, 0, record.rangeName, style.headerCellFormat);
    for (int c = 0; c < columns.size(); ++c)
        writeCell(table, 0, c + 1, names[columns[c] - 1], style.headerCellFormat);
    for (int i = 0; i < variances.rows(); ++i) {
        writeCell(table, i + 1, 0, QString::number(variances(i, 0), 'f', e), style.cellFormat);
        for (int c = 0; c < columns.size(); ++c)
            writeCell(table, i + 1, c + 1,
                      QString::number(std::sqrt(variances(i, columns[c])), 'f', s),
                      style.cellFormat);
    }
    moveAfter(cursor, table);
}

void ReleaseRecaptureReport::writeCaption(QTextCursor& cursor, const QString& caption) const
{
    cursor.insertBlock(style.paragraphFormat);
    cursor.insertText(caption, style.heading2Format);
}

// A replicate parameter that is not among the names adjusts nothing; every
// column is shown then.
QList<int> ReleaseRecaptureReport::shownColumns(int replicateColumn) const
{
    if (record.options.replicatesInUse() && replicateColumn > 0)
        return {replicateColumn};
    QList<int> columns;
    for (int c = 1; c <= results.parameterNames().size(); ++c)
        columns << c;
    return columns;
}
