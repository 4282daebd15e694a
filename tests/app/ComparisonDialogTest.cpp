#include "app/ComparisonDialog.h"

#include "AnsweringDialogs.h"
#include "FileContent.h"
#include "ScreenCheck.h"
#include "framework/files/SaveFile.h"
#include "plot/ComparisonPlot.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <qwt_scale_div.h>

using quorvel::test::contentOf;

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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    quorvel::test::expectInsideTheScreen(&dialog);
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
    quorvel::test::expectInsideTheScreen(&dialog);

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

// Every output is proposed as "comparison" with its type's extension, and a
// name typed without one gets the chosen type's; a name with another offered
// type's extension is written as that type.
TEST(ComparisonDialog, SavesEachOutputUnderTheChosenTypesExtension)
{
    ComparisonDialog dialog({example("paired"), example("btps")});
    auto owned = std::make_unique<quorvel::test::AnsweringDialogs>();
    quorvel::test::AnsweringDialogs* answers = owned.get();
    dialog.setDialogs(std::move(owned));
    dialog.show();
    ASSERT_TRUE(compareAndWait(dialog));
    const auto click = [&dialog](const QString& text) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == text) {
                ASSERT_TRUE(button->isEnabled()) << text.toStdString();
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        FAIL() << text.toStdString();
    };
    QTemporaryDir folder;
    const QString home = QDir::homePath();

    answers->saveFilter = "SVG drawing (*.svg)";
    answers->savePath = folder.filePath("plot");
    click("Save plot…");
    EXPECT_EQ(answers->proposals.last(), home + "/comparison.png");
    EXPECT_EQ(answers->startFilters.last(), "PNG image (*.png)");
    EXPECT_TRUE(contentOf(folder.filePath("plot.svg")).contains("<svg"));
    EXPECT_FALSE(QFile::exists(answers->savePath));
    answers->savePath = folder.filePath("plot.pdf");
    click("Save plot…");
    EXPECT_TRUE(contentOf(answers->savePath).startsWith("%PDF-"));

    answers->saveFilter = "PDF (*.pdf)";
    answers->savePath = folder.filePath("table");
    click("Save table…");
    EXPECT_EQ(answers->proposals.last(), home + "/comparison.html");
    EXPECT_EQ(answers->startFilters.last(), "HTML (*.html *.htm)");
    EXPECT_TRUE(contentOf(folder.filePath("table.pdf")).startsWith("%PDF-"));

    answers->saveFilter.clear();
    answers->savePath = folder.filePath("answers");
    click("Export CSV…");
    EXPECT_EQ(answers->proposals.last(), home + "/comparison.csv");
    EXPECT_TRUE(contentOf(folder.filePath("answers.csv")).contains("paired.json"));

    answers->pdfPath = folder.filePath("printed.pdf");
    click("Print…");
    EXPECT_TRUE(contentOf(answers->pdfPath).startsWith("%PDF-"));
}
