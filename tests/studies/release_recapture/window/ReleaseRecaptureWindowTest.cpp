#include "studies/release_recapture/window/PairedReleaseSubWindow.h"
#include "studies/release_recapture/window/SingleReleaseSubWindow.h"

#include "ReferenceCases.h"
#include "ReferenceDesigns.h"
#include "ReportDocument.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/release_recapture/PairedReleaseWidget.h"
#include "forms/release_recapture/ReachWidgetImpl.h"
#include "forms/release_recapture/ReleaseWidgetImpl.h"
#include "forms/release_recapture/SingleReleaseWidget.h"
#include "forms/release_recapture/TCReachWidgetImpl.h"
#include "framework/run/ThreadRunner.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>

using namespace quorvel::test;

// Texts in failure messages.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A report written by a window: its headings (the paragraphs outside the
// tables) and its tables, in order.
struct Report
{
    explicit Report(StudySubWindow& window)
    {
        QTextCursor cursor(&document);
        window.writeReport(cursor);
        headings = headingsOf(document);
        tables = tablesOf(document);
    }

    // The tables' sizes, "rows x columns".
    QStringList sizes() const
    {
        QStringList result;
        for (const QTextTable* table : tables)
            result << QStringLiteral("%1 x %2").arg(table->rows()).arg(table->columns());
        return result;
    }

    QTextDocument document;
    QStringList headings;
    QList<QTextTable*> tables;
};

void storeSingleCase(TestStore& store, const QJsonObject& in)
{
    const int reaches = in["reaches"].toInt();
    const std::vector<int> releases = toInts(in["release_sizes"]);
    const auto store4 = [&store](int id, int k, double value) {
        store->setArrayValue(id, k, QString::number(value, 'g', 17));
    };
    store->setValue(QVSettingsKeys::SrNumReaches, reaches + 1);
    store->setValue(QVSettingsKeys::SrR0, QString::number(releases[0]));
    store->setValue(QVSettingsKeys::SrLambda, QString::number(in["lambda"].toDouble(), 'g', 17));
    for (int k = 0; k < reaches; ++k) {
        store4(QVSettingsKeys::SrS, k, toDoubles(in["survival_per_reach"])[k]);
        store4(QVSettingsKeys::SrP, k, toDoubles(in["detection_per_reach"])[k]);
        store4(QVSettingsKeys::SrD, k, toDoubles(in["removals"])[k]);
        store4(QVSettingsKeys::SrR, k, releases[k + 1]);
        store->setArrayValue(QVSettingsKeys::SrSi, k, toInts(in["survival_choices"])[k]);
        store->setArrayValue(QVSettingsKeys::SrPi, k, toInts(in["detection_choices"])[k]);
    }
}

void storePairedCase(TestStore& store, const QJsonObject& in)
{
    const int downstream = in["downstream_reaches"].toInt();
    const auto text = [](double value) { return QString::number(value, 'g', 17); };
    store->setValue(QVSettingsKeys::PrNumReaches, downstream + 1);
    store->setValue(QVSettingsKeys::PrRt, QString::number(in["Rt"].toInt()));
    store->setValue(QVSettingsKeys::PrRc, QString::number(in["Rc"].toInt()));
    store->setValue(QVSettingsKeys::PrSt, text(in["St"].toDouble()));
    store->setValue(QVSettingsKeys::PrSc, text(in["Sc"].toDouble()));
    store->setValue(QVSettingsKeys::PrP1, text(toDoubles(in["detection_per_site"])[0]));
    store->setValue(QVSettingsKeys::PrD1, text(toDoubles(in["removals"])[0]));
    store->setValue(QVSettingsKeys::PrLambda, text(in["lambda"].toDouble()));
    for (int k = 0; k < downstream; ++k) {
        store->setArrayValue(QVSettingsKeys::PrS, k, text(toDoubles(in["survival_per_reach"])[k]));
        store->setArrayValue(QVSettingsKeys::PrP, k,
                             text(toDoubles(in["detection_per_site"])[k + 1]));
        store->setArrayValue(QVSettingsKeys::PrD, k, text(toDoubles(in["removals"])[k + 1]));
        store->setArrayValue(QVSettingsKeys::PrSi, k, toInts(in["survival_choices"])[k]);
        store->setArrayValue(QVSettingsKeys::PrPi, k, toInts(in["detection_choices"])[k]);
    }
}

void expectCertified(const ReleaseRecaptureResults& results, const QJsonObject& expected)
{
    ASSERT_EQ(results.count(), 1);
    const QStringList names = QJsonValue(expected["parameter_names"]).toVariant().toStringList();
    EXPECT_EQ(results.parameterNames().mid(0, results.parameterCount()), names);
    EXPECT_EQ(results.estimates(0), toDoubles(expected["estimates"]));
    std::vector<int> order;
    for (int a = 0; a < names.size(); ++a)
        order.push_back(a);
    expectCovarianceNear(results.covariance(0), order, expected["covariance"].toArray(), 1e-9);
}

// The two-reach single release of the reference data, stored.
QJsonObject storeTwoReaches(TestStore& store)
{
    const QJsonObject reference = referenceCase("single_two_reaches");
    storeSingleCase(store, reference["inputs"].toObject());
    return reference["expected"].toObject();
}

} // namespace

TEST(ReleaseRecaptureSubWindow, CertifiedDesignsThroughTheFormsAgreeToRounding)
{
    ryn::ThreadRunner runner;
    for (const QJsonObject& reference : referenceCases("single_release")) {
        SCOPED_TRACE(reference["id"].toString().toStdString());
        TestStore store;
        storeSingleCase(store, reference["inputs"].toObject());
        SingleReleaseSubWindow window(store.get());
        ASSERT_TRUE(window.validate());
        ASSERT_TRUE(runToEnd(window, runner));
        expectCertified(*window.run()->results(), reference["expected"].toObject());
    }
    for (const QJsonObject& reference : referenceCases("paired_release")) {
        SCOPED_TRACE(reference["id"].toString().toStdString());
        TestStore store;
        storePairedCase(store, reference["inputs"].toObject());
        PairedReleaseSubWindow window(store.get());
        ASSERT_TRUE(window.validate());
        ASSERT_TRUE(runToEnd(window, runner));
        expectCertified(*window.run()->results(), reference["expected"].toObject());
    }
}

TEST(ReleaseRecaptureSubWindow, SingularPointIsReportedAndTheRunEndsCanceledWithEarlierPoints)
{
    auto record = std::make_shared<SingleReleaseRecord>();
    record->survivalLabels = {0};
    record->detectionLabels = {0};
    for (int i = 0; i < 10; ++i) {
        record->x.append(i);
        record->points.push_back({{0.0}, {1000, 0}, {i == 3 ? 0.0 : 0.8}, {0.7}, 0.5});
    }
    ryn::ThreadRunner runner;
    SingleReleaseRun run(&runner, record);
    QSignalSpy errors(&runner, &ryn::ThreadRunner::error);
    QSignalSpy canceled(&runner, &ryn::ThreadRunner::runCanceled);
    runner.setRunnable(&run);
    runner.start();
    ASSERT_TRUE(canceled.wait(10000));
    runner.wait();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toString(), "Singular hessian: step = 3");
    EXPECT_EQ(run.resultCount(), 3);
}

TEST(ReleaseRecaptureSubWindow, DesignsAndTheirParameterNamesBeforeARun)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrNumReaches, 4);
    SingleReleaseSubWindow single(store.get());
    EXPECT_EQ(single.id(), 1);
    EXPECT_EQ(single.shortName(), "SR");
    EXPECT_EQ(single.windowTitle(), "Single Release");
    EXPECT_EQ(single.form()->numReaches(), 4);
    EXPECT_EQ(single.parameterNames(), (QStringList{"S1", "S2", "S3", "P1", "P2", "P3", "Final"}));

    QSignalSpy changed(&single, &ReleaseRecaptureSubWindow::parameterNamesChanged);
    single.singleReleaseForm()->findChildren<ReachWidgetImpl*>()[2]->survivalCombo->setCurrentIndex(
        1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toStringList(),
              (QStringList{"S1", "S2", "P1", "P2", "P3", "Final"}));
    single.setNumReaches(2);
    EXPECT_EQ(single.parameterNames(), (QStringList{"S1", "P1", "Final"}));

    store->setValue(QVSettingsKeys::PrNumReaches, 3);
    PairedReleaseSubWindow paired(store.get());
    EXPECT_EQ(paired.id(), 2);
    EXPECT_EQ(paired.shortName(), "PR");
    EXPECT_EQ(paired.windowTitle(), "Paired Release");
    EXPECT_EQ(paired.parameterNames(),
              (QStringList{"Sc", "St", "Sc2", "St2", "Sc3", "St3", "Pc1", "Pt1", "Pc2", "Pt2",
                           "Pc3", "Pt3", "FinalC", "FinalT"}));
    paired.pairedReleaseForm()
        ->findChildren<TCReachWidgetImpl*>()[1]
        ->captureCombo->setCurrentIndex(0);
    EXPECT_EQ(paired.parameterNames(), (QStringList{"Sc", "St", "Sc2", "St2", "Sc3", "St3", "Pc1",
                                                    "Pt1", "Pc2", "Pt2", "FinalC", "FinalT"}));
}

TEST(ReleaseRecaptureReport, SinglePointReportWithAndWithoutTotalSurvival)
{
    TestStore store;
    const QJsonObject expected = storeTwoReaches(store);
    ryn::ThreadRunner runner;
    SingleReleaseSubWindow window(store.get());
    ASSERT_TRUE(runToEnd(window, runner));
    {
        Report report(window);
        EXPECT_EQ(report.headings,
                  (QStringList{"Single Release Results", "Release sizes:", "Parameters:",
                               "Variance-Covariance Matrix:", "Precision:"}));
        EXPECT_EQ(report.sizes(), (QStringList{"2 x 3", "2 x 5", "6 x 6", "4 x 6"}));
        const QTextCharFormat title = report.document.firstBlock().begin().fragment().charFormat();
        EXPECT_EQ(title.fontPointSize(), window.heading1Format.fontPointSize());
        EXPECT_TRUE(title.fontUnderline());
        EXPECT_EQ(rowTexts(report.tables[0], 1), (QStringList{"2000", "0", "0"}));
        EXPECT_EQ(rowTexts(report.tables[1], 1), (QStringList{"0.8", "0.9", "0.7", "0.6", "0.5"}));

        QTextTable* covariance = report.tables[2];
        EXPECT_EQ(rowTexts(covariance, 0), (QStringList{"", "S1", "S2", "P1", "P2", "Final"}));
        EXPECT_EQ(cellText(covariance, 3, 0), "P1");
        QTextTable* precision = report.tables[3];
        EXPECT_EQ(rowTexts(precision, 0), (QStringList{"", "S1", "S2", "P1", "P2", "Final"}));
        EXPECT_EQ(cellText(precision, 3, 0), "half 95%");
        const std::vector<double> se = toDoubles(expected["standard_errors"]);
        const std::vector<double> half95 = toDoubles(expected["half_width_95"]);
        for (int c = 0; c < 5; ++c) {
            EXPECT_NEAR(cellText(precision, 1, c + 1).toDouble(), se[c], 1e-8);
            EXPECT_NEAR(cellText(precision, 3, c + 1).toDouble(), half95[c], 1e-8);
            EXPECT_EQ(cellText(precision, 1, c + 1).section('.', 1).size(), 8);
        }
        // Header cells shaded and bold, value cells in the 8 pt value format.
        EXPECT_EQ(precision->cellAt(0, 1).firstCursorPosition().blockFormat().background(),
                  window.cellCenterShadedFormat.background());
        EXPECT_EQ(cellCharFormat(precision, 0, 1).fontWeight(), QFont::Bold);
        EXPECT_EQ(cellCharFormat(precision, 1, 1).fontPointSize(), 8);
        EXPECT_EQ(cellCharFormat(precision, 1, 1).fontWeight(), QFont::Normal);
    }

    store->setValue(QVSettingsKeys::TotalSurvVar, true);
    ASSERT_TRUE(runToEnd(window, runner));
    Report report(window);
    EXPECT_EQ(
        report.headings.mid(1),
        (QStringList{"Release sizes:", "Parameters:", "Variance-Covariance Matrix:", "Precision:",
                     "Total survival (variance): " +
                         QString::number(expected["total_survival"].toDouble(), 'g', 6) + " (" +
                         QString::number(expected["total_survival_variance"].toDouble(), 'g', 6) +
                         ")"}));
    EXPECT_EQ(report.sizes(), (QStringList{"2 x 3", "2 x 5", "6 x 6", "4 x 7"}));
    EXPECT_EQ(cellText(report.tables[3], 0, 6), "CompositeS");
    const QTextBlock line = report.document.lastBlock().previous();
    EXPECT_EQ(line.begin().fragment().charFormat().fontPointSize(), 8);
}

TEST(ReleaseRecaptureReport, ReplicatesInUseShowOneParameterAndNoCovariance)
{
    TestStore store;
    const QJsonObject expected = storeTwoReaches(store);
    store->setValue(QVSettingsKeys::SrReplicatesEnabled, true);
    store->setValue(QVSettingsKeys::SrReplicatesNum, 4);
    store->setValue(QVSettingsKeys::SrReplicateNatVar, "0.001");
    store->setValue(QVSettingsKeys::SrReplicatesPar, "S2");
    ryn::ThreadRunner runner;
    SingleReleaseSubWindow window(store.get());
    ASSERT_TRUE(runToEnd(window, runner));
    Report report(window);

    EXPECT_EQ(report.headings, (QStringList{"Single Release Results",
                                            "Release sizes:", "Parameters:", "Precision:"}));
    EXPECT_EQ(report.sizes(), (QStringList{"2 x 2", "2 x 3", "2 x 5", "4 x 2"}));
    EXPECT_EQ(rowTexts(report.tables[0], 0), (QStringList{"Number of replicates:", "4"}));
    EXPECT_EQ(rowTexts(report.tables[0], 1), (QStringList{"Natural variability:", "0.001"}));
    QTextTable* precision = report.tables[3];
    EXPECT_EQ(cellText(precision, 0, 1), "S2");
    const double variance = toDoubles(expected["variances"])[1];
    EXPECT_NEAR(cellText(precision, 1, 1).toDouble(), std::sqrt((0.001 + variance) / 4), 1e-8);
}

TEST(ReleaseRecaptureReport, RangedReleaseShowsItsRangeAndIntegerPoints)
{
    TestStore store;
    storeTwoReaches(store);
    store->setValue(QVSettingsKeys::SrR0, "100:1000");
    ryn::ThreadRunner runner;
    SingleReleaseSubWindow window(store.get());
    ASSERT_TRUE(runToEnd(window, runner));
    // Inputs edited after the run started change nothing of its report.
    window.singleReleaseForm()->releaseWidget()->releaseEdit->setText("7");
    window.singleReleaseForm()->setNumReaches(4);
    Report report(window);

    EXPECT_EQ(report.headings.mid(1),
              (QStringList{"Release sizes:", "Parameters:", "Standard Errors:",
                           "Half-widths of the 90% confidence intervals:",
                           "Half-widths of the 95% confidence intervals:"}));
    EXPECT_EQ(report.sizes(), (QStringList{"2 x 3", "2 x 5", "91 x 6", "91 x 6", "91 x 6"}));
    EXPECT_EQ(rowTexts(report.tables[0], 1), (QStringList{"100:1000", "0", "0"}));
    QTextTable* errors = report.tables[2];
    EXPECT_EQ(rowTexts(errors, 0), (QStringList{"R0", "S1", "S2", "P1", "P2", "Final"}));
    EXPECT_EQ(cellText(errors, 1, 0), "100");
    EXPECT_EQ(cellText(errors, 2, 0), "110");
    EXPECT_EQ(cellText(errors, 90, 0), "1000");
    // The half-widths, 1.645 and 1.96 standard errors, at the same points,
    // with the standard errors' decimals.
    const struct
    {
        QTextTable* table;
        double z;
    } halves[] = {{report.tables[3], 1.645}, {report.tables[4], 1.96}};
    for (const auto& half : halves) {
        EXPECT_EQ(rowTexts(half.table, 0), rowTexts(errors, 0));
        for (int row = 1; row <= 90; row += 89) {
            EXPECT_EQ(cellText(half.table, row, 0), cellText(errors, row, 0));
            for (int column = 1; column < 6; ++column) {
                const QString text = cellText(half.table, row, column);
                EXPECT_EQ(text.section('.', 1).size(), 8) << text.toStdString();
                EXPECT_NEAR(text.toDouble(), half.z * cellText(errors, row, column).toDouble(),
                            half.z * 0.5e-8 + 0.5e-8);
            }
        }
    }
    EXPECT_EQ(window.rangeLabel(), "R0");
    EXPECT_EQ(window.precisionTable().pointCount(), 90);
}

TEST(ReleaseRecaptureReport, PairedRangeOverAReachSurvivalFillsBothGroupsColumns)
{
    TestStore store;
    storePairedCase(
        store, referenceCase("paired_one_downstream_reach_unequal_releases")["inputs"].toObject());
    store->setArrayValue(QVSettingsKeys::PrS, 0, "0.5:0.9");
    store->setValue(QVSettingsKeys::PrLinkReleases, true);
    ryn::ThreadRunner runner;
    PairedReleaseSubWindow window(store.get());
    ASSERT_TRUE(runToEnd(window, runner));
    Report report(window);

    EXPECT_EQ(report.headings,
              (QStringList{"Paired Release Results",
                           "Release sizes:", "Parameters:", "Proportions removed:",
                           "Standard Errors:", "Half-widths of the 90% confidence intervals:",
                           "Half-widths of the 95% confidence intervals:",
                           "Power: two-sided test at alpha = 0.05 of St against 1."}));
    // The case removes fish: a table states the removals. The power of St,
    // the treatment's survival relative to the control's, stands last beside
    // the standard errors; the half-widths have the same columns without it.
    EXPECT_EQ(report.sizes(),
              (QStringList{"2 x 2", "2 x 10", "2 x 2", "101 x 12", "101 x 11", "101 x 11"}));
    EXPECT_EQ(rowTexts(report.tables[0], 1), (QStringList{"1000", "1000"}));
    EXPECT_EQ(rowTexts(report.tables[1], 0).mid(0, 4), (QStringList{"Sc", "St", "Sc2", "St2"}));
    EXPECT_EQ(rowTexts(report.tables[1], 1).mid(0, 4),
              (QStringList{"0.92", "0.85", "0.5:0.9", "0.5:0.9"}));
    QTextTable* errors = report.tables[3];
    EXPECT_EQ(cellText(errors, 0, 0), "S2");
    EXPECT_EQ(cellText(errors, 1, 0), "0.500");
    EXPECT_EQ(cellText(errors, 100, 0), "0.900");
    EXPECT_EQ(cellText(errors, 0, 11), "Power St");
    ASSERT_EQ(cellText(errors, 0, 2), "St");
    const double standardised = 0.15 / cellText(errors, 1, 2).toDouble();
    const auto phi = [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); };
    EXPECT_NEAR(cellText(errors, 1, 11).toDouble(),
                phi(standardised - 1.959963985) + phi(-standardised - 1.959963985), 1e-4);
}

// Removals change the precision, so a report that removes fish anywhere
// states every removal proportion in a table of its own below the
// parameters, each under its name; one that removes none has no such table.
TEST(ReleaseRecaptureReport, RemovalProportionsHaveTheirOwnTableWhenAnyIsNotZero)
{
    TestStore store;
    storeTwoReaches(store);
    store->setArrayValue(QVSettingsKeys::SrD, 1, "0.2");
    ryn::ThreadRunner runner;
    SingleReleaseSubWindow single(store.get());
    ASSERT_TRUE(runToEnd(single, runner));
    Report report(single);
    EXPECT_EQ(report.headings.mid(1, 3),
              (QStringList{"Release sizes:", "Parameters:", "Proportions removed:"}));
    EXPECT_EQ(report.sizes(), (QStringList{"2 x 3", "2 x 5", "2 x 2", "6 x 6", "4 x 6"}));
    EXPECT_EQ(rowTexts(report.tables[1], 0), (QStringList{"S1", "S2", "P1", "P2", "Final"}));
    EXPECT_EQ(rowTexts(report.tables[2], 0), (QStringList{"D1", "D2"}));
    EXPECT_EQ(rowTexts(report.tables[2], 1), (QStringList{"0", "0.2"}));

    storePairedCase(
        store, referenceCase("paired_one_downstream_reach_unequal_releases")["inputs"].toObject());
    store->setValue(QVSettingsKeys::PrD1, "0");
    store->setArrayValue(QVSettingsKeys::PrD, 0, "0");
    PairedReleaseSubWindow paired(store.get());
    ASSERT_TRUE(runToEnd(paired, runner));
    EXPECT_FALSE(Report(paired).headings.contains("Proportions removed:"));
    EXPECT_EQ(Report(paired).tables[1]->rows(), 2);
    store->setValue(QVSettingsKeys::PrD1, "0.3:0.5");
    PairedReleaseSubWindow rangedWindow(store.get());
    ASSERT_TRUE(runToEnd(rangedWindow, runner));
    Report ranged(rangedWindow);
    ASSERT_EQ(ranged.tables[1]->rows(), 2);
    EXPECT_EQ(rowTexts(ranged.tables[2], 0), (QStringList{"D1", "D2"}));
    EXPECT_EQ(rowTexts(ranged.tables[2], 1), (QStringList{"0.3:0.5", "0"}));
}
