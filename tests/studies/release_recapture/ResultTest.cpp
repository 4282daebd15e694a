#include "studies/release_recapture/Result.h"

#include "ReferenceCases.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

using namespace quorvel::test;

namespace {

Result resultOf(const QJsonObject& inputs)
{
    const std::vector<double> estimates = toDoubles(inputs.value("estimates"));
    const QJsonArray rows = inputs.value("covariance").toArray();
    const int k = static_cast<int>(estimates.size());
    Matrix covariance(k, k);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            covariance(i, j) = toDoubles(rows[i])[j];
    return Result(estimates, covariance, {100});
}

} // namespace

TEST(Result, ProductVarianceOfDistinctParameters)
{
    // 0.8²·0.001 + 0.9²·0.002 + 2·0.0005·0.9·0.8 = 0.00298
    const QJsonObject reference = referenceCase("product_variance_two_survivals");
    const QJsonObject in = reference.value("inputs").toObject();
    const QJsonObject out = reference.value("expected").toObject();
    const double tolerance = reference.value("relative_tolerance").toDouble();
    const Result result = resultOf(in);
    const std::vector<int> indices = toInts(in.value("indices"));
    EXPECT_REL_NEAR(result.product(indices), out.value("product").toDouble(), tolerance);
    EXPECT_REL_NEAR(result.productVariance(indices), out.value("product_variance").toDouble(),
                    tolerance);
    EXPECT_REL_NEAR(result.productVariance(indices), 0.00298, 1e-12);

    EXPECT_EQ(result.product({}), 1.0);
    EXPECT_EQ(result.productVariance({}), 0.0);
    EXPECT_REL_NEAR(result.productVariance({1}), 0.002, 1e-15);
    EXPECT_THROW(result.productVariance({0, 2}), std::invalid_argument);
    EXPECT_THROW(result.product({0, 2}), std::invalid_argument);
}

TEST(Result, ProductVarianceCountsRepeatedIndices)
{
    // Reaches 1 and 2 share S1: the product is S1²·S2, and
    // g = (2·S1·S2, S1²) = (1.44, 0.81) gives
    // 1.44²·0.001 + 0.81²·0.002 + 2·1.44·0.81·0.0005 = 0.0045522.
    const QJsonObject reference = referenceCase("total_survival_shared_reach");
    const QJsonObject in = reference.value("inputs").toObject();
    const QJsonObject out = reference.value("expected").toObject();
    const double tolerance = reference.value("relative_tolerance").toDouble();
    const Result result = resultOf(in);
    const std::vector<int> reaches = toInts(in.value("reach_indices"));
    EXPECT_REL_NEAR(result.product(reaches), out.value("total_survival").toDouble(), tolerance);
    EXPECT_REL_NEAR(result.productVariance(reaches),
                    out.value("total_survival_variance").toDouble(), tolerance);
    EXPECT_REL_NEAR(result.productVariance(reaches), 0.0045522, 1e-12);

    // A zero estimate: no division, so no NaN. For S1·S2 with S1 = 0 only
    // the derivative by S1, S2 = 0.8, remains; S1²·S2 has zero gradient.
    Matrix covariance(2, 2);
    covariance(0, 0) = 0.001;
    covariance(1, 1) = 0.002;
    const Result zero({0.0, 0.8}, covariance, {100});
    EXPECT_REL_NEAR(zero.productVariance({0, 1}), 0.8 * 0.8 * 0.001, 1e-15);
    EXPECT_EQ(zero.productVariance({0, 0, 1}), 0.0);
}

TEST(Result, OnlyPositiveFiniteVariancesAreShown)
{
    Matrix covariance(3, 3);
    for (int i = 0; i < 3; ++i)
        covariance(i, i) = 1e-300;
    covariance(0, 2) = covariance(2, 0) = -0.5;
    EXPECT_TRUE(hasPositiveFiniteVariances(covariance));
    for (double bad : {0.0, -2.2e-19, std::nan(""), HUGE_VAL}) {
        Matrix faulty = covariance;
        faulty(1, 1) = bad;
        EXPECT_FALSE(hasPositiveFiniteVariances(faulty)) << bad;
    }
}
