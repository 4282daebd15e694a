#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QTextCharFormat;
class QTextCursor;
class QTextTable;

namespace ryn {
class RynSettings;
class RynStyle;
} // namespace ryn

// Number formats of the reports: decimals of estimates and of variances and
// errors, from the settings "precision_est" and "precision_err".
struct ReportOptions
{
    int precisionEst = 3;
    int precisionErr = 8;

    // Stored values may be text; they are converted here.
    static ReportOptions fromSettings(const ryn::RynSettings& settings);
};

// The opening of every report: the style's frame format on the cursor's frame,
// then title followed by " Results" in the title format.
void insertReportTitle(QTextCursor& cursor, const ryn::RynStyle& style, const QString& title);

// A table of labels and their values at the cursor in the style's input table
// format: labels in the header text format, values in the value text format,
// the value cells indented, and the label cells too with indentLabels. The
// cursor is left in the first cell.
QTextTable* insertInputTable(QTextCursor& cursor, const ryn::RynStyle& style,
                             const QList<QPair<QString, QString>>& rows, bool indentLabels);

// A report table at the cursor in the style's grid format, every cell centred,
// the header row and/or column shaded. The cursor is left in the first cell.
QTextTable* insertReportTable(QTextCursor& cursor, const ryn::RynStyle& style, int rows,
                              int columns, bool headerRow, bool headerColumn);

// Writes text into cell (row, column) of table with the character format.
void writeCell(QTextTable* table, int row, int column, const QString& text,
               const QTextCharFormat& format);
