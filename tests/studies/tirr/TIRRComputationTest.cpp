#include "studies/tirr/TIRRComputation.h"

#include "RecordingMonitor.h"
#include "ReferenceCases.h"
#include "Tolerance.h"
#include "forms/core/TIRRInputs.h"
#include "studies/tirr/TIRRParameters.h"

#include <gtest/gtest.h>

using quorvel::test::RecordingMonitor;
using quorvel::test::referenceCase;

TEST(TIRRComputation, CertifiedCaseWithThetaGiven)
{
    const QJsonObject certified = referenceCase("transport_theta_given");
    const QJsonObject in = certified.value("inputs").toObject();
    StudyInputs inputs = TIRRInputs::blankInputs();
    inputs.switches[TIRRInputs::useTheta] = true;
    TIRRInputs::applySwitches(inputs);
    inputs.field("Rc").text = QString::number(in.value("Rc").toInt());
    inputs.field("Rt").text = QString::number(in.value("Rt").toInt());
    inputs.field("Sc*P").text = QString::number(in.value("theta").toDouble());
    inputs.field("T").text = QString::number(in.value("T").toDouble());

    RecordingMonitor monitor;
    const TIRRParameters record = takeTIRRRecord(inputs);
    const TIRRResults results = computeTIRR(record, monitor);
    ASSERT_EQ(results.pointCount(), 1);
    EXPECT_TRUE(record.sc.isEmpty());
    EXPECT_REL_NEAR(results.variances[0],
                    certified.value("expected").toObject().value("var_T").toDouble(),
                    certified.value("relative_tolerance").toDouble());
    EXPECT_EQ(monitor.steps, (QList<int>{0, 1}));

    // Unequal groups, by hand: 0.64·[0.6/(500·0.4) + 0.5/(0.5·1000)] = 0.64·0.004;
    // with the groups swapped 0.64·[0.6/(1000·0.4) + 0.5/(0.5·500)] = 0.64·0.0035.
    inputs.field("Rc").text = "1000";
    inputs.field("Rt").text = "500";
    EXPECT_REL_NEAR(computeTIRR(takeTIRRRecord(inputs), monitor).variances[0], 0.00256, 1e-12);
    inputs.field("Rc").text = "500";
    inputs.field("Rt").text = "1000";
    EXPECT_REL_NEAR(computeTIRR(takeTIRRRecord(inputs), monitor).variances[0], 0.00224, 1e-12);
}

TEST(TIRRComputation, LinkedReleasesAndThetaFromScAndPAtEveryPoint)
{
    StudyInputs inputs = TIRRInputs::blankInputs();
    inputs.switches[TIRRInputs::linkReleases] = true;
    TIRRInputs::applySwitches(inputs);
    for (const auto& [key, text] :
         {std::pair{"Rc", "100:1000"}, {"Rt", "7"}, {"Sc", "0.8"}, {"P", "0.5"}, {"T", "0.8"}})
        inputs.field(key).text = text;
    inputs.setRangeHolder("Rc");

    const TIRRParameters record = takeTIRRRecord(inputs);
    ASSERT_EQ(record.pointCount(), 90);
    EXPECT_EQ(record.rangeName, "Rc-Rt");
    EXPECT_EQ(record.rt, record.rc);
    EXPECT_EQ(record.rc.last(), 1000);
    EXPECT_DOUBLE_EQ(record.theta[5], 0.4);

    RecordingMonitor cancelled;
    cancelled.cancelAfterStep = 0;
    EXPECT_EQ(computeTIRR(record, cancelled).pointCount(), 1);
    EXPECT_EQ(cancelled.errors, QStringList{"Cancelled!"});
}
