#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/SingleReleaseResults.h"

#include "ReferenceDesigns.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quorvel::test;

namespace {

// Covariance with element (i, j) = 100·i + j, so that a reordering shows.
Matrix patterned(int k)
{
    Matrix m(k, k);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            m(i, j) = 100.0 * i + j;
    return m;
}

std::vector<double> indexValues(int k)
{
    std::vector<double> values;
    for (int j = 0; j < k; ++j)
        values.push_back(j);
    return values;
}

std::string mismatchMessage(const std::function<void()>& add)
{
    try {
        add();
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return "nothing thrown";
}

} // namespace

TEST(SingleReleaseResults, OneReachNamesAndCompositeColumn)
{
    const SingleReleaseLikelihoodFunc likelihood({0}, {0});
    EXPECT_EQ(SingleReleaseResults(likelihood.parameterLayout(), false).parameterNames(),
              (QStringList{"S1", "P1", "Final"}));
    EXPECT_EQ(SingleReleaseResults(likelihood.parameterLayout(), false).varianceTable({}).cols(),
              4);

    SingleReleaseResults results(likelihood.parameterLayout(), true);
    EXPECT_EQ(results.parameterNames(), (QStringList{"S1", "P1", "Final", "CompositeS"}));
    Matrix covariance = patterned(3);
    covariance(0, 0) = 0.0025;
    results.addResult({0.8, 0.7, 0.6}, covariance, {1000, 0});
    results.addResult({0.8, 0.7, 0.6}, covariance, {2000, 0});
    EXPECT_EQ(results.releaseNames(), (QStringList{"R0", "R1"}));
    const Matrix table = results.varianceTable({1000, 2000});
    ASSERT_EQ(table.rows(), 2);
    ASSERT_EQ(table.cols(), 5);
    EXPECT_EQ(table(1, 0), 2000.0);
    EXPECT_EQ(table(1, 2), 101.0);
    EXPECT_EQ(table(1, 3), 202.0);
    // With one reach the total survival is S1 itself.
    EXPECT_EQ(table(1, 4), table(1, 1));
    EXPECT_EQ(results.totalSurvival(1), 0.8);
    EXPECT_EQ(results.quantities(1), (std::vector<double>{0.8, 0.7, 0.6, 0.8}));
}

TEST(SingleReleaseResults, SharedLabelsAreNamedAfterTheirOwningReach)
{
    // Reaches 1 and 2 share the survival and detection of reach 1; reach 3
    // has its own.
    const SingleReleaseLikelihoodFunc likelihood({0, 0, 2}, {0, 0, 2});
    SingleReleaseResults results(likelihood.parameterLayout(), true);
    EXPECT_EQ(results.parameterNames(),
              (QStringList{"S1", "S3", "P1", "P3", "Final", "CompositeS"}));
    EXPECT_EQ(results.reachSurvivalIndices(), (std::vector<int>{0, 0, 1}));

    // Total survival S1²·S3, with the variance of the shared-reach reference.
    Matrix covariance(5, 5);
    covariance(0, 0) = 0.001;
    covariance(0, 1) = covariance(1, 0) = 0.0005;
    covariance(1, 1) = 0.002;
    results.addResult({0.9, 0.8, 0.6, 0.7, 0.5}, covariance, {100, 0, 0, 0});
    EXPECT_REL_NEAR(results.totalSurvival(0), 0.9 * 0.9 * 0.8, 1e-15);
    EXPECT_REL_NEAR(results.totalSurvivalVariance(0), 0.0045522, 1e-12);
    EXPECT_REL_NEAR(results.varianceTable({100})(0, 6), 0.0045522, 1e-12);
}

TEST(ReleaseRecaptureResults, NamesOfTheLargestLabelDoNotOverflow)
{
    const SingleReleaseLikelihoodFunc likelihood({INT_MAX}, {INT_MAX});
    EXPECT_EQ(SingleReleaseResults(likelihood.parameterLayout(), false).parameterNames(),
              (QStringList{"S2147483648", "P2147483648", "Final"}));
    const PairedReleaseLikelihoodFunc paired({INT_MAX}, {0, INT_MAX});
    EXPECT_EQ(PairedReleaseResults(paired.parameterLayout()).parameterNames(),
              (QStringList{"Sc", "St", "Sc2147483649", "St2147483649", "Pc1", "Pt1", "Pc2147483648",
                           "Pt2147483648", "FinalC", "FinalT"}));
}

TEST(SingleReleaseResults, AddResultRefusesMismatchedSizes)
{
    const SingleReleaseLikelihoodFunc likelihood({0, 1}, {0, 1});
    SingleReleaseResults results(likelihood.parameterLayout(), false);
    const char* expected = "SingleReleaseResults::addResult - Number of parameters doesn't match. ";
    EXPECT_EQ(mismatchMessage([&] {
                  results.addResult({1, 2, 3, 4}, patterned(5), {1});
              }),
              expected);
    EXPECT_EQ(mismatchMessage([&] { results.addResult(indexValues(5), patterned(4), {1}); }),
              expected);
    EXPECT_EQ(results.count(), 0);
    EXPECT_TRUE(results.releaseNames().isEmpty());
}

TEST(SingleReleaseResults, TotalSurvivalOfReferenceDesigns)
{
    for (const QJsonObject& reference : referenceCases(QStringLiteral("single_release"))) {
        SCOPED_TRACE(reference.value("id").toString().toStdString());
        const QJsonObject in = reference.value("inputs").toObject();
        const QJsonObject out = reference.value("expected").toObject();
        const double tolerance = reference.value("relative_tolerance").toDouble();
        std::vector<double> x;
        const auto likelihood = singleReleaseFrom(in, x);
        const Matrix covariance = covarianceOf(*likelihood, x);

        SingleReleaseResults results(likelihood->parameterLayout(), true);
        results.addResult(x, covariance, toInts(in.value("release_sizes")));
        EXPECT_EQ(results.parameterNames().mid(0, likelihood->parameterCount()),
                  QStringList(QJsonValue(out.value("parameter_names")).toVariant().toStringList()));
        EXPECT_REL_NEAR(results.totalSurvival(0), out.value("total_survival").toDouble(), 1e-12);
        EXPECT_REL_NEAR(results.totalSurvivalVariance(0),
                        out.value("total_survival_variance").toDouble(), tolerance);
    }
}

TEST(PairedReleaseResults, DisplayOrderPairsControlWithTreatment)
{
    const PairedReleaseLikelihoodFunc likelihood({0, 1}, {0, 1, 2});
    PairedReleaseResults results(likelihood.parameterLayout());
    EXPECT_EQ(results.parameterNames(),
              (QStringList{"Sc", "St", "Sc2", "St2", "Sc3", "St3", "Pc1", "Pt1", "Pc2", "Pt2",
                           "Pc3", "Pt3", "FinalC", "FinalT"}));
    ASSERT_EQ(results.parameterCount(), 14);

    // Likelihood order: Sc St | Sc2 Sc3 | St2 St3 | Pc1 Pc2 Pc3 | Pt1 Pt2 Pt3 | λc λt
    results.addResult(indexValues(14), patterned(14), 700, 300);
    const std::vector<int> expectedIndices = {0, 1, 2, 4, 3, 5, 6, 9, 7, 10, 8, 11, 12, 13};
    const std::vector<double> shown = results.estimates(0);
    const Matrix covariance = results.covariance(0);
    const Matrix table = results.varianceTable({5.0});
    ASSERT_EQ(table.cols(), 15);
    for (int a = 0; a < 14; ++a) {
        const int i = expectedIndices[a];
        EXPECT_EQ(shown[a], i);
        EXPECT_EQ(table(0, 1 + a), 101.0 * i);
        EXPECT_EQ(covariance(a, 3), 100.0 * i + 4);
    }
    EXPECT_EQ(table(0, 0), 5.0);
    EXPECT_EQ(results.result(0).releaseSizes(), (std::vector<int>{700, 300}));
    EXPECT_EQ(results.releaseNames(), (QStringList{"Rc", "Rt"}));
}

TEST(PairedReleaseResults, NamesFollowLabelsAndMismatchIsRefused)
{
    EXPECT_EQ(PairedReleaseResults(PairedReleaseLikelihoodFunc({}, {0}).parameterLayout())
                  .parameterNames(),
              (QStringList{"Sc", "St", "Pc1", "Pt1", "FinalC", "FinalT"}));

    // Panels 0 and 1 share panel 0's survival, panel 2 has its own; the
    // detection sites of panels 0 and 1 (labels 1, 1) share one.
    const PairedReleaseLikelihoodFunc shared({0, 0, 2}, {0, 1, 1, 3});
    PairedReleaseResults results(shared.parameterLayout());
    EXPECT_EQ(results.parameterNames(),
              (QStringList{"Sc", "St", "Sc2", "St2", "Sc4", "St4", "Pc1", "Pt1", "Pc2", "Pt2",
                           "Pc4", "Pt4", "FinalC", "FinalT"}));
    EXPECT_EQ(mismatchMessage([&] { results.addResult(indexValues(13), patterned(14), 1, 1); }),
              "PairedReleaseResults::addResult - Number of parameters doesn't match. ");
    EXPECT_EQ(results.count(), 0);
}
