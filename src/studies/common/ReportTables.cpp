#include "studies/common/ReportTables.h"

#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "framework/style/RynStyle.h"

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// A run of rows or columns of the full table: [first, first + count).
struct Span
{
    int first;
    int count;
};

// count items from first on, shared out evenly into parts of at most limit.
std::vector<Span> shareOut(int first, int count, int limit)
{
    const int parts = std::max(1, (count + limit - 1) / std::max(1, limit));
    std::vector<Span> spans;
    for (int p = 0; p < parts; ++p) {
        const int begin = first + count * p / parts;
        const int end = first + count * (p + 1) / parts;
        spans.push_back({begin, end - begin});
    }
    return spans;
}

} // namespace

ReportOptions ReportOptions::fromSettings(const ryn::RynSettings& settings)
{
    ReportOptions options;
    options.precisionEst = settings.value(QVSettingsKeys::PrecisionEst).toInt();
    options.precisionErr = settings.value(QVSettingsKeys::PrecisionErr).toInt();
    return options;
}

QString reportNumber(double value, int decimals)
{
    const QString text = QString::number(value, 'f', decimals);
    if (!std::isfinite(value))
        return text;
    for (const QChar c : text) {
        if (c.isDigit() && c != QLatin1Char('0'))
            return text;
    }
    return QStringLiteral("0");
}

QString inputNumber(double value)
{
    return QString::number(value, 'g', 12);
}

QString inputOverPoints(const QVector<double>& values, const std::function<QString(double)>& format)
{
    if (values.isEmpty())
        return QString();
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    if (*low == *high)
        return format(values.first());
    return format(values.first()) + QLatin1Char(':') + format(values.last());
}

QString inputOverPoints(const QVector<int>& values)
{
    return inputOverPoints(QVector<double>(values.begin(), values.end()),
                           [](double v) { return QString::number(v, 'f', 0); });
}

void insertReportTitle(QTextCursor& cursor, const ryn::RynStyle& style, const QString& title)
{
    cursor.currentFrame()->setFrameFormat(style.frameFormat);
    cursor.insertText(title + QStringLiteral(" Results"), style.heading1Format);
}

QTextTable* insertInputTable(QTextCursor& cursor, const ryn::RynStyle& style,
                             const QList<QPair<QString, QString>>& rows, bool indentLabels)
{
    QTextTable* table = cursor.insertTable(rows.size(), 2, style.plainTableFormat);
    for (int r = 0; r < rows.size(); ++r) {
        QTextCursor label = table->cellAt(r, 0).firstCursorPosition();
        if (indentLabels)
            label.setBlockFormat(style.indentedParagraphFormat);
        label.insertText(rows[r].first, style.headerCellFormat);
        QTextCursor value = table->cellAt(r, 1).firstCursorPosition();
        value.setBlockFormat(style.indentedParagraphFormat);
        value.insertText(rows[r].second, style.cellFormat);
    }
    return table;
}

QTextTable* insertReportTable(QTextCursor& cursor, const ryn::RynStyle& style, int rows,
                              int columns, bool headerRow, bool headerColumn)
{
    // Cells keep their text on one line: a wide table grows wider (the view
    // scrolls) rather than breaking its numbers at the decimal point.
    QTextBlockFormat plain = style.cellCenterFormat;
    QTextBlockFormat shaded = style.cellCenterShadedFormat;
    plain.setNonBreakableLines(true);
    shaded.setNonBreakableLines(true);
    // A table that runs over a printed page repeats its head row there.
    QTextTableFormat format = style.gridTableFormat;
    format.setHeaderRowCount(headerRow ? 1 : 0);
    format.setProperty(reportLeadColumnsProperty, headerColumn ? 1 : 0);
    QTextTable* table = cursor.insertTable(rows, columns, format);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool header = (headerRow && r == 0) || (headerColumn && c == 0);
            table->cellAt(r, c).firstCursorPosition().setBlockFormat(header ? shaded : plain);
        }
    }
    return table;
}

void writeCell(QTextTable* table, int row, int column, const QString& text,
               const QTextCharFormat& format)
{
    table->cellAt(row, column).firstCursorPosition().insertText(text, format);
}

void moveCursorAfter(QTextCursor& cursor, const QTextTable* table)
{
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
}

void writeReportPieces(QTextCursor& cursor, const QList<ReportPiece>& pieces)
{
    cursor.beginEditBlock();
    for (const ReportPiece& piece : pieces)
        piece(cursor);
    cursor.movePosition(QTextCursor::Start);
    cursor.endEditBlock();
}

QList<ReportPiece> reportTablePieces(const ryn::RynStyle& style, const ReportTableShape& shape,
                                     const CellText& text)
{
    // The header row and the header or key column lead every block.
    const int leadRows = shape.headerRow ? 1 : 0;
    const int leadColumns = shape.headerColumn || shape.keyColumn ? 1 : 0;
    std::vector<Span> columnSpans{{leadColumns, shape.columns - leadColumns}};
    std::vector<Span> rowSpans{{leadRows, shape.rows - leadRows}};
    if (shape.rows * shape.columns > wholeTableCells) {
        const int columnLimit = std::max(blockColumns, blockCells / shape.rows - leadColumns);
        columnSpans = shareOut(leadColumns, shape.columns - leadColumns, columnLimit);
        int widest = 0;
        for (const Span& span : columnSpans)
            widest = std::max(widest, span.count);
        const int width = leadColumns + widest;
        rowSpans =
            shareOut(leadRows, shape.rows - leadRows, std::max(1, blockCells / width - leadRows));
    }

    const auto cellText = std::make_shared<const CellText>(text);
    QList<ReportPiece> pieces;
    for (const Span& columns : columnSpans) {
        for (const Span& rows : rowSpans) {
            pieces << [&style, shape, cellText, leadRows, leadColumns, rows,
                       columns](QTextCursor& cursor) {
                const int height = leadRows + rows.count;
                const int width = leadColumns + columns.count;
                QTextTable* table = insertReportTable(cursor, style, height, width, shape.headerRow,
                                                      shape.headerColumn);
                QTextTableFormat format = table->format();
                format.setProperty(reportLeadColumnsProperty, leadColumns);
                table->setFormat(format);
                for (int r = 0; r < height; ++r) {
                    const int row = r < leadRows ? 0 : rows.first + r - leadRows;
                    for (int c = 0; c < width; ++c) {
                        const int column = c < leadColumns ? 0 : columns.first + c - leadColumns;
                        const bool header =
                            (shape.headerRow && row == 0) || (shape.headerColumn && column == 0);
                        writeCell(table, r, c, (*cellText)(row, column),
                                  header ? style.headerCellFormat : style.cellFormat);
                    }
                }
                moveCursorAfter(cursor, table);
            };
        }
    }
    return pieces;
}
