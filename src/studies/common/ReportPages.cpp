#include "studies/common/ReportPages.h"

#include "studies/common/ReportTables.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <memory>
#include <vector>

namespace ReportPages {

namespace {

// Wide enough that no table of a report is squeezed: every column is laid
// out at the width of its longest cell.
constexpr double unboundedWidth = 1.0e7;

// A table as laid out without a bound on its width: the width each column
// takes (its cells, padding and borders) and what the table adds around
// them (its margin and outer borders), measured from the left edge of the
// document's text.
struct TableWidths
{
    QTextTable* table = nullptr;
    std::vector<double> columns;
    double around = 0;
};

double leftOfCell(const QAbstractTextDocumentLayout& layout, const QTextTable& table, int column)
{
    return layout.blockBoundingRect(table.cellAt(0, column).firstCursorPosition().block()).left();
}

TableWidths measure(const QAbstractTextDocumentLayout& layout, QTextTable* table, double textLeft)
{
    TableWidths widths;
    widths.table = table;
    const int n = table->columns();
    std::vector<double> lefts;
    for (int c = 0; c < n; ++c)
        lefts.push_back(leftOfCell(layout, *table, c));
    const QRectF frame = layout.frameBoundingRect(table);
    // The last column ends where the table's right edge, less what the
    // table adds on its right, which mirrors its left side.
    const double leftSide = lefts[0] - frame.left();
    lefts.push_back(frame.right() - leftSide);
    for (int c = 0; c < n; ++c)
        widths.columns.push_back(std::max(0.0, lefts[c + 1] - lefts[c]));
    widths.around = (frame.left() - textLeft) + 2 * leftSide;
    return widths;
}

// The cell's paragraphs with their block and character formats.
void copyCell(const QTextTableCell& from, const QTextTableCell& to)
{
    QTextTableCell target = to;
    target.setFormat(from.format());
    QTextCursor cursor = target.firstCursorPosition();
    bool first = true;
    for (QTextFrame::iterator it = from.begin(); !it.atEnd(); ++it) {
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        if (first)
            cursor.setBlockFormat(block.blockFormat());
        else
            cursor.insertBlock(block.blockFormat(), block.charFormat());
        first = false;
        for (QTextBlock::iterator piece = block.begin(); !piece.atEnd(); ++piece)
            cursor.insertText(piece.fragment().text(), piece.fragment().charFormat());
    }
}

// The table keeps its lead columns and the first run; each further run
// becomes a table of its own below it, with the same format (head row
// count included) and the lead columns copied.
void cut(QTextTable* table, int lead, const std::vector<std::vector<int>>& runs)
{
    const int rows = table->rows();
    QTextCursor cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
    for (std::size_t r = 1; r < runs.size(); ++r) {
        std::vector<int> columns;
        for (int c = 0; c < lead; ++c)
            columns.push_back(c);
        columns.insert(columns.end(), runs[r].begin(), runs[r].end());
        QTextTable* block =
            cursor.insertTable(rows, static_cast<int>(columns.size()), table->format());
        for (int row = 0; row < rows; ++row) {
            for (std::size_t c = 0; c < columns.size(); ++c)
                copyCell(table->cellAt(row, columns[c]), block->cellAt(row, static_cast<int>(c)));
        }
        cursor = block->lastCursorPosition();
        cursor.movePosition(QTextCursor::NextCharacter);
    }
    const int kept = lead + static_cast<int>(runs.front().size());
    table->removeColumns(kept, table->columns() - kept);
}

} // namespace

std::vector<std::vector<int>> cutColumns(const std::vector<double>& columnWidths, double around,
                                         int leadColumns, double width)
{
    double leadWidth = around;
    for (int c = 0; c < leadColumns; ++c)
        leadWidth += columnWidths[static_cast<std::size_t>(c)];
    std::vector<std::vector<int>> parts;
    double used = 0;
    for (int c = leadColumns; c < static_cast<int>(columnWidths.size()); ++c) {
        const double w = columnWidths[static_cast<std::size_t>(c)];
        if (parts.empty() || (leadWidth + used + w > width && !parts.back().empty())) {
            parts.emplace_back();
            used = 0;
        }
        parts.back().push_back(c);
        used += w;
    }
    return parts;
}

void fitTablesToWidth(QTextDocument& report, double width)
{
    const double textWidth = report.textWidth();
    report.setTextWidth(unboundedWidth);
    QAbstractTextDocumentLayout* layout = report.documentLayout();
    const QTextFrameFormat root = report.rootFrame()->frameFormat();
    const double textLeft = root.leftMargin() + root.border() + root.padding();
    std::vector<TableWidths> tables;
    for (QTextFrame* frame : report.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table && table->rows() > 0 && table->columns() > 1)
            tables.push_back(measure(*layout, table, textLeft));
    }
    report.setTextWidth(textWidth);
    // One edit: the layout follows once, not at every cell copied. From the
    // last table up, so that cutting one moves none still to come.
    QTextCursor edit(&report);
    edit.beginEditBlock();
    for (auto it = tables.rbegin(); it != tables.rend(); ++it) {
        const int lead = std::min(it->table->columns() - 1,
                                  it->table->format().property(reportLeadColumnsProperty).toInt());
        const std::vector<std::vector<int>> runs = cutColumns(it->columns, it->around, lead, width);
        if (runs.size() > 1)
            cut(it->table, lead, runs);
    }
    edit.endEditBlock();
}

// The document prints on a page with margins of 2 cm (QTextDocument::print
// sets them on a copy of it); what is left is the width its tables get. The
// widths are measured with the printer's fonts.
void print(const QTextDocument& report, QPagedPaintDevice* printer)
{
    const std::unique_ptr<QTextDocument> pages(report.clone());
    pages->setUndoRedoEnabled(false);
    pages->documentLayout()->setPaintDevice(printer);
    const int margin = static_cast<int>((2 / 2.54) * printer->logicalDpiY());
    fitTablesToWidth(*pages, printer->width() - 2.0 * margin);
    pages->print(printer);
}

} // namespace ReportPages
