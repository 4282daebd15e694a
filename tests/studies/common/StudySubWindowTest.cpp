#include "studies/common/StudySubWindow.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/StudyWidget.h"
#include "framework/style/RynStyle.h"
#include "numerics/Matrix.h"
#include "studies/common/ReportTables.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

namespace {

class EmptyForm : public StudyWidget
{
public:
    using StudyWidget::StudyWidget;
    bool validate() override { return true; }
};

// A design whose last run computed two points of one quantity, "T", over a
// range of release sizes, and whose taking of inputs fails when told so.
class TwoPointStudy : public StudySubWindow
{
public:
    explicit TwoPointStudy(ryn::RynSettings* settings)
        : StudySubWindow(8, "BTPS", "Balloon-Tag Passage Survival Estimate", settings)
    {
        setStudyWidget(new EmptyForm(settings));
    }

    bool startRun(ryn::ThreadRunner*) override
    {
        return takeInputs([this] {
            if (failTaking)
                throw QStringLiteral("Out of range value in Rc: 3e+10");
        });
    }
    int resultCount() const override { return 2; }
    void writeReport(QTextCursor&) override {}
    PrecisionTable precisionTable() const override
    {
        PrecisionTable table;
        table.xName = "Rc";
        table.names = QStringList{"T"};
        table.x = {100, 200};
        table.estimates = Matrix(2, 1);
        table.variances = Matrix(2, 1);
        table.variances(0, 0) = 0.04;
        table.variances(1, 0) = 0.01;
        return table;
    }

    bool failTaking = false;
};

} // namespace

TEST(StudySubWindow, ShowingSetsTheMaskBitAndClosingHidesClearsAndSignals)
{
    TestStore store;
    StudySubWindow::setOpenStudiesMask(1);
    TwoPointStudy window(store.get());
    QSignalSpy closing(&window, &StudySubWindow::windowClosing);

    window.showStudy();
    EXPECT_EQ(StudySubWindow::openStudiesMask(), 9u);
    EXPECT_TRUE(window.isVisible());
    window.close();
    EXPECT_EQ(StudySubWindow::openStudiesMask(), 1u);
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(closing.at(0).at(0).toInt(), 8);
    EXPECT_EQ(window.windowTitle(), "Balloon-Tag Passage Survival Estimate");
}

TEST(StudySubWindow, InputsThatCannotBeTakenStartNothingAndSayWhy)
{
    TestStore store;
    TwoPointStudy window(store.get());
    ModalBoxAnswerer answerer;

    window.failTaking = true;
    EXPECT_FALSE(window.startRun(nullptr));
    EXPECT_EQ(answerer.seen, QStringList{"Balloon-Tag Passage Survival Estimate|"
                                         "Out of range value in Rc: 3e+10|critical"});
    window.failTaking = false;
    EXPECT_TRUE(window.startRun(nullptr));
}

TEST(StudySubWindow, PlotDataAndRangeLabelComeFromThePrecisionTable)
{
    TestStore store;
    TwoPointStudy window(store.get());
    QStringList names;
    Matrix data;
    window.getPlotData(names, data);

    EXPECT_EQ(names, QStringList{"T"});
    ASSERT_EQ(data.rows(), 2);
    ASSERT_EQ(data.cols(), 2);
    EXPECT_EQ(data(1, 0), 200);
    EXPECT_EQ(data(1, 1), 0.01);
    EXPECT_EQ(window.rangeLabel(), "Rc");
}

TEST(StudySubWindow, ReportTablesShadeTheirHeaderRowAndColumn)
{
    TestStore store;
    TwoPointStudy window(store.get());
    QTextDocument document;
    QTextCursor cursor(&document);

    QTextTable* table = window.insertTable(cursor, 3, 2, true, false);
    writeCell(table, 1, 1, "0.5", window.cellFormat);
    const auto background = [table](int r, int c) {
        return table->cellAt(r, c).firstCursorPosition().blockFormat().background().color();
    };
    EXPECT_EQ(background(0, 1), QColor(245, 250, 255));
    EXPECT_EQ(background(1, 0), window.cellCenterFormat.background().color());
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), "0.5");
    EXPECT_TRUE(table->cellAt(1, 1).firstCursorPosition().blockFormat().nonBreakableLines());
    EXPECT_TRUE(table->cellAt(0, 1).firstCursorPosition().blockFormat().nonBreakableLines());
    EXPECT_EQ(table->format().border(), window.gridTableFormat.border());
    // The head row repeats on every printed page the table runs over.
    EXPECT_EQ(table->format().headerRowCount(), 1);
    EXPECT_EQ(window.insertTable(cursor, 2, 2, false, true)->format().headerRowCount(), 0);

    store->setValue(QVSettingsKeys::PrecisionErr, "6");
    EXPECT_EQ(ReportOptions::fromSettings(*store.get()).precisionErr, 6);
}

namespace {

// Writes a table of shape whose cell (r, c) reads "r,c" (the headers "r" and
// "c" alone) and returns the tables written.
QList<QTextTable*> writeNamedCells(QTextDocument& document, const ReportTableShape& shape)
{
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    const QList<ReportPiece> pieces =
        reportTablePieces(style, shape, [](int row, int column) -> QString {
            if (row == 0)
                return QString::number(column);
            if (column == 0)
                return QString::number(row);
            return QStringLiteral("%1,%2").arg(row).arg(column);
        });
    writeReportPieces(cursor, pieces);
    QList<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        tables << qobject_cast<QTextTable*>(frame);
    EXPECT_EQ(tables.size(), pieces.size());
    return tables;
}

QString textAt(QTextTable* table, int row, int column)
{
    return table->cellAt(row, column).firstCursorPosition().block().text();
}

} // namespace

// A table too big to lay out at once comes in blocks that repeat the row and
// column heads; every value is written once, under its own heads.
TEST(ReportTables, BigTablesComeInBlocksThatRepeatTheirHeads)
{
    QTextDocument small;
    const QList<QTextTable*> whole = writeNamedCells(small, {101, 14, true, false, true});
    ASSERT_EQ(whole.size(), 1);
    EXPECT_EQ(whole[0]->columns(), 14);
    EXPECT_EQ(textAt(whole[0], 100, 13), "100,13");

    // 41 columns of 101 rows: eight blocks of five value columns after the key.
    QTextDocument wide;
    const QList<QTextTable*> ranged = writeNamedCells(wide, {101, 41, true, false, true});
    ASSERT_EQ(ranged.size(), 8);
    for (int b = 0; b < 8; ++b) {
        EXPECT_EQ(ranged[b]->rows(), 101);
        EXPECT_EQ(ranged[b]->columns(), 6);
        EXPECT_EQ(textAt(ranged[b], 0, 1), QString::number(5 * b + 1));
        EXPECT_EQ(textAt(ranged[b], 100, 0), "100");
    }

    // A covariance matrix of 299 parameters: blocks in both directions.
    QTextDocument square;
    const QList<QTextTable*> blocks = writeNamedCells(square, {300, 300, true, true, false});
    QSet<QString> seen;
    int values = 0;
    for (QTextTable* block : blocks) {
        EXPECT_LE(block->rows() * block->columns(), blockCells);
        EXPECT_LE(block->columns(), 1 + blockColumns);
        EXPECT_EQ(textAt(block, 0, 0), "0");
        for (int r = 1; r < block->rows(); ++r) {
            for (int c = 1; c < block->columns(); ++c) {
                const QString text = textAt(block, r, c);
                EXPECT_EQ(text, textAt(block, r, 0) + "," + textAt(block, 0, c));
                seen << text;
                ++values;
            }
        }
    }
    EXPECT_EQ(seen.size(), 299 * 299);
    EXPECT_EQ(values, 299 * 299);
}
