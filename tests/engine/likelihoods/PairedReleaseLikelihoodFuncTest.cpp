#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"
#include "engine/likelihoods/CovarianceCalculator.h"

#include "ReferenceDesigns.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel::test;

TEST(PairedReleaseLikelihood, NoDownstreamReachGivesSixParametersAndSevenCellsPerGroup)
{
    PairedReleaseLikelihoodFunc f({}, {0});
    EXPECT_EQ(f.parameterCount(), 6);
    EXPECT_EQ(f.chiSize(), 2);
    std::vector<double> x;
    const double sc = 0.9, st = 0.8, p = 0.7, lambda = 0.6;
    f.setCase(st, sc, {0.0}, x, 1000, 400, {}, {p}, lambda);
    // Sc, St, P control, P treatment, lambda control, lambda treatment.
    EXPECT_EQ(x, (std::vector<double>{sc, st, p, p, lambda, lambda}));
    ASSERT_EQ(f.cellCount(), 14);

    // Each group: 5 cells of site 0, then 2 empty cells of site 1. The
    // treatment's first reach is survived with Sc·St.
    for (int k : {5, 6, 12, 13})
        EXPECT_EQ(f.expectedCount(k), 0.0);
    EXPECT_REL_NEAR(f.expectedCount(4), 1000 * sc * p * lambda, 1e-14);
    EXPECT_REL_NEAR(f.expectedCount(7 + 4), 400 * sc * st * p * lambda, 1e-14);

    // A treatment fish never seen again: χ₀ = (1 − Sc·St) + Sc·St·(1 − P)·χ₁.
    const double chi0 = (1 - sc * st) + sc * st * (1 - p) * (1 - lambda);
    EXPECT_TRUE(f.cell(7).sharesValueWith(f.treatmentChi(0)));
    EXPECT_REL_NEAR(f.cell(7).evaluate(x), chi0, 1e-14);
    EXPECT_TRUE(f.treatmentChi(0).mentions("St"));
    EXPECT_FALSE(f.controlChi(0).mentions("St"));

    // Swapping the releases swaps the blocks of counts, not the parameters.
    std::vector<double> swapped;
    f.setCase(st, sc, {0.0}, swapped, 400, 1000, {}, {p}, lambda);
    EXPECT_EQ(swapped, x);
    EXPECT_REL_NEAR(f.expectedCount(4), 400 * sc * p * lambda, 1e-14);
    EXPECT_REL_NEAR(f.expectedCount(7 + 4), 1000 * sc * st * p * lambda, 1e-14);
}

TEST(PairedReleaseLikelihood, SharedLabelsShareWithinEachGroupOnly)
{
    PairedReleaseLikelihoodFunc f({0, 0}, {0, 1, 1});
    EXPECT_EQ(f.controlSurvivalMap().createdCount(), 1);
    EXPECT_EQ(f.treatmentSurvivalMap().createdCount(), 1);
    EXPECT_EQ(f.controlSurvivalMap().positionIndices(), (std::vector<int>{2, 2}));
    EXPECT_EQ(f.treatmentSurvivalMap().positionIndices(), (std::vector<int>{3, 3}));
    EXPECT_EQ(f.controlDetectionMap().positionIndices(), (std::vector<int>{4, 5, 5}));
    EXPECT_EQ(f.treatmentDetectionMap().positionIndices(), (std::vector<int>{6, 7, 7}));
    EXPECT_EQ(f.controlLambdaIndex(), 8);
    EXPECT_EQ(f.treatmentLambdaIndex(), 9);
    EXPECT_EQ(f.parameterCount(), 10);

    std::vector<double> x;
    f.setCase(0.8, 0.9, {0.1, 0.2, 0.0}, x, 500, 500, {0.95}, {0.6, 0.7}, 0.5);
    EXPECT_EQ(x, (std::vector<double>{0.9, 0.8, 0.95, 0.95, 0.6, 0.7, 0.6, 0.7, 0.5, 0.5}));
    // Each group's site-0 cells sum to 1 (23 of them for F = 4).
    for (int group = 0; group < 2; ++group) {
        const int first = group * f.cellCount() / 2;
        double sum = 0.0;
        for (int k = first; k < first + 23; ++k)
            sum += f.cell(k).evaluate(x);
        EXPECT_REL_NEAR(sum, 1.0, 1e-14);
    }
    EXPECT_THROW(f.setCase(0.8, 0.9, {0.1, 0.2}, x, 500, 500, {0.95}, {0.6, 0.7}, 0.5),
                 std::invalid_argument);
    EXPECT_THROW(PairedReleaseLikelihoodFunc({0}, {0}), std::invalid_argument);
}

TEST(PairedReleaseLikelihood, TreatmentSurvivalVarianceMatchesTwoIndependentReleases)
{
    // With no downstream reach each group is a one-reach single release, the
    // control one with S_C = Sc and the treatment one with S_T = Sc·St, and
    // their own P and lambda. (Sc, St) ↔ (S_C, S_T) is one to one, so the
    // inverse information transforms exactly by the delta method:
    // ln St = ln S_T − ln S_C with independent groups gives
    //   Var Ŝt = St²·(Var(ln Ŝ_T) + Var(ln Ŝ_C)),  Var Ŝc = Sc²·Var(ln Ŝ_C),
    // where for one reach (derivation beside the single-release test)
    //   N·Var(ln Ŝ) = ((1 − λ)(1 − P) + λP) / (S·P·λ) − 1.
    const double sc = 0.85, st = 0.9, p = 0.6, lambda = 0.75, rc = 800, rt = 1200;
    const auto logVariance = [&](double s, double n) {
        return (((1 - lambda) * (1 - p) + lambda * p) / (s * p * lambda) - 1) / n;
    };
    PairedReleaseLikelihoodFunc f({}, {0});
    std::vector<double> x;
    f.setCase(st, sc, {0.0}, x, 800, 1200, {}, {p}, lambda);
    const Matrix covariance = covarianceOf(f, x);
    EXPECT_REL_NEAR(covariance(1, 1), st * st * (logVariance(sc * st, rt) + logVariance(sc, rc)),
                    1e-4);
    EXPECT_REL_NEAR(covariance(0, 0), sc * sc * logVariance(sc, rc), 1e-4);
    // The treatment group's detection is a binomial proportion out of the
    // N·S_T·λ treatment fish seen at the final site.
    EXPECT_REL_NEAR(covariance(3, 3), p * (1 - p) / (rt * sc * st * lambda), 1e-4);
}

TEST(PairedReleaseLikelihood, CovarianceMatchesReferenceDesigns)
{
    const std::vector<QJsonObject> cases = referenceCases(QStringLiteral("paired_release"));
    ASSERT_FALSE(cases.empty());
    for (const QJsonObject& reference : cases) {
        SCOPED_TRACE(reference.value("id").toString().toStdString());
        const QJsonObject out = reference.value("expected").toObject();
        std::vector<double> x;
        const auto f = pairedReleaseFrom(reference.value("inputs").toObject(), x);
        EXPECT_EQ(f->cellCount(), out.value("cells_in_full_enumeration").toInt());

        // The reference lists the parameters in display order: Sc, St, then
        // control and treatment alternating. Without shared labels that is
        // the likelihood's order with the two group blocks interleaved.
        const int dS = f->controlSurvivalMap().createdCount();
        const int dP = f->controlDetectionMap().createdCount();
        std::vector<int> order = {0, 1};
        for (int q = 0; q < dS; ++q)
            order.insert(order.end(), {2 + q, 2 + dS + q});
        for (int q = 0; q < dP; ++q)
            order.insert(order.end(), {2 + 2 * dS + q, 2 + 2 * dS + dP + q});
        order.insert(order.end(), {f->controlLambdaIndex(), f->treatmentLambdaIndex()});

        const std::vector<double> estimates = toDoubles(out.value("estimates"));
        ASSERT_EQ(order.size(), estimates.size());
        for (std::size_t a = 0; a < order.size(); ++a)
            EXPECT_EQ(x[order[a]], estimates[a]);
        expectCovarianceNear(covarianceOf(*f, x), order, out.value("covariance").toArray(),
                             reference.value("relative_tolerance").toDouble());
    }
}
