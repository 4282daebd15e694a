#pragma once

#include "studies/common/EffectTest.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QTextFormat>
#include <QVector>

#include <functional>
#include <optional>

class QTextCharFormat;
class QTextCursor;
class QTextTable;

namespace ryn {
class RynSettings;
class RynStyle;
} // namespace ryn

// Number formats of the reports: decimals of estimates and of variances and
// errors, from the settings "precision_est" and "precision_err"; and the test
// of the power they show.
struct ReportOptions
{
    int precisionEst = 3;
    int precisionErr = 8;
    // The test whose power the report shows beside the precision of each
    // quantity with a null value; none for a report without power.
    std::optional<EffectTest> power;

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

// The property of a report table's format that says how many of its first
// columns label its rows (a header column, or the ranged value): a table cut
// into blocks of columns repeats them in each block.
constexpr int reportLeadColumnsProperty = QTextFormat::UserProperty + 1;

// The text of one input over a run's points in an "Input:" table: its value
// at the first point, or "first:last" where it changes over the points (the
// ranged input and the inputs that follow it), each end written by format.
QString inputOverPoints(const QVector<double>& values,
                        const std::function<QString(double)>& format);
QString inputOverPoints(const QVector<int>& values);

// value with decimals digits after the point, as the reports show their
// estimates, variances and errors; a value that rounds to zero there is
// "0", never "-0.00000000" (a covariance a rounding below zero) nor a row of
// zeros.
QString reportNumber(double value, int decimals);

// An input as the user typed it: the fewest digits that give the value back
// ("0.8", not "0.80000000"); a value computed from inputs (St = Sc·T) is
// rounded to 12 significant digits, so that the rounding of the product
// does not show.
QString inputNumber(double value);

// A report table at the cursor in the style's grid format, every cell centred,
// the header row and/or column shaded. The cursor is left in the first cell.
QTextTable* insertReportTable(QTextCursor& cursor, const ryn::RynStyle& style, int rows,
                              int columns, bool headerRow, bool headerColumn);

// Writes text into cell (row, column) of table with the character format.
void writeCell(QTextTable* table, int row, int column, const QString& text,
               const QTextCharFormat& format);

// Places the cursor in the paragraph after table.
void moveCursorAfter(QTextCursor& cursor, const QTextTable* table);

// One step of writing a report at a cursor, which it leaves where the next
// step goes on. A report written in steps lets the main window return to its
// event loop between them: laying out a table of tens of thousands of cells
// takes the text engine seconds, and the window must keep answering.
using ReportPiece = std::function<void(QTextCursor&)>;

// Writes pieces one after another in one edit block and leaves the cursor at
// the start of the document: the whole report at once, as tests and files
// want it.
void writeReportPieces(QTextCursor& cursor, const QList<ReportPiece>& pieces);

// The size of a report table and which of its cells are headers (in the
// header text format, shaded); the others take the value text format.
struct ReportTableShape
{
    int rows = 0;
    int columns = 0;
    bool headerRow = false;
    bool headerColumn = false;
    // Column 0 says what each row is (the ranged value) without being a
    // header; like a header column it is repeated in every block.
    bool keyColumn = false;
};

// The text of cell (row, column) of a report table.
using CellText = std::function<QString(int row, int column)>;

// A report table of at most wholeTableCells cells is written whole. A larger
// one is written as blocks, each its own table and its own piece, with the
// header row and the header or key column repeated in every block: the
// columns shared out evenly into blocks of at most blockColumns value columns
// (more when so few rows allow it within blockCells), then the rows into as
// many blocks as keep each within blockCells; all rows of the first columns
// come first. A block of 700 cells takes the text engine some 15 ms.
constexpr int wholeTableCells = 1500;
constexpr int blockCells = 700;
constexpr int blockColumns = 5;

// The pieces that write a report table of shape at the cursor, texts taken
// from text when each block is written; each piece leaves the cursor after
// its table.
QList<ReportPiece> reportTablePieces(const ryn::RynStyle& style, const ReportTableShape& shape,
                                     const CellText& text);
