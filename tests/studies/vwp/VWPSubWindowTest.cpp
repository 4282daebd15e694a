#include "studies/vwp/VWPSubWindow.h"

#include "ReportDocument.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/vwp/VWPWidget.h"
#include "framework/run/ThreadRunner.h"
#include "numerics/Matrix.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>

using namespace quorvel::test;

namespace {

// The certified virtual paired-release case.
void storeCertifiedInputs(TestStore& store)
{
    store->setValue(QVSettingsKeys::VwpV1, "2000");
    store->setValue(QVSettingsKeys::VwpR2, "1000");
    store->setValue(QVSettingsKeys::VwpR3, "1000");
    store->setValue(QVSettingsKeys::VwpS1dam, "0.9");
    store->setValue(QVSettingsKeys::VwpSprime12, "0.95");
    store->setValue(QVSettingsKeys::VwpS12, "0.9");
    store->setValue(QVSettingsKeys::VwpP1, "0.7");
    store->setValue(QVSettingsKeys::VwpP2, "0.6");
    store->setValue(QVSettingsKeys::VwpLambda, "0.5");
}

} // namespace

TEST(VWPSubWindow, ReportWithoutARangeGivesSdamAndTheThreeReleaseEstimates)
{
    TestStore store;
    storeCertifiedInputs(store);
    VWPSubWindow window(store.get());
    QTextDocument empty;
    QTextCursor emptyCursor(&empty);
    window.writeReport(emptyCursor);
    EXPECT_TRUE(empty.isEmpty());

    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));
    QTextDocument document;
    QTextCursor cursor(&document);
    window.writeReport(cursor);
    EXPECT_EQ(cursor.position(), 0);
    EXPECT_EQ(headingsOf(document),
              (QStringList{"Virtual with a Paired Release Results",
                           "Input:", "Results for Sdam:", "Intermediate Results:",
                           "Power: two-sided test at alpha = 0.05 of Sdam against 1."}));
    const QList<QTextTable*> tables = tablesOf(document);
    ASSERT_EQ(tables.size(), 3);
    ASSERT_EQ(tables[0]->rows(), 9);
    EXPECT_EQ(rowTexts(tables[0], 0), (QStringList{"Virtual Release Size (V1):", "2000"}));
    EXPECT_EQ(rowTexts(tables[0], 2), (QStringList{"Release Size (R3):", "1000"}));
    EXPECT_EQ(rowTexts(tables[0], 3), (QStringList{"Dam Survival (Sdam):", "0.9"}));
    EXPECT_EQ(rowTexts(tables[0], 8),
              (QStringList{"Survival and Detection beyond Site 2 (Lambda):", "0.5"}));
    // se(Sdam) = 0.0400936405, var(S1) = 0.0001332375, var(S2) = 0.000693975,
    // var(S3) = 0.00069; the half-widths 1.645 se = 0.0659540386 and
    // 1.96 se = 0.0785835354.
    EXPECT_EQ(rowTexts(tables[1], 0), (QStringList{"Standard Error: ", "0.04009364"}));
    EXPECT_EQ(rowTexts(tables[1], 1), (QStringList{"1/2 90% CI: ", "0.06595404"}));
    EXPECT_EQ(rowTexts(tables[1], 2), (QStringList{"1/2 95% CI: ", "0.07858354"}));
    // The power against Sdam = 1: Φ(0.1/se − 1.96) + Φ(−0.1/se − 1.96).
    EXPECT_EQ(rowTexts(tables[1], 3), (QStringList{"Power: ", "0.7034"}));
    EXPECT_EQ(tables[1]->format().border(), 0);
    ASSERT_EQ(tables[2]->rows(), 4);
    EXPECT_EQ(rowTexts(tables[2], 0), (QStringList{"Parameter", "Variance", "Standard Error"}));
    EXPECT_EQ(rowTexts(tables[2], 1), (QStringList{"S1", "0.00013324", "0.011543"}));
    EXPECT_EQ(rowTexts(tables[2], 3), (QStringList{"S3", "0.00069000", "0.026268"}));
}

TEST(VWPSubWindow, RangeReportAndPlotDataGiveSdamAtEveryPoint)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::VwpS1dam, "0.8:0.9");
    VWPSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));
    static_cast<VWPWidget*>(window.studyWidget())->sDamEdit->setText("0.5");

    QStringList names;
    Matrix data;
    window.getPlotData(names, data);
    EXPECT_EQ(names, QStringList{"Sdam"});
    ASSERT_EQ(data.rows(), 100);
    EXPECT_EQ(data(99, 0), 0.9);
    EXPECT_REL_NEAR(data(99, 1), 0.0016075000055052265, 1e-9);
    EXPECT_EQ(window.rangeLabel(), "SDam");

    QTextDocument document;
    QTextCursor cursor(&document);
    window.writeReport(cursor);
    EXPECT_EQ(
        headingsOf(document),
        (QStringList{"Virtual with a Paired Release Results", "Input:", "Range Results for Sdam:",
                     "Power: two-sided test at alpha = 0.05 of Sdam against 1."}));
    const QList<QTextTable*> tables = tablesOf(document);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(rowTexts(tables[0], 0), (QStringList{"Virtual Release Size (V1):", "2000"}));
    EXPECT_EQ(rowTexts(tables[0], 3), (QStringList{"Dam Survival (Sdam):", "0.8:0.9"}));
    ASSERT_EQ(tables[1]->rows(), 101);
    ASSERT_EQ(tables[1]->columns(), 5);
    EXPECT_EQ(rowTexts(tables[1], 0),
              (QStringList{"SDam", "SDam Std. Err.", "1/2 90% CI", "1/2 95% CI", "Power"}));
    EXPECT_EQ(cellText(tables[1], 2, 0), "0.801");
    EXPECT_TRUE(QRegularExpression("^0\\.0\\d{5}$").match(cellText(tables[1], 2, 1)).hasMatch());
    EXPECT_EQ(rowTexts(tables[1], 100),
              (QStringList{"0.9", "0.040094", "0.065954", "0.078584", "0.7034"}));
}
