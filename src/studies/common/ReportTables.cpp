#include "studies/common/ReportTables.h"

#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "framework/style/RynStyle.h"

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

ReportOptions ReportOptions::fromSettings(const ryn::RynSettings& settings)
{
    ReportOptions options;
    options.precisionEst = settings.value(QVSettingsKeys::PrecisionEst).toInt();
    options.precisionErr = settings.value(QVSettingsKeys::PrecisionErr).toInt();
    return options;
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
    QTextTable* table = cursor.insertTable(rows, columns, style.gridTableFormat);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool shaded = (headerRow && r == 0) || (headerColumn && c == 0);
            table->cellAt(r, c).firstCursorPosition().setBlockFormat(
                shaded ? style.cellCenterShadedFormat : style.cellCenterFormat);
        }
    }
    return table;
}

void writeCell(QTextTable* table, int row, int column, const QString& text,
               const QTextCharFormat& format)
{
    table->cellAt(row, column).firstCursorPosition().insertText(text, format);
}
