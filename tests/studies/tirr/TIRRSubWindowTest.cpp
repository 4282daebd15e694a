#include "studies/tirr/TIRRSubWindow.h"

#include "ModalBoxAnswerer.h"
#include "RecordingMonitor.h"
#include "ReportDocument.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "forms/core/TIRRInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/tirr/TIRRWidgetImpl.h"
#include "framework/run/ThreadRunner.h"
#include "framework/style/RynStyle.h"
#include "studies/tirr/TIRRComputation.h"
#include "studies/tirr/TIRRParameters.h"
#include "studies/tirr/TIRRReport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace quorvel::test;

namespace {

// The certified transport case (θ = 0.5, T = 0.8, Rt = Rc = 500) with θ given
// as Sc = 1 and P = 0.5.
void storeCertifiedInputs(TestStore& store)
{
    store->setValue(QVSettingsKeys::TirrRc, "500");
    store->setValue(QVSettingsKeys::TirrRt, "500");
    store->setValue(QVSettingsKeys::TirrSc, "1");
    store->setValue(QVSettingsKeys::TirrP, "0.5");
    store->setValue(QVSettingsKeys::TirrT, "0.8");
}

QList<QTextTable*> reportTables(TIRRSubWindow& window, QTextDocument& document)
{
    QTextCursor cursor(&document);
    window.writeReport(cursor);
    return tablesOf(document);
}

TIRRWidgetImpl* formOf(TIRRSubWindow& window)
{
    return static_cast<TIRRWidgetImpl*>(window.studyWidget());
}

} // namespace

TEST(TIRRSubWindow, SinglePointReportHasFiveInputRowsWithThetaGivenAndSixWithout)
{
    TestStore store;
    storeCertifiedInputs(store);
    TIRRSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(window, runner));
    QTextDocument derived;
    QList<QTextTable*> tables = reportTables(window, derived);
    ASSERT_EQ(tables.size(), 2);
    ASSERT_EQ(tables[0]->rows(), 6);
    EXPECT_EQ(rowTexts(tables[0], 2), (QStringList{"Survival (Sc):", "1"}));
    EXPECT_EQ(rowTexts(tables[0], 3), (QStringList{"Detection Probability (P):", "0.5"}));
    EXPECT_EQ(rowTexts(tables[0], 4), (QStringList{"", ""}));
    EXPECT_EQ(rowTexts(tables[0], 5), (QStringList{"Treatment Effect (T):", "0.8"}));
    EXPECT_EQ(headingsOf(derived),
              (QStringList{"Transport In-River Ratio Results", "Input:", "Results:",
                           "Power: two-sided test at alpha = 0.05 of T against 1."}));

    // The design's stored test, one-sided now, is the one the next run takes.
    store->setArrayValue(QVSettingsKeys::EffectSided, StudySubWindow::TIRRStudy, 1);
    formOf(window)->thetaRadio->click();
    ASSERT_TRUE(runToEnd(window, runner));
    QTextDocument given;
    tables = reportTables(window, given);
    ASSERT_EQ(tables.size(), 2);
    ASSERT_EQ(tables[0]->rows(), 5);
    EXPECT_EQ(rowTexts(tables[0], 2), (QStringList{"Theta (Sc * P):", "0.5"}));
    EXPECT_EQ(rowTexts(tables[0], 4), (QStringList{"Treatment Effect (T):", "0.8"}));
    // se = sqrt(0.0032) = 0.0565685; the 90% half-width comes first. The
    // one-sided power against 1 at T = 0.8 is Φ(0.2/se − 1.645).
    ASSERT_EQ(tables[1]->rows(), 4);
    EXPECT_EQ(rowTexts(tables[1], 0), (QStringList{"se:", "0.0565685"}));
    EXPECT_EQ(rowTexts(tables[1], 1), (QStringList{"90% CI:", "0.0930553"}));
    EXPECT_EQ(rowTexts(tables[1], 2), (QStringList{"95% CI:", "0.110874"}));
    EXPECT_EQ(rowTexts(tables[1], 3), (QStringList{"power:", "0.9707"}));
}

// The writer needs no window: a record, its results and the formats. Over a
// range the inputs are stated too, the ranged one as its range.
TEST(TIRRReport, RangeReportStatesItsInputsAndGivesFourDecimals)
{
    StudyInputs inputs = TIRRInputs::blankInputs();
    for (const char* key : {"Rc", "Rt"})
        inputs.field(key).text = "500";
    inputs.field("Sc").text = "1";
    inputs.field("P").text = "0.5";
    inputs.field("T").text = "0.8:1.6";
    inputs.setRangeHolder("T");
    const TIRRParameters record = takeTIRRRecord(inputs);
    RecordingMonitor monitor;
    const TIRRResults results = computeTIRR(record, monitor);

    QTextDocument document;
    QTextCursor cursor(&document);
    TIRRReport(ryn::RynStyle(), record, results).write(cursor);
    const QList<QTextTable*> tables = tablesOf(document);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(rowTexts(tables[0], 0), (QStringList{"Control Release Size (Rc):", "500"}));
    EXPECT_EQ(rowTexts(tables[0], 2), (QStringList{"Survival (Sc):", "1"}));
    EXPECT_EQ(rowTexts(tables[0], 5), (QStringList{"Treatment Effect (T):", "0.8:1.6"}));
    ASSERT_EQ(tables[1]->rows(), 101);
    EXPECT_EQ(rowTexts(tables[1], 0),
              (QStringList{"T", "Var(T)", "SE(T)", "1/2 90% CI", "1/2 95% CI"}));
    EXPECT_EQ(rowTexts(tables[1], 1), (QStringList{"0.8", "0.0032", "0.0566", "0.0931", "0.1109"}));
    EXPECT_EQ(cellText(tables[1], 100, 0), "1.6");
    EXPECT_EQ(headingsOf(document), (QStringList{"Transport In-River Ratio Results", "Input:"}));
}

TEST(TIRRSubWindow, AValueThatCannotBeReadStartsNoRun)
{
    TestStore store;
    storeCertifiedInputs(store);
    store->setValue(QVSettingsKeys::TirrT, "30000000000");
    TIRRSubWindow window(store.get());
    ryn::ThreadRunner runner;
    ModalBoxAnswerer answerer;
    ASSERT_TRUE(window.validate());
    EXPECT_FALSE(window.startRun(&runner));
    EXPECT_EQ(answerer.seen, QStringList{"Transport In-River Ratio|"
                                         "Out of range value in T: 3e+10|critical"});
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(window.resultCount(), 0);
}
