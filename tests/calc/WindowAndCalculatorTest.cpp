#include "CalcTestSupport.h"

#include "ModalBoxAnswerer.h"
#include "ReferenceCases.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/StudyWidget.h"
#include "framework/run/ThreadRunner.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

using namespace quorvel::test;

// Texts in failure messages.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// The rows of a CSV table without quoted fields, split into their fields.
QList<QStringList> csvRows(const QString& text)
{
    QList<QStringList> rows;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char(','));
    return rows;
}

QList<QStringList> calculatedCsv(const QString& design)
{
    const CalcResult csv = runCalc({"--format", "csv", examplePath(design)});
    EXPECT_EQ(csv.status, 0) << csv.err.toStdString();
    return csvRows(csv.out);
}

} // namespace

// Each example loaded into its form and run by its window, and computed by
// quorvel-calc: the same report (the window's shows the power of the
// design's test, as quorvel-calc's does with --power), and the same
// estimates and variances to the last bit.
TEST(WindowAndCalculator, EveryExampleGivesTheSameReportAndNumbersBothWays)
{
    for (const DesignInfo& info : designs::all()) {
        SCOPED_TRACE(info.name.toStdString());
        Design design;
        QString error;
        ASSERT_TRUE(DesignFile::read(exampleText(info.name), &design, &error));
        TestStore store;
        const std::unique_ptr<StudySubWindow> window = windowFor(design.kind, store.get());
        ModalBoxAnswerer boxes;
        ASSERT_TRUE(window->loadDesign(design));
        ASSERT_TRUE(window->validate());
        ryn::ThreadRunner runner;
        ASSERT_TRUE(runToEnd(*window, runner));
        EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.seen.join(", ").toStdString();

        const CalcResult text = runCalc({"--power", examplePath(info.name)});
        ASSERT_EQ(text.status, 0) << text.err.toStdString();
        EXPECT_TRUE(text.err.isEmpty());
        EXPECT_EQ(text.out, reportOf(*window));

        const PrecisionTable table = window->precisionTable();
        const QList<QStringList> rows = calculatedCsv(info.name);
        ASSERT_EQ(rows.size(), table.pointCount() + 1);
        // The last column names the quantities known exactly: none here.
        ASSERT_EQ(rows[0].size(), 2 + 5 * table.names.size());
        EXPECT_EQ(rows[0].last(), "known");
        for (int i = 0; i < table.pointCount(); ++i) {
            const QStringList& row = rows[i + 1];
            EXPECT_EQ(row[0], table.xName.isEmpty() ? QString() : QString::number(table.x[i]));
            for (int q = 0; q < table.names.size(); ++q) {
                EXPECT_EQ(rows[0][1 + 5 * q], table.names[q] + " estimate");
                EXPECT_EQ(row[1 + 5 * q].toDouble(), table.estimates(i, q));
                EXPECT_EQ(row[2 + 5 * q].toDouble(), table.variances(i, q));
            }
        }
    }
}

// At the point of each example that is a certified design: the variances,
// standard errors and half-widths of tests/data, each variance written with
// its standard error and 1.645 and 1.96 standard errors beside it.
TEST(WindowAndCalculator, ExamplesGiveTheCertifiedPrecisionAtTheirCertifiedPoint)
{
    struct Certified
    {
        QString design;
        QString id;
        int row;
        QList<double> variances;
    };
    const auto variances = [](const QString& id) {
        const std::vector<double> v =
            toDoubles(referenceCase(id)["expected"].toObject()["variances"]);
        return QList<double>(v.begin(), v.end());
    };
    const auto single = [](const QString& id, const QString& key) {
        return QList<double>{referenceCase(id)["expected"].toObject()[key].toDouble()};
    };
    const QList<Certified> cases = {
        // R0 = 1000 + 100 · 20.
        {"single", "single_three_reaches_removals", 20, variances("single_three_reaches_removals")},
        {"paired", "paired_one_downstream_reach_unequal_releases", 0,
         variances("paired_one_downstream_reach_unequal_releases")},
        // Rc = Rt = 100 + 10 · 40.
        {"tirr", "transport_theta_given", 40, single("transport_theta_given", "var_T")},
        {"btps", "balloon_tag_st_given", 0, single("balloon_tag_st_given", "var_T")},
        {"vwp", "virtual_paired_basic", 0, single("virtual_paired_basic", "var_Sdam")},
    };
    // The text report: se = sqrt(0.002655), 1.645 se and 1.96 se, aligned.
    EXPECT_TRUE(runCalc({examplePath("btps")})
                    .out.endsWith("Results:\n\n"
                                  "                       T\n"
                                  "  ----------  ----------\n"
                                  "  se          0.05152669\n"
                                  "  1/2 90% CI  0.08476141\n"
                                  "  1/2 95% CI  0.10099232\n"));
    for (const Certified& certified : cases) {
        SCOPED_TRACE(certified.design.toStdString());
        const double tolerance = referenceCase(certified.id)["relative_tolerance"].toDouble();
        const QList<QStringList> rows = calculatedCsv(certified.design);
        ASSERT_GT(rows.size(), certified.row + 1);
        const QStringList& row = rows[certified.row + 1];
        ASSERT_EQ(row.size(), 2 + 5 * certified.variances.size());
        EXPECT_EQ(row.last(), QString());
        for (int q = 0; q < certified.variances.size(); ++q) {
            const double variance = certified.variances[q];
            const double se = std::sqrt(variance);
            EXPECT_REL_NEAR(row[2 + 5 * q].toDouble(), variance, tolerance) << q;
            EXPECT_REL_NEAR(row[3 + 5 * q].toDouble(), se, tolerance) << q;
            EXPECT_REL_NEAR(row[4 + 5 * q].toDouble(), 1.645 * se, tolerance) << q;
            EXPECT_REL_NEAR(row[5 + 5 * q].toDouble(), 1.96 * se, tolerance) << q;
        }
    }
}
