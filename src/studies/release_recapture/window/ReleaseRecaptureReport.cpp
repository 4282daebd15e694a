#include "studies/release_recapture/window/ReleaseRecaptureReport.h"

#include "framework/style/RynStyle.h"
#include "studies/common/PowerReport.h"
#include "studies/common/PrecisionTable.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"

#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <memory>

ReleaseRecaptureReport::ReleaseRecaptureReport(const ryn::RynStyle& style, const QString& title,
                                               const ReleaseRecaptureRecord& record,
                                               const ReleaseRecaptureResults& results,
                                               const ReportOptions& options)
    : style(style)
    , title(title)
    , record(record)
    , results(results)
    , options(options)
{
    if (options.power)
        precision = releaseRecapturePrecisionTable(record, results);
}

void ReleaseRecaptureReport::write(QTextCursor& cursor) const
{
    writeReportPieces(cursor, pieces());
}

QList<ReportPiece> ReleaseRecaptureReport::pieces() const
{
    QList<ReportPiece> pieces{[this](QTextCursor& cursor) {
        insertReportTitle(cursor, style, title);
        if (record.options.replicatesInUse())
            writeReplicates(cursor);
    }};
    pieces << releaseSizePieces() << parameterPieces();
    pieces << (record.hasRange() ? rangePieces() : singlePointPieces());
    if (options.power)
        pieces << PowerReport::notePieces(style, precision, *options.power);
    pieces << knownPieces();
    return pieces;
}

void ReleaseRecaptureReport::writeExtra(QTextCursor&) const {}

void ReleaseRecaptureReport::writeReplicates(QTextCursor& cursor) const
{
    const QTextTable* table = insertInputTable(
        cursor, style,
        {{QStringLiteral("Number of replicates:"), QString::number(record.options.replicateCount)},
         {QStringLiteral("Natural variability:"), record.options.naturalVarianceText}},
        false);
    moveCursorAfter(cursor, table);
}

QList<ReportPiece> ReleaseRecaptureReport::releaseSizePieces() const
{
    QList<ReportPiece> pieces{caption(QStringLiteral("Release sizes:"))};
    const QStringList names = results.releaseNames();
    const std::vector<int> sizes = results.result(0).releaseSizes();
    if (names.size() != static_cast<int>(sizes.size()))
        return pieces << errorLine(QStringLiteral("Bad release specification!"));
    const QStringList ranged = record.rangedColumns;
    const QString rangeText = record.range.toString('g', 6);
    return pieces << reportTablePieces(
               style, {2, names.size(), true, false, false},
               [names, sizes, ranged, rangeText](int row, int column) -> QString {
                   if (row == 0)
                       return names[column];
                   return ranged.contains(names[column])
                              ? rangeText
                              : QString::number(sizes[static_cast<std::size_t>(column)]);
               });
}

// "CompositeS" and other derived quantities have no estimate of their own:
// the table lists the first parameterCount() names. Removals change the
// precision, so when any reach removes fish a table of its own below states
// every removal proportion under its name (D1, D2, ...).
QList<ReportPiece> ReleaseRecaptureReport::parameterPieces() const
{
    QList<ReportPiece> pieces{caption(QStringLiteral("Parameters:"))};
    const int k = results.parameterCount();
    const QStringList names = results.parameterNames();
    const std::vector<double> estimates = results.estimates(0);
    if (names.size() < k || static_cast<int>(estimates.size()) != k)
        return pieces << errorLine(QStringLiteral("Bad parameter specification!"));
    const QStringList ranged = record.rangedColumns;
    const int p = options.precisionEst;
    const QString rangeText = record.range.toString('g', p);
    pieces << reportTablePieces(
        style, {2, k, true, false, false},
        [names, estimates, ranged, rangeText, p](int row, int column) -> QString {
            if (row == 0)
                return names[column];
            return ranged.contains(names[column])
                       ? rangeText
                       : QString::number(estimates[static_cast<std::size_t>(column)], 'g', p);
        });

    QStringList removalNames;
    QStringList removals;
    bool removing = false;
    for (std::size_t i = 0; i < record.removals.size(); ++i) {
        const QString name = QStringLiteral("D%1").arg(i + 1);
        const bool isRanged = record.rangeName == name;
        removing = removing || isRanged || record.removals[i] != 0.0;
        removalNames << name;
        removals << (isRanged ? rangeText : QString::number(record.removals[i], 'g', p));
    }
    if (!removing)
        return pieces;
    pieces << caption(QStringLiteral("Proportions removed:"));
    return pieces << reportTablePieces(
               style, {2, static_cast<int>(removals.size()), true, false, false},
               [removalNames, removals](int row, int column) {
                   return row == 0 ? removalNames[column] : removals[column];
               });
}

QList<ReportPiece> ReleaseRecaptureReport::singlePointPieces() const
{
    QList<ReportPiece> pieces;
    const int s = options.precisionErr;
    const QStringList names = results.parameterNames();
    if (!record.options.replicatesInUse()) {
        pieces << caption(QStringLiteral("Variance-Covariance Matrix:"));
        const int k = results.parameterCount();
        const auto covariance = std::make_shared<const Matrix>(results.covariance(0));
        pieces << reportTablePieces(style, {k + 1, k + 1, true, true, false},
                                    [names, covariance, s](int row, int column) -> QString {
                                        if (row == 0)
                                            return column == 0 ? QString() : names[column - 1];
                                        if (column == 0)
                                            return names[row - 1];
                                        return reportNumber((*covariance)(row - 1, column - 1), s);
                                    });
    }

    int replicateColumn = -1;
    const auto variances =
        std::make_shared<const Matrix>(shownVarianceTable(record, results, &replicateColumn));
    const QList<int> columns = shownColumns(replicateColumn);
    QStringList labels = {QString(), QStringLiteral("se"), QStringLiteral("half 90%"),
                          QStringLiteral("half 95%")};
    if (!testedNames(columns).isEmpty())
        labels << QStringLiteral("power");
    pieces << caption(QStringLiteral("Precision:"));
    pieces << reportTablePieces(
        style, {static_cast<int>(labels.size()), 1 + columns.size(), true, true, false},
        [this, names, variances, columns, labels, s](int row, int column) -> QString {
            if (column == 0)
                return labels[row];
            const int shown = columns[column - 1];
            if (row == 0)
                return names[shown - 1];
            if (row == 4)
                return PowerReport::cell(precision, *options.power, 0, names[shown - 1]);
            const double se = std::sqrt((*variances)(0, shown));
            const double value = row == 1 ? se : row == 2 ? halfWidth90(se) : halfWidth95(se);
            return reportNumber(value, s);
        });
    pieces << [this](QTextCursor& cursor) { writeExtra(cursor); };
    return pieces;
}

// The standard errors (with the power beside them), then the half-widths of
// the 90% and of the 95% intervals, one table each with the ranged value in
// its first column, so that a page cuts each the same way.
QList<ReportPiece> ReleaseRecaptureReport::rangePieces() const
{
    int replicateColumn = -1;
    const auto variances =
        std::make_shared<const Matrix>(shownVarianceTable(record, results, &replicateColumn));
    const QList<int> columns = shownColumns(replicateColumn);
    const QStringList names = results.parameterNames();
    const QString rangeName = record.rangeName;
    const int e = record.range.editType() == RangeArithmetic::Integer ? 0 : options.precisionEst;
    const int s = options.precisionErr;
    // The power columns follow the standard errors, one per tested quantity.
    const QStringList tested = testedNames(columns);
    const int errors = 1 + columns.size();
    const ReportTableShape shape{variances->rows() + 1, errors, true, false, true};
    // The cell of the table of a measure of the standard error: the head
    // row, the ranged value, or the measure at the point.
    const auto measureCell = [variances, columns, names, rangeName, e,
                              s](int row, int column, double (*measure)(double)) -> QString {
        if (row == 0)
            return column == 0 ? rangeName : names[columns[column - 1] - 1];
        if (column == 0)
            return QString::number((*variances)(row - 1, 0), 'f', e);
        return reportNumber(measure(std::sqrt((*variances)(row - 1, columns[column - 1]))), s);
    };
    const auto standardError = [](double se) { return se; };

    QList<ReportPiece> pieces{caption(QStringLiteral("Standard Errors:"))};
    ReportTableShape errorShape = shape;
    errorShape.columns += static_cast<int>(tested.size());
    pieces << reportTablePieces(
        style, errorShape,
        [this, measureCell, standardError, tested, errors](int row, int column) -> QString {
            if (column < errors)
                return measureCell(row, column, standardError);
            const QString& name = tested[column - errors];
            return row == 0 ? QStringLiteral("Power %1").arg(name)
                            : PowerReport::cell(precision, *options.power, row - 1, name);
        });
    pieces << caption(QStringLiteral("Half-widths of the 90% confidence intervals:"));
    pieces << reportTablePieces(style, shape, [measureCell](int row, int column) {
        return measureCell(row, column, halfWidth90);
    });
    pieces << caption(QStringLiteral("Half-widths of the 95% confidence intervals:"));
    pieces << reportTablePieces(style, shape, [measureCell](int row, int column) {
        return measureCell(row, column, halfWidth95);
    });
    return pieces;
}

// A variance of 0 in the tables is that of a parameter known exactly; the
// notes say which.
QList<ReportPiece> ReleaseRecaptureReport::knownPieces() const
{
    const QStringList notes = releaseRecapturePrecisionTable(record, results).knownNotes();
    if (notes.isEmpty())
        return {};
    QList<ReportPiece> pieces{caption(QStringLiteral("Known exactly:"))};
    pieces << [this, notes](QTextCursor& cursor) {
        for (const QString& note : notes) {
            cursor.insertBlock(style.paragraphFormat);
            cursor.insertText(note, style.textFormat);
        }
    };
    return pieces;
}

ReportPiece ReleaseRecaptureReport::caption(const QString& text) const
{
    return [this, text](QTextCursor& cursor) {
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(text, style.heading2Format);
    };
}

ReportPiece ReleaseRecaptureReport::errorLine(const QString& text) const
{
    return [this, text](QTextCursor& cursor) {
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(text, style.errorTextFormat);
    };
}

QStringList ReleaseRecaptureReport::testedNames(const QList<int>& columns) const
{
    QStringList tested;
    if (!options.power)
        return tested;
    const QStringList names = results.parameterNames();
    for (int column : columns) {
        const QString& name = names[column - 1];
        if (precision.names.contains(name) && options.power->hasNullValue(name))
            tested << name;
    }
    return tested;
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
