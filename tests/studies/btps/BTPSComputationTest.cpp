#include "studies/btps/BTPSComputation.h"

#include "RecordingMonitor.h"
#include "ReferenceCases.h"
#include "Tolerance.h"
#include "forms/core/BTPSInputs.h"
#include "studies/btps/BTPSParameters.h"

#include <gtest/gtest.h>

#include <cmath>

using quorvel::test::RecordingMonitor;
using quorvel::test::referenceCase;

namespace {

// The certified balloon-tag case as the form's inputs, St given.
StudyInputs certifiedInputs()
{
    const QJsonObject in = referenceCase("balloon_tag_st_given").value("inputs").toObject();
    StudyInputs inputs = BTPSInputs::blankInputs();
    for (const char* key : {"Rc", "Rt", "Sc", "St", "Pa", "Pd"})
        inputs.field(key).text = QString::number(in.value(QLatin1String(key)).toDouble(), 'g', 17);
    return inputs;
}

} // namespace

TEST(BTPSComputation, CertifiedCaseAndHowTheVarianceMovesWithTheCaptureProbabilities)
{
    const QJsonObject certified = referenceCase("balloon_tag_st_given");
    const QJsonObject expected = certified.value("expected").toObject();
    const double tolerance = certified.value("relative_tolerance").toDouble();

    RecordingMonitor monitor;
    BTPSParameters record = takeBTPSRecord(certifiedInputs());
    const BTPSResults results = computeBTPS(record, monitor);
    ASSERT_EQ(results.pointCount(), 1);
    EXPECT_REL_NEAR(record.t[0], expected.value("T").toDouble(), tolerance);
    EXPECT_REL_NEAR(results.variances[0], expected.value("var_T").toDouble(), tolerance);
    const PrecisionTable table = results.precisionTable(record);
    EXPECT_EQ(table.names, QStringList{"T"});
    EXPECT_TRUE(table.xName.isEmpty());
    EXPECT_REL_NEAR(halfWidth95(std::sqrt(table.variances(0, 0))),
                    expected.value("half_width_95").toDouble(), tolerance);

    // Unequal groups, by hand: var(T) = T/(Sc·Pa)·[T(1 − Pa·Sc)/Rc +
    // (1 − T·Sc·Pa)/Rt] (the certified 0.002655 is 2.25·0.00118), here
    // 2.25·[0.54/1000 + 0.64/2000] = 2.25·0.00086; with the groups swapped
    // 2.25·0.00091.
    StudyInputs unequal = certifiedInputs();
    unequal.field("Rc").text = "1000";
    unequal.field("Rt").text = "2000";
    EXPECT_REL_NEAR(computeBTPS(takeBTPSRecord(unequal), monitor).variances[0], 0.001935, 1e-12);
    unequal.field("Rc").text = "2000";
    unequal.field("Rt").text = "1000";
    EXPECT_REL_NEAR(computeBTPS(takeBTPSRecord(unequal), monitor).variances[0], 0.0020475, 1e-12);

    // More fish recaptured alive, a smaller variance; the dead ones change
    // nothing.
    double previous = results.variances[0];
    for (double pa : {0.6, 0.8, 1.0}) {
        record.pa[0] = pa;
        const double variance = computeBTPS(record, monitor).variances[0];
        EXPECT_LT(variance, previous) << "Pa " << pa;
        previous = variance;
    }
    record.pd[0] = 0.95;
    EXPECT_EQ(computeBTPS(record, monitor).variances[0], previous);
}

TEST(BTPSComputation, FollowsTheRunProtocolAndStopsBetweenPointsWhenCancelled)
{
    StudyInputs inputs = certifiedInputs();
    inputs.field("Rc").text = "100:200";
    inputs.setRangeHolder("Rc");
    const BTPSParameters record = takeBTPSRecord(inputs);
    ASSERT_EQ(record.pointCount(), 100);

    RecordingMonitor complete;
    EXPECT_EQ(computeBTPS(record, complete).pointCount(), 100);
    EXPECT_EQ(complete.total, 100);
    EXPECT_EQ(complete.steps.first(), 0);
    EXPECT_EQ(complete.steps.last(), 100);
    EXPECT_TRUE(complete.errors.isEmpty());

    RecordingMonitor cancelled;
    cancelled.cancelAfterStep = 2;
    EXPECT_EQ(computeBTPS(record, cancelled).pointCount(), 3);
    EXPECT_EQ(cancelled.errors, QStringList{"Cancelled!"});
    EXPECT_EQ(cancelled.steps.last(), 2);
}
