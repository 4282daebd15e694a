#include "studies/btps/BTPSSubWindow.h"

#include "ModalBoxAnswerer.h"
#include "ReportDocument.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/btps/BTPSWidgetImpl.h"
#include "forms/range/RangeLineEdit.h"
#include "framework/run/ThreadRunner.h"
#include "numerics/Matrix.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace quorvel::test;

namespace {

void storeCertifiedInputs(TestStore& store)
{
    store->setValue(QVSettingsKeys::BtpsRc, "1000");
    store->setValue(QVSettingsKeys::BtpsRt, "1000");
    store->setValue(QVSettingsKeys::BtpsSc, "0.8");
    store->setValue(QVSettingsKeys::BtpsSt, "0.72");
    store->setValue(QVSettingsKeys::BtpsT, "0.5");
    store->setValue(QVSettingsKeys::BtpsPa, "0.5");
    store->setValue(QVSettingsKeys::BtpsPd, "0.3");
}

BTPSWidgetImpl* formOf(BTPSSubWindow& window)
{
    return static_cast<BTPSWidgetImpl*>(window.studyWidget());
}

QTextDocument* reportOf(BTPSSubWindow& window, QTextDocument& document)
{
    QTextCursor cursor(&document);
    window.writeReport(cursor);
    return &document;
}

} // namespace

TEST(BTPSSubWindow, LinkedRangeOfReleaseSizesRunsWithRtEqualToRcAtEveryPoint)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::BtpsRc, "100:1000");
    store->setValue(QVSettingsKeys::BtpsRt, "50");
    store->setValue(QVSettingsKeys::BtpsLinkReleases, true);
    BTPSSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));

    ASSERT_EQ(window.resultCount(), 90);
    EXPECT_EQ(window.rangeLabel(), "Rc-Rt");
    QStringList names;
    Matrix data;
    window.getPlotData(names, data);
    ASSERT_EQ(data.rows(), 90);
    for (int i : {0, 1, 89}) {
        const double r = 100 + 10 * i + (i == 89 ? 10 : 0);
        EXPECT_EQ(data(i, 0), r);
        // var(T) with T = 0.9, Sc = 0.8, Pa = 0.5 and Rt = Rc = r.
        EXPECT_REL_NEAR(data(i, 1), 2.25 * (0.54 + 0.64) / r, 1e-12) << i;
    }
}

TEST(BTPSSubWindow, CancelBetweenPointsReportsCancelledAndEndsCanceled)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::BtpsSc, "0.5:0.9");
    BTPSSubWindow window(store.get());
    ryn::ThreadRunner runner;
    QObject::connect(
        &runner, &ryn::ThreadRunner::percentComplete, &runner,
        [&runner](int percent) {
            if (percent > 0)
                runner.cancel();
        },
        Qt::DirectConnection);
    QSignalSpy errors(&runner, &ryn::ThreadRunner::error);
    QSignalSpy canceled(&runner, &ryn::ThreadRunner::runCanceled);
    QSignalSpy complete(&runner, &ryn::ThreadRunner::runComplete);

    ASSERT_TRUE(window.startRun(&runner));
    runner.wait();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toString(), "Cancelled!");
    EXPECT_EQ(canceled.count(), 1);
    EXPECT_EQ(complete.count(), 0);
    EXPECT_LT(window.resultCount(), 100);
}

TEST(BTPSSubWindow, SinglePointReportShowsTheInputsAndListsThe95PercentHalfWidthFirst)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::PrecisionErr, "6");
    BTPSSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));
    // The form edited after the run: the report shows what the run used.
    formOf(window)->paEdit->setText("0.9");
    formOf(window)->sctRadio->click();

    QTextDocument document;
    reportOf(window, document);
    EXPECT_EQ(headingsOf(document),
              (QStringList{"Balloon-Tag Passage Survival Estimate Results", "Input:", "Results:",
                           "Power: two-sided test at alpha = 0.05 of T against 1."}));
    const QTextCharFormat title = document.begin().begin().fragment().charFormat();
    EXPECT_EQ(title.fontPointSize(), 12);
    EXPECT_TRUE(title.fontUnderline());

    const QList<QTextTable*> tables = tablesOf(document);
    ASSERT_EQ(tables.size(), 2);
    QTextTable* inputs = tables[0];
    ASSERT_EQ(inputs->rows(), 6);
    EXPECT_EQ(inputs->format().border(), 0);
    EXPECT_EQ(rowTexts(inputs, 1), (QStringList{"Treatment Release Size (Rt):", "1000"}));
    // Inputs as typed, not to the report's decimals: St = Sc·T = 0.8 · 0.9
    // without the rounding of the product.
    EXPECT_EQ(rowTexts(inputs, 3), (QStringList{"Treatment Survival (St):", "0.72"}));
    EXPECT_EQ(rowTexts(inputs, 4), (QStringList{"Proportion Alive Fish (Pa):", "0.5"}));
    EXPECT_TRUE(cellCharFormat(inputs, 4, 0).fontWeight() > QFont::Normal);
    EXPECT_EQ(cellCharFormat(inputs, 4, 1).fontWeight(), QFont::Normal);
    EXPECT_EQ(inputs->cellAt(4, 0).firstCursorPosition().blockFormat().leftMargin(), 10);

    // se = sqrt(0.002655) = 0.0515267, 1.96 se = 0.100992, 1.645 se = 0.0847614;
    // the power against T = 1 at T = 0.9 is Φ(0.1/se − 1.96) + Φ(−0.1/se − 1.96).
    QTextTable* results = tables[1];
    ASSERT_EQ(results->rows(), 5);
    EXPECT_EQ(rowTexts(results, 0), (QStringList{"", "T"}));
    EXPECT_EQ(rowTexts(results, 1), (QStringList{"se", "0.051527"}));
    EXPECT_EQ(rowTexts(results, 2), (QStringList{"1/2 90% CI", "0.084761"}));
    EXPECT_EQ(rowTexts(results, 3), (QStringList{"1/2 95% CI", "0.100992"}));
    EXPECT_EQ(rowTexts(results, 4), (QStringList{"power", "0.4924"}));
    EXPECT_EQ(cellCharFormat(results, 1, 1).fontPointSize(), 8);
}

TEST(BTPSSubWindow, RangeReportKeepsTheInputTableAndGivesEveryPointInGeneralFormat)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::BtpsUseSt, false);
    store->setValue(QVSettingsKeys::BtpsUseT, true);
    store->setValue(QVSettingsKeys::BtpsT, "0.9");
    store->setValue(QVSettingsKeys::BtpsRt, "1000:2000");
    BTPSSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));

    QTextDocument document;
    reportOf(window, document);
    const QList<QTextTable*> tables = tablesOf(document);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(rowTexts(tables[0], 1), (QStringList{"Treatment Release Size (Rt):", "1000"}));
    EXPECT_EQ(rowTexts(tables[0], 3), (QStringList{"Survival Ratio (T = St/Sc):", "0.9"}));
    EXPECT_FALSE(document.toPlainText().contains("Tau"));
    QTextTable* range = tables[1];
    ASSERT_EQ(range->rows(), 101);
    EXPECT_EQ(rowTexts(range, 0),
              (QStringList{"Rt", "var(T)", "se(T)", "1/2 90% CI", "1/2 95% CI", "Power"}));
    // At Rt = Rc = 1000 the certified variance 0.002655, se 0.0515267.
    EXPECT_EQ(rowTexts(range, 1),
              (QStringList{"1000", "0.002655", "0.0515267", "0.0847614", "0.100992", "0.4924"}));
    EXPECT_EQ(cellText(range, 100, 0), "2000");
}
