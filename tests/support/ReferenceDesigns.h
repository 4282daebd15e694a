#pragma once

// Helpers for tests that run the reference designs of reference_cases.json
// through the engine (they link quorvel_engine themselves).

#include "engine/likelihoods/CovarianceCalculator.h"
#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"
#include "engine/likelihoods/SingleReleaseLikelihoodFunc.h"

#include "ReferenceCases.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace quorvel::test {

// The single-release likelihood of a reference design's inputs, loaded with
// its case; parameters receives the true parameter vector.
inline std::unique_ptr<SingleReleaseLikelihoodFunc>
singleReleaseFrom(const QJsonObject& in, std::vector<double>& parameters)
{
    auto f = std::make_unique<SingleReleaseLikelihoodFunc>(toInts(in.value("survival_labels")),
                                                           toInts(in.value("detection_labels")));
    f->setCase(toDoubles(in.value("removals")), parameters, toInts(in.value("release_sizes")),
               toDoubles(in.value("survival_values")), toDoubles(in.value("detection_values")),
               in.value("lambda").toDouble());
    return f;
}

inline std::unique_ptr<PairedReleaseLikelihoodFunc>
pairedReleaseFrom(const QJsonObject& in, std::vector<double>& parameters)
{
    auto f = std::make_unique<PairedReleaseLikelihoodFunc>(toInts(in.value("survival_labels")),
                                                           toInts(in.value("detection_labels")));
    f->setCase(in.value("St").toDouble(), in.value("Sc").toDouble(),
               toDoubles(in.value("removals")), parameters, in.value("Rc").toInt(),
               in.value("Rt").toInt(), toDoubles(in.value("survival_values")),
               toDoubles(in.value("detection_values")), in.value("lambda").toDouble());
    return f;
}

// The expected covariance as the study runs compute it (step 1e-5).
inline Matrix covarianceOf(const ryn::LikelihoodFunc& f, const std::vector<double>& parameters)
{
    const int n = static_cast<int>(parameters.size());
    Matrix covariance(n, n);
    CovarianceCalculator(nullptr, 1e-5).computeCovariance(f, parameters, covariance);
    return covariance;
}

// Compares actual(order[a], order[b]) with expected[a][b]: variances
// relatively, covariances relative to the standard errors involved, so that
// covariances that vanish in theory are checked too.
inline void expectCovarianceNear(const Matrix& actual, const std::vector<int>& order,
                                 const QJsonArray& expected, double tolerance)
{
    ASSERT_EQ(expected.size(), static_cast<int>(order.size()));
    for (int a = 0; a < expected.size(); ++a) {
        const std::vector<double> row = toDoubles(expected[a]);
        EXPECT_TRUE(relNear(actual(order[a], order[a]), row[a], tolerance)) << "variance " << a;
        for (int b = 0; b < a; ++b) {
            const double scale = std::sqrt(row[a] * toDoubles(expected[b])[b]);
            EXPECT_NEAR(actual(order[a], order[b]), row[b], tolerance * scale) << a << ", " << b;
        }
    }
}

} // namespace quorvel::test
