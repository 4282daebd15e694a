#include "app/ComparisonDialog.h"

#include "framework/files/SaveFile.h"
#include "plot/ComparisonPlot.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <qwt_scale_div.h>

namespace {

ComparedDesign example(const QString& name)
{
    ComparedDesign compared;
    QString error;
    EXPECT_TRUE(DesignFile::readFile(
        QStringLiteral(QUORVEL_SOURCE_DIR "/examples/%1.json").arg(name), &compared.design, &error))
        << error.toStdString();
    compared.label = name + QStringLiteral(".json");
    return compared;
}

bool compareAndWait(ComparisonDialog& dialog)
{
    QSignalSpy ended(&dialog, &ComparisonDialog::comparisonEnded);
    dialog.compare();
    return ended.wait(60000);
}

} // namespace

// Three designs against a 95% half-width: a curve each, the target's line,
// and a table row each with the fewest fish named; a power with a budget
// is drawn on a 0 to 1 axis with its 0.8 line; a lone design is refused.
TEST(ComparisonDialog, ComparesTheTickedDesignsInPlotAndTable)
{
    ComparisonDialog dialog({example("paired"), example("btps"), example("vwp")});
    dialog.show();
    ASSERT_EQ(dialog.designTable()->rowCount(), 3);
    EXPECT_EQ(static_cast<QComboBox*>(dialog.designTable()->cellWidget(0, 2))->currentText(), "St");
    ASSERT_TRUE(compareAndWait(dialog));
    EXPECT_EQ(dialog.comparisonPlot()->curveCount(), 3);
    EXPECT_EQ(dialog.comparisonPlot()->lineValue(), 0.05);
    EXPECT_EQ(dialog.lastComparison().entries.size(), 3);
    const QString report = dialog.reportView()->toPlainText();
    EXPECT_TRUE(report.contains("Fewest fish for a 95% half-width at most 0.05"));
    EXPECT_TRUE(report.contains("Fewest fish: Paired Release (paired.json)"))
        << report.toStdString();
    EXPECT_TRUE(dialog.messageText().startsWith("Fewest fish:"));

    dialog.modeChoice()->setCurrentIndex(ComparisonRequest::Budget);
    dialog.measureChoice()->setCurrentIndex(PlanTarget::Power);
    dialog.valueField()->clear();
    dialog.budgetField()->setText("3000");
    ASSERT_TRUE(compareAndWait(dialog));
    EXPECT_EQ(dialog.comparisonPlot()->lineValue(), 0.8);
    const QwtScaleDiv& axis = dialog.comparisonPlot()->axisScaleDiv(QwtPlot::yLeft);
    EXPECT_EQ(axis.lowerBound(), 0.0);
    EXPECT_EQ(axis.upperBound(), 1.0);
    for (const ComparisonEntry& entry : dialog.lastComparison().entries) {
        EXPECT_EQ(entry.totalFish, 3000);
        EXPECT_GT(entry.measure, 0.05);
        EXPECT_LE(entry.measure, 1.0);
    }

    QTemporaryDir folder;
    ryn::SaveFailure failure;
    EXPECT_TRUE(
        dialog.comparisonPlot()->exportTo(folder.filePath("plot.png"), QSize(600, 400), &failure))
        << failure.reason.toStdString();
    EXPECT_FALSE(dialog.comparisonPlot()->exportTo(folder.filePath("no/plot.png"), QSize(600, 400),
                                                   &failure));

    for (int row = 1; row < 3; ++row)
        dialog.designTable()->item(row, 0)->setCheckState(Qt::Unchecked);
    ASSERT_TRUE(compareAndWait(dialog));
    EXPECT_TRUE(dialog.messageText().contains("2 to 6 designs"))
        << dialog.messageText().toStdString();
}
