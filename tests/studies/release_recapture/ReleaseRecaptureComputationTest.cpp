#include "studies/release_recapture/ReleaseRecaptureComputation.h"
#include "studies/release_recapture/ReleaseRecaptureColumns.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/SingleReleaseInputs.h"

#include "RecordingMonitor.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace ReleaseRecaptureInputs;
using quorvel::test::RecordingMonitor;

namespace {

// Four reaches (three panels): reach 3 shares reach 1's survival through
// reach 2, and reach 2's capture.
StudyInputs sharedSingle()
{
    StudyInputs inputs = SingleReleaseInputs::blankInputs(4);
    const QStringList texts = {"1000", "0.9", "0.6", "0.1", "0",   "8", "0.7",
                               "0.2",  "50",  "7",   "8",   "0.3", "0", "0.5"};
    for (int f = 0; f < inputs.fields().size(); ++f)
        inputs.field(inputs.fields()[f].key).text = texts[f];
    inputs.choices[survivalOwner] = {0, 0, 1};
    inputs.choices[captureOwner] = {0, 1, 1};
    SingleReleaseInputs::applySwitches(inputs);
    return inputs;
}

// Ten points over a range of R0 whose fourth has no survival in reach 1.
SingleReleaseRecord singularAtPointThree()
{
    SingleReleaseRecord record;
    record.survivalLabels = {0, 1};
    record.detectionLabels = {0, 1};
    for (int i = 0; i < 10; ++i) {
        record.x.append(1000 + 100 * i);
        record.points.push_back(
            {{0.0, 0.0}, {1000 + 100 * i, 0, 0}, {i == 3 ? 0.0 : 0.8, 0.9}, {0.7, 0.6}, 0.5});
    }
    return record;
}

} // namespace

TEST(ReleaseRecaptureColumns, FieldNamesMapToTheResultColumnsTheyFill)
{
    using namespace ReleaseRecaptureColumns;
    EXPECT_EQ(singleRelease("R0"), QStringList{"R0"});
    EXPECT_EQ(singleRelease("S12"), QStringList{"S12"});
    EXPECT_EQ(singleRelease("P3"), QStringList{"P3"});
    EXPECT_EQ(singleRelease("Lambda"), QStringList{"Final"});
    EXPECT_TRUE(singleRelease("D2").isEmpty());

    EXPECT_EQ(pairedRelease("S2"), (QStringList{"Sc2", "St2"}));
    EXPECT_EQ(pairedRelease("P1"), (QStringList{"Pc1", "Pt1"}));
    EXPECT_EQ(pairedRelease("Lambda"), (QStringList{"FinalC", "FinalT"}));
    EXPECT_EQ(pairedRelease("Rt-Rc"), (QStringList{"Rc", "Rt"}));
    EXPECT_EQ(pairedRelease("Rt"), QStringList{"Rt"});
    EXPECT_EQ(pairedRelease("RC"), QStringList{"Rc"});
    EXPECT_EQ(pairedRelease("ST"), QStringList{"St"});
    EXPECT_EQ(pairedRelease("SC"), QStringList{"Sc"});
    EXPECT_TRUE(pairedRelease("D4").isEmpty());
}

TEST(SingleReleaseRecord, LabelsAreOwningPanelsAndSharedFieldsAreNotRead)
{
    StudyInputs inputs = sharedSingle();
    inputs.field("R0").text = "1000:2000";
    inputs.setRangeHolder("R0");
    const SingleReleaseRecord record = takeSingleReleaseRecord(inputs, {});

    EXPECT_EQ(record.survivalLabels, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(record.detectionLabels, (std::vector<int>{0, 1, 1}));
    ASSERT_EQ(record.points.size(), 100u);
    const SingleReleasePoint& last = record.points.back();
    EXPECT_EQ(last.releaseSizes, (std::vector<int>{2000, 0, 50, 0}));
    EXPECT_EQ(last.removals, (std::vector<double>{0.1, 0.2, 0.3}));
    EXPECT_EQ(last.survivalValues, std::vector<double>{0.9});
    EXPECT_EQ(last.detectionValues, (std::vector<double>{0.6, 0.7}));
    EXPECT_EQ(last.lambda, 0.5);
    EXPECT_EQ(record.rangeName, "R0");
    EXPECT_EQ(record.rangedColumns, QStringList{"R0"});
    EXPECT_EQ(record.x.back(), 2000.0);

    EXPECT_EQ(singleReleaseParameterNames(inputs), (QStringList{"S1", "P1", "P2", "Final"}));

    inputs.field("D2").text = "1";
    try {
        takeSingleReleaseRecord(inputs, {});
        ADD_FAILURE() << "a removal of 1 must not be read";
    } catch (const QString& message) {
        EXPECT_EQ(message, "Out of range value in D2: 1");
    }
}

TEST(PairedReleaseRecord, LinkedReleasesAreRtsAndDetectionLabelsFollowTheFirstSite)
{
    StudyInputs inputs = PairedReleaseInputs::blankInputs(4);
    const QStringList texts = {"400", "1.1", "9",   "0.8", "0.7",  "0.1", "0.9", "0.6",
                               "0.2", "5",   "0.5", "0",   "0.85", "6",   "0.3", "0.4"};
    for (int f = 0; f < inputs.fields().size(); ++f)
        inputs.field(inputs.fields()[f].key).text = texts[f];
    inputs.switches[PairedReleaseInputs::linkReleases] = true;
    inputs.choices[survivalOwner] = {0, 0, 2};
    inputs.choices[captureOwner] = {0, 0, 0};
    PairedReleaseInputs::applySwitches(inputs);
    const PairedReleaseRecord record = takePairedReleaseRecord(inputs, {});

    EXPECT_TRUE(record.linkReleases);
    EXPECT_EQ(record.survivalLabels, (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(record.detectionLabels, (std::vector<int>{0, 1, 1, 1}));
    ASSERT_EQ(record.points.size(), 1u);
    const PairedReleasePoint& point = record.points[0];
    EXPECT_EQ(point.controlRelease, 400);
    EXPECT_EQ(point.treatmentRelease, 400);
    EXPECT_EQ(point.st, 1.1);
    EXPECT_EQ(point.sc, 0.8);
    EXPECT_EQ(point.removals, (std::vector<double>{0.1, 0.2, 0.0, 0.3}));
    EXPECT_EQ(point.survivalValues, (std::vector<double>{0.9, 0.85}));
    EXPECT_EQ(point.detectionValues, (std::vector<double>{0.7, 0.6}));
    EXPECT_EQ(point.lambda, 0.4);
    EXPECT_FALSE(record.hasRange());

    EXPECT_EQ(pairedReleaseParameterNames(inputs),
              (QStringList{"Sc", "St", "Sc2", "St2", "Sc4", "St4", "Pc1", "Pt1", "Pc2", "Pt2",
                           "FinalC", "FinalT"}));
}

TEST(ReleaseRecaptureComputation, SingularPointEndsTheRunWithTheEarlierPointsKept)
{
    RecordingMonitor monitor;
    const auto results = computeSingleRelease(singularAtPointThree(), monitor);
    EXPECT_EQ(monitor.total, 10);
    EXPECT_EQ(monitor.steps, (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(monitor.errors, QStringList{"Singular hessian: step = 3"});
    EXPECT_TRUE(monitor.canceled);
    ASSERT_TRUE(results);
    EXPECT_EQ(results->count(), 3);
    EXPECT_EQ(results->result(2).releaseSizes()[0], 1200);
}

TEST(ReleaseRecaptureComputation, CancelIsSeenBetweenPointsAndNothingIsStoredUnderTheOwnFlag)
{
    SingleReleaseRecord record = singularAtPointThree();
    record.points[3].survivalValues[0] = 0.8;
    RecordingMonitor monitor;
    monitor.cancelAfterStep = 1;
    EXPECT_EQ(computeSingleRelease(record, monitor)->count(), 2);
    EXPECT_EQ(monitor.errors, QStringList{"Cancelled!"});
    EXPECT_EQ(monitor.steps, (QList<int>{0, 1}));
    EXPECT_FALSE(monitor.canceled);

    RecordingMonitor uninterrupted;
    const std::atomic<bool> ownFlag{true};
    EXPECT_EQ(computeSingleRelease(record, uninterrupted, &ownFlag)->count(), 0);

    // Labels that do not fit: nothing can be made.
    record.detectionLabels = {0};
    RecordingMonitor failed;
    EXPECT_FALSE(computeSingleRelease(record, failed));
    EXPECT_EQ(failed.errors, QStringList{"Unknown error"});
    EXPECT_TRUE(failed.steps.isEmpty());
    EXPECT_TRUE(failed.canceled);
}

TEST(ReleaseRecapturePrecision, ReplicatesAdjustTheirColumnAndCompositeSurvivalIsListed)
{
    SingleReleaseRecord record = singularAtPointThree();
    record.points.resize(3);
    record.x = record.x.mid(0, 3);
    record.rangeName = "R0";
    record.options.totalSurvival = true;
    RecordingMonitor monitor;
    const auto results = computeSingleRelease(record, monitor);
    const PrecisionTable plain = releaseRecapturePrecisionTable(record, *results);

    record.options.replicatesEnabled = true;
    record.options.replicateCount = 4;
    record.options.naturalVariance = 0.001;
    record.options.replicateParameter = "S2";
    int column = 0;
    shownVarianceTable(record, *results, &column);
    EXPECT_EQ(column, 2);
    const PrecisionTable replicated = releaseRecapturePrecisionTable(record, *results);

    EXPECT_EQ(replicated.names, (QStringList{"S1", "S2", "P1", "P2", "Final", "CompositeS"}));
    EXPECT_EQ(replicated.xName, "R0");
    EXPECT_EQ(replicated.x, (QList<double>{1000, 1100, 1200}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_REL_NEAR(replicated.variances(i, 1), (0.001 + plain.variances(i, 1)) / 4, 1e-15);
        EXPECT_EQ(replicated.variances(i, 0), plain.variances(i, 0));
        EXPECT_REL_NEAR(replicated.estimates(i, 5), 0.8 * 0.9, 1e-15);
        EXPECT_EQ(replicated.variances(i, 5), results->totalSurvivalVariance(i));
    }
}
