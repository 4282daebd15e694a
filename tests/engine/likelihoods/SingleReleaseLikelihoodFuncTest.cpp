#include "engine/likelihoods/SingleReleaseLikelihoodFunc.h"
#include "engine/likelihoods/CovarianceCalculator.h"

#include "ReferenceDesigns.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace quorvel::test;

namespace {

// Sum of the cell probabilities of each release site, at parameters.
std::vector<double> sumsPerRelease(const SingleReleaseLikelihoodFunc& f,
                                   const std::vector<double>& parameters)
{
    std::vector<double> sums;
    int k = 0;
    for (int site = 0; site < f.chiSize(); ++site) {
        const int cells = (1 << (f.chiSize() - site)) + (1 << (f.chiSize() - site - 1)) - 1;
        double sum = 0.0;
        for (int c = 0; c < cells; ++c)
            sum += f.cell(k++).evaluate(parameters);
        sums.push_back(sum);
    }
    EXPECT_EQ(k, f.cellCount());
    return sums;
}

} // namespace

TEST(SingleReleaseLikelihood, OneReachCellsFollowTheirFormulas)
{
    SingleReleaseLikelihoodFunc f({0}, {0});
    std::vector<double> x;
    const double s = 0.8, p = 0.7, lambda = 0.6;
    f.setCase({0.0}, x, {1000, 0}, {s}, {p}, lambda);
    ASSERT_EQ(x, (std::vector<double>{s, p, lambda}));
    ASSERT_EQ(f.cellCount(), 5 + 2);

    const double chi1 = 1 - lambda;
    const double chi0 = (1 - s) + s * (1 - p) * chi1;
    const double expected[] = {chi0,  s * (1 - p) * lambda, s * p * chi1, 0.0, s * p * lambda, chi1,
                               lambda};
    for (int k = 0; k < f.cellCount(); ++k) {
        EXPECT_REL_NEAR(f.cell(k).evaluate(x), expected[k], 1e-14) << "cell " << k;
        EXPECT_REL_NEAR(f.expectedCount(k), k < 5 ? 1000 * expected[k] : 0.0, 1e-14);
    }

    // −Σ n·ln π over the cells with fish; the empty removed cell (π = 0)
    // does not make the value infinite.
    double logLikelihood = 0.0;
    for (int k = 0; k < 5; ++k)
        if (expected[k] > 0)
            logLikelihood += 1000 * expected[k] * std::log(expected[k]);
    EXPECT_REL_NEAR(f.value(x), -logLikelihood, 1e-14);
}

TEST(SingleReleaseLikelihood, ChiFollowsItsRecursionAndIsShared)
{
    SingleReleaseLikelihoodFunc f({0, 1, 2}, {0, 1, 2});
    std::vector<double> x;
    f.setCase({0.2, 0.5, 0.1}, x, {100, 50, 20, 10}, {0.85, 0.9, 0.8}, {0.6, 0.7, 0.5}, 0.55);

    // χ_3 = 1 − λ, χ_s = (1 − S_s) + S_s·(1 − P_s)·χ_{s+1}
    double chi = 1 - 0.55;
    EXPECT_REL_NEAR(f.chi(3).evaluate(x), chi, 1e-14);
    for (int s = 2; s >= 0; --s) {
        chi = (1 - x[s]) + x[s] * (1 - x[3 + s]) * chi;
        EXPECT_REL_NEAR(f.chi(s).evaluate(x), chi, 1e-14) << "site " << s;
    }

    // The add operand's last factor is χ_{s+1} itself, not a copy.
    const Expression& added = *f.chi(0).operations()[1]->operand();
    EXPECT_TRUE(added.operations().back()->operand()->sharesValueWith(f.chi(1)));
    // The never-seen cell of each release is its χ.
    EXPECT_TRUE(f.cell(0).sharesValueWith(f.chi(0)));

    // Every release's probabilities sum to 1, at any parameter values.
    for (const std::vector<double>& point :
         {x, std::vector<double>{0.3, 0.2, 0.99, 0.1, 0.45, 0.9, 0.05}}) {
        for (double sum : sumsPerRelease(f, point))
            EXPECT_REL_NEAR(sum, 1.0, 1e-14);
    }
}

TEST(SingleReleaseLikelihood, SharedLabelsShareParameters)
{
    SingleReleaseLikelihoodFunc f({0, 0}, {0, 0});
    EXPECT_EQ(f.parameterCount(), 3);
    EXPECT_EQ(f.lambdaIndex(), 2);
    std::vector<double> x;
    f.setCase({0.0, 0.0}, x, {500, 0, 0}, {0.9}, {0.6}, 0.7);
    EXPECT_EQ(x, (std::vector<double>{0.9, 0.6, 0.7}));
    EXPECT_EQ(f.cellCount(), 11 + 5 + 2);
    for (double sum : sumsPerRelease(f, x))
        EXPECT_REL_NEAR(sum, 1.0, 1e-14);

    EXPECT_THROW(f.setCase({0.0}, x, {500, 0, 0}, {0.9}, {0.6}, 0.7), std::invalid_argument);
    EXPECT_THROW(f.setCase({0.0, 0.0}, x, {500, 0}, {0.9}, {0.6}, 0.7), std::invalid_argument);
    EXPECT_THROW(f.setCase({0.0, 0.0}, x, {500, 0, 0}, {0.9, 0.8}, {0.6}, 0.7),
                 std::invalid_argument);
}

TEST(SingleReleaseLikelihood, OneReachVariancesMatchClosedForm)
{
    // One reach, N fish released at site 0, nothing removed. The cells with
    // fish seen are π₅ = SPλ (seen at both sites), π₃ = SP(1 − λ) (site 1
    // only) and π₂ = S(1 − P)λ (final site only); the rest are never seen.
    // Three free cells and three parameters, so the estimates are functions
    // of the multinomial proportions:
    //   P = π₅ / (π₅ + π₂),  λ = π₅ / (π₅ + π₃),  S = (π₅ + π₃)(π₅ + π₂) / π₅.
    // P̂ is a binomial proportion out of the N·Sλ fish seen at the final
    // site, λ̂ out of the N·SP fish seen at site 1:
    //   Var P̂ = P(1 − P) / (N S λ),  Var λ̂ = λ(1 − λ) / (N S P).
    // For S, with g the gradient of ln S in (π₅, π₃, π₂), the delta method on
    // the multinomial gives N·Var(ln Ŝ) = Σ g_i² π_i − (Σ g_i π_i)², where
    // Σ g_i π_i = 1 and Σ g_i² π_i simplifies to ((1 − λ)(1 − P) + λP)/(SPλ):
    //   Var Ŝ = S²/N · [((1 − λ)(1 − P) + λP) / (SPλ) − 1].
    const double s = 0.9, p = 0.5, lambda = 0.7, n = 500;
    SingleReleaseLikelihoodFunc f({0}, {0});
    std::vector<double> x;
    f.setCase({0.0}, x, {500, 0}, {s}, {p}, lambda);
    const Matrix covariance = covarianceOf(f, x);
    EXPECT_REL_NEAR(covariance(0, 0),
                    s * s / n * (((1 - lambda) * (1 - p) + lambda * p) / (s * p * lambda) - 1),
                    1e-4);
    EXPECT_REL_NEAR(covariance(1, 1), p * (1 - p) / (n * s * lambda), 1e-4);
    EXPECT_REL_NEAR(covariance(2, 2), lambda * (1 - lambda) / (n * s * p), 1e-4);
}

TEST(SingleReleaseLikelihood, CovarianceMatchesReferenceDesigns)
{
    const std::vector<QJsonObject> cases = referenceCases(QStringLiteral("single_release"));
    ASSERT_FALSE(cases.empty());
    for (const QJsonObject& reference : cases) {
        SCOPED_TRACE(reference.value("id").toString().toStdString());
        const QJsonObject out = reference.value("expected").toObject();
        std::vector<double> x;
        const auto f = singleReleaseFrom(reference.value("inputs").toObject(), x);
        EXPECT_EQ(f->cellCount(), out.value("cells_in_full_enumeration").toInt());
        EXPECT_EQ(x, toDoubles(out.value("estimates")));

        std::vector<int> order(x.size());
        std::iota(order.begin(), order.end(), 0);
        expectCovarianceNear(covarianceOf(*f, x), order, out.value("covariance").toArray(),
                             reference.value("relative_tolerance").toDouble());
    }
}
