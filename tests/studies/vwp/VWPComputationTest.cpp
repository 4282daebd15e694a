#include "studies/vwp/VWPComputation.h"

#include "RecordingMonitor.h"
#include "ReferenceCases.h"
#include "Tolerance.h"
#include "forms/core/VWPInputs.h"
#include "studies/vwp/VWPParameters.h"

#include <gtest/gtest.h>

using quorvel::test::RecordingMonitor;
using quorvel::test::referenceCase;

namespace {

// One point of the certified virtual paired-release case.
VWPParameters certifiedRecord()
{
    const QJsonObject in = referenceCase("virtual_paired_basic").value("inputs").toObject();
    VWPParameters record;
    record.x = {0.0};
    record.sDam = {in.value("Sdam").toDouble()};
    record.sPrime11 = {in.value("Sprime11").toDouble()};
    record.s12 = {in.value("S12").toDouble()};
    record.p1 = {in.value("P1").toDouble()};
    record.p2 = {in.value("P2").toDouble()};
    record.lambda = {in.value("Lambda").toDouble()};
    record.v1 = {in.value("V1").toInt()};
    record.r2 = {in.value("R2").toInt()};
    record.r3 = {in.value("R3").toInt()};
    return record;
}

} // namespace

// The exact information agrees with the closed forms behind the certified
// values to rounding, far inside the tolerance the enumerated likelihood needs.
TEST(VWPComputation, CertifiedCaseOnTheExactPath)
{
    const QJsonObject expected = referenceCase("virtual_paired_basic").value("expected").toObject();
    const VWPParameters record = certifiedRecord();
    const VWPSurvivals survivals = vwpSurvivals(record, 0);
    EXPECT_REL_NEAR(survivals.s1, expected.value("S1").toDouble(), 1e-12);
    EXPECT_REL_NEAR(survivals.s2, expected.value("S2").toDouble(), 1e-12);
    EXPECT_REL_NEAR(survivals.s3, expected.value("S3").toDouble(), 1e-12);

    const VWPPointResult point = computeVWPPoint(record, 0);
    EXPECT_REL_NEAR(point.varS1, expected.value("var_S1").toDouble(), 1e-9);
    EXPECT_REL_NEAR(point.varS2, expected.value("var_S2").toDouble(), 1e-9);
    EXPECT_REL_NEAR(point.varS3, expected.value("var_S3").toDouble(), 1e-9);
    EXPECT_REL_NEAR(point.varSdam, expected.value("var_Sdam").toDouble(), 1e-9);
    EXPECT_REL_NEAR(point.seSdam, expected.value("se_Sdam").toDouble(), 1e-9);

    // Each release's variance follows its own release size: with one reach,
    // Var(Ŝ) = S(1 − S)/R + S(1 − P)(1 − λ)/(R·P·λ) ∝ 1/R, so 700 fish in R3
    // and 1000 in R2 leave Var(Ŝ2) as certified and scale Var(Ŝ3).
    VWPParameters fewerR3 = record;
    fewerR3.r3 = {700};
    const VWPPointResult unequal = computeVWPPoint(fewerR3, 0);
    const double s3 = expected.value("S3").toDouble(), p2 = record.p2[0], lambda = record.lambda[0];
    EXPECT_REL_NEAR(unequal.varS3,
                    s3 * (1 - s3) / 700 + s3 * (1 - p2) * (1 - lambda) / (700 * p2 * lambda), 1e-9);
    EXPECT_REL_NEAR(unequal.varS3, expected.value("var_S3").toDouble() * 1000 / 700, 1e-9);
    EXPECT_REL_NEAR(unequal.varS2, expected.value("var_S2").toDouble(), 1e-9);

    VWPParameters other = record;
    for (double sDam : {0.3, 0.77, 1.0}) {
        other.sDam[0] = sDam;
        const VWPSurvivals s = vwpSurvivals(other, 0);
        EXPECT_REL_NEAR(s.s1 * s.s3 / s.s2, sDam, 1e-15);
    }
}

TEST(VWPComputation, NineChecksInTheirOrderRefuseZeroAndAcceptOne)
{
    const QStringList messages = {
        "V1 must be at least 1",   "R2 must be at least 1",       "R3 must be at least 1",
        "SDam must lie in (0, 1]", "SPrime11 must lie in (0, 1]", "S12 must lie in (0, 1]",
        "P1 must lie in (0, 1]",   "P2 must lie in (0, 1]",       "Lambda must lie in (0, 1]"};
    // Breaking the inputs from the last to the first, the message is always
    // that of the earliest broken one.
    VWPParameters record = certifiedRecord();
    for (int k = messages.size() - 1; k >= 0; --k) {
        switch (k) {
        case 0:
            record.v1[0] = 0;
            break;
        case 1:
            record.r2[0] = 0;
            break;
        case 2:
            record.r3[0] = -4;
            break;
        case 3:
            record.sDam[0] = 0;
            break;
        case 4:
            record.sPrime11[0] = 1.5;
            break;
        case 5:
            record.s12[0] = 0;
            break;
        case 6:
            record.p1[0] = 0;
            break;
        case 7:
            record.p2[0] = -1;
            break;
        case 8:
            record.lambda[0] = 1.0000001;
            break;
        }
        EXPECT_EQ(vwpInputError(record, 0), "Invalid input: " + messages[k]);
    }
    VWPParameters ones = certifiedRecord();
    ones.sDam[0] = ones.sPrime11[0] = ones.p1[0] = 1.0;
    EXPECT_TRUE(vwpInputError(ones, 0).isEmpty());
}

TEST(VWPComputation, AnInvalidPointEndsTheRunAndTheCancelFlagIsNotPolled)
{
    VWPParameters record = certifiedRecord();
    for (auto* values : {&record.x, &record.sDam, &record.sPrime11, &record.s12, &record.p1,
                         &record.p2, &record.lambda})
        values->append(values->first());
    record.v1 << 3000;
    record.r2 << 0;
    record.r3 << 1000;

    RecordingMonitor monitor;
    monitor.canceled = true;
    EXPECT_EQ(computeVWP(record, monitor).pointCount(), 1);
    EXPECT_EQ(monitor.errors, QStringList{"Invalid input: R2 must be at least 1"});
    EXPECT_TRUE(monitor.canceled);

    record.r2[1] = 1000;
    RecordingMonitor untouched;
    untouched.canceled = true;
    EXPECT_EQ(computeVWP(record, untouched).pointCount(), 2);
    EXPECT_TRUE(untouched.errors.isEmpty());
    EXPECT_EQ(untouched.steps, (QList<int>{0, 1, 2}));

    // Detection and Lambda both 1 pass the checks and give their limit.
    record.p2[1] = 1.0;
    record.lambda[1] = 1.0;
    RecordingMonitor limit;
    EXPECT_EQ(computeVWP(record, limit).pointCount(), 2);
    EXPECT_TRUE(limit.errors.isEmpty());
}

TEST(VWPComputation, LinkedReleasesFollowV1OrR2AtEveryPoint)
{
    StudyInputs inputs = VWPInputs::blankInputs();
    for (const auto& [key, text] : {std::pair{"V1", "100:1000"},
                                    {"R2", "7"},
                                    {"R3", "9"},
                                    {"SDam", "0.9"},
                                    {"SPrime11", "0.95"},
                                    {"S12", "0.9"},
                                    {"P1", "0.7"},
                                    {"P2", "0.6"},
                                    {"Lambda", "0.5"}})
        inputs.field(key).text = text;
    inputs.setRangeHolder("V1");
    inputs.switches[VWPInputs::linkAllReleases] = true;
    VWPInputs::applySwitches(inputs);
    const VWPParameters all = takeVWPRecord(inputs);
    ASSERT_EQ(all.pointCount(), 90);
    EXPECT_EQ(all.r2, all.v1);
    EXPECT_EQ(all.r3, all.v1);
    EXPECT_EQ(all.rangeName, "V1-R2-R3");

    inputs.switches[VWPInputs::linkAllReleases] = false;
    inputs.switches[VWPInputs::linkReleases] = true;
    VWPInputs::applySwitches(inputs);
    const VWPParameters r2r3 = takeVWPRecord(inputs);
    EXPECT_EQ(r2r3.r3, QVector<int>(90, 7));
    EXPECT_EQ(r2r3.r2, r2r3.r3);
}

// At a detection or lambda of 1 the three releases' variances are their
// limits towards 1 (before, P2 = 1 doubled SE(Sdam) and P2 = lambda = 1 failed);
// with one reach every fish alive at the site seen and lambda 1, a release's
// survival is a binomial proportion, var = S (1 - S) / R.
TEST(VWPComputation, PrecisionAtOneIsTheLimitTowardsOne)
{
    const VWPParameters record = certifiedRecord();
    for (const auto& [p2, lambda] :
         {std::pair{1.0, 0.5}, std::pair{1.0, 1.0}, std::pair{0.6, 1.0}}) {
        SCOPED_TRACE(::testing::Message() << "P2 = " << p2 << ", lambda = " << lambda);
        VWPParameters atOne = record;
        atOne.p2 = {p2};
        atOne.lambda = {lambda};
        VWPParameters below = atOne;
        below.p2 = {p2 == 1.0 ? 1.0 - 1e-7 : p2};
        below.lambda = {lambda == 1.0 ? 1.0 - 1e-7 : lambda};
        RecordingMonitor monitor;
        const VWPResults results = computeVWP(atOne, monitor);
        ASSERT_EQ(results.pointCount(), 1) << monitor.errors.join(' ').toStdString();
        const VWPPointResult& limit = results.points[0];
        const VWPPointResult near = computeVWPPoint(below, 0);
        EXPECT_REL_NEAR(limit.varS1, near.varS1, 0.01);
        EXPECT_REL_NEAR(limit.varS2, near.varS2, 0.01);
        EXPECT_REL_NEAR(limit.varS3, near.varS3, 0.01);
        EXPECT_REL_NEAR(limit.varSdam, near.varSdam, 0.01);
        EXPECT_FALSE(limit.knownS1 || limit.knownS2 || limit.knownS3);
        if (p2 == 1.0 && lambda == 1.0) {
            const VWPSurvivals s = vwpSurvivals(atOne, 0);
            EXPECT_REL_NEAR(limit.varS2, s.s2 * (1 - s.s2) / atOne.r2[0], 1e-12);
            EXPECT_REL_NEAR(limit.varS3, s.s3 * (1 - s.s3) / atOne.r3[0], 1e-12);
        }
    }

    // Every fish below the dam survives and is seen: S2 and S3 are known, and
    // Sdam rests on S1 alone.
    VWPParameters certain = record;
    certain.sPrime11 = {1.0};
    certain.s12 = {1.0};
    certain.p2 = {1.0};
    certain.lambda = {1.0};
    RecordingMonitor monitor;
    const VWPResults results = computeVWP(certain, monitor);
    ASSERT_EQ(results.pointCount(), 1) << monitor.errors.join(' ').toStdString();
    const VWPPointResult& point = results.points[0];
    EXPECT_TRUE(point.knownS2 && point.knownS3 && !point.knownS1);
    EXPECT_EQ(point.varS2, 0.0);
    EXPECT_EQ(point.varS3, 0.0);
    EXPECT_REL_NEAR(point.varSdam, point.varS1, 1e-12);
}
