#include "studies/common/ReportPages.h"

#include "ReportDocument.h"
#include "framework/style/RynStyle.h"
#include "studies/common/ReportTables.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <numeric>
#include <set>
#include <vector>

using namespace quorvel::test;
using Parts = std::vector<std::vector<int>>;

namespace {

// What a part of a cut table takes: around, the lead columns and its own.
double partWidth(const std::vector<double>& widths, double around, int lead,
                 const std::vector<int>& part)
{
    double width = around;
    for (int c = 0; c < lead; ++c)
        width += widths[static_cast<std::size_t>(c)];
    for (int c : part)
        width += widths[static_cast<std::size_t>(c)];
    return width;
}

// Every value column in exactly one part, the parts in the table's order.
void expectEveryColumnOnce(const Parts& parts, int lead, int columns)
{
    std::vector<int> seen;
    for (const std::vector<int>& part : parts) {
        EXPECT_FALSE(part.empty());
        seen.insert(seen.end(), part.begin(), part.end());
    }
    std::vector<int> all(static_cast<std::size_t>(columns - lead));
    std::iota(all.begin(), all.end(), lead);
    EXPECT_EQ(seen, all);
}

} // namespace

// The lead columns (row labels, the ranged value) take their width in every
// part; a part is cut where its next column would pass the width, never
// before; a column wider than the page stands alone.
TEST(ReportPages, CutCountsTheLeadColumnsInEveryPartAndKeepsEachColumnOnce)
{
    // Lead 50 and around 10: 60 + 30 + 40 = 130 fits 150, a third column
    // (170) does not; 60 + 40 + 40 = 140 fits. Without the lead's width
    // three columns would seem to fit.
    const std::vector<double> widths = {50, 30, 40, 40, 40};
    Parts parts = ReportPages::cutColumns(widths, 10, 1, 150);
    EXPECT_EQ(parts, (Parts{{1, 2}, {3, 4}}));
    for (const std::vector<int>& part : parts)
        EXPECT_LE(partWidth(widths, 10, 1, part), 150);
    expectEveryColumnOnce(parts, 1, 5);
    // A width met exactly is kept whole.
    EXPECT_EQ(ReportPages::cutColumns(widths, 10, 1, 210), (Parts{{1, 2, 3, 4}}));
    EXPECT_EQ(ReportPages::cutColumns(widths, 10, 1, 209), (Parts{{1, 2, 3}, {4}}));

    // Two lead columns, 85 with around: each value column of 10 alone fits
    // 100, two do not.
    const std::vector<double> twoLead = {40, 40, 10, 10, 10};
    parts = ReportPages::cutColumns(twoLead, 5, 2, 100);
    EXPECT_EQ(parts, (Parts{{2}, {3}, {4}}));
    expectEveryColumnOnce(parts, 2, 5);

    // A column wider than the page is a part of its own, the next columns
    // start a new one.
    parts = ReportPages::cutColumns({20, 200, 10, 10}, 0, 1, 100);
    EXPECT_EQ(parts, (Parts{{1}, {2, 3}}));
    // Without lead columns every column is a value column.
    EXPECT_EQ(ReportPages::cutColumns({30, 30, 30}, 0, 0, 60), (Parts{{0, 1}, {2}}));
    // Nothing beside the lead: nothing to cut.
    EXPECT_TRUE(ReportPages::cutColumns({50}, 0, 1, 10).empty());
}

// A report table too wide for the width becomes blocks one under the other:
// each repeats the head row and the row labels, holds whole columns in their
// order, each column once, and fits the width it was cut to.
TEST(ReportPages, BlocksRepeatTheRowLabelsAndTheHeadRowAndFitTheWidth)
{
    const ryn::RynStyle style;
    QTextDocument document;
    QTextCursor cursor(&document);
    const int columns = 13;
    const QStringList labels = {"", "se", "half 90%", "half 95%"};
    QTextTable* table = insertReportTable(cursor, style, 4, columns, true, true);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QString text = column == 0 ? labels[row]
                                 : row == 0  ? QStringLiteral("S%1").arg(column)
                                             : QStringLiteral("0.%1234567%2").arg(row).arg(column);
            writeCell(table, row, column, text,
                      row == 0 || column == 0 ? style.headerCellFormat : style.cellFormat);
        }
    }
    moveCursorAfter(cursor, table);
    cursor.insertText("after");

    // Laid out without a bound, the table is some 3 times the width given.
    document.setTextWidth(1.0e7);
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const double whole = layout->frameBoundingRect(tablesOf(document).first()).right();
    const double width = whole / 3;
    ReportPages::fitTablesToWidth(document, width);

    document.setTextWidth(1.0e7);
    const QList<QTextTable*> blocks = tablesOf(document);
    ASSERT_GE(blocks.size(), 3);
    ASSERT_LE(blocks.size(), 5);
    QStringList heads;
    for (QTextTable* block : blocks) {
        ASSERT_EQ(block->rows(), 4);
        ASSERT_GE(block->columns(), 2);
        EXPECT_EQ(block->format().headerRowCount(), 1);
        EXPECT_LE(layout->frameBoundingRect(block).right(), width + 1);
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(cellText(block, row, 0), labels[row]);
        for (int column = 1; column < block->columns(); ++column) {
            const QString head = cellText(block, 0, column);
            heads << head;
            const int original = head.mid(1).toInt();
            for (int row = 1; row < 4; ++row)
                EXPECT_EQ(cellText(block, row, column),
                          QStringLiteral("0.%1234567%2").arg(row).arg(original));
        }
    }
    QStringList all;
    for (int column = 1; column < columns; ++column)
        all << QStringLiteral("S%1").arg(column);
    EXPECT_EQ(heads, all);
    // The text after the table stays after its last block.
    EXPECT_TRUE(document.toPlainText().trimmed().endsWith("after"));
}
