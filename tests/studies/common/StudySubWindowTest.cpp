#include "studies/common/StudySubWindow.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/StudyWidget.h"
#include "numerics/Matrix.h"
#include "studies/common/ReportTables.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>
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

    store->setValue(QVSettingsKeys::PrecisionErr, "6");
    EXPECT_EQ(ReportOptions::fromSettings(*store.get()).precisionErr, 6);
}
