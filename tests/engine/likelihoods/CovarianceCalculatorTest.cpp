#include "engine/likelihoods/CovarianceCalculator.h"
#include "numerics/NRError.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// A likelihood given by a plain function, counting its evaluations.
class TestFunc : public ryn::LikelihoodFunc
{
public:
    explicit TestFunc(std::function<double(const std::vector<double>&)> f)
        : f(std::move(f))
    {}
    double value(const std::vector<double>& x) const override
    {
        ++evaluations;
        return f(x);
    }
    mutable int evaluations = 0;

private:
    std::function<double(const std::vector<double>&)> f;
};

} // namespace

TEST(CovarianceCalculator, InvertsCurvatureOfOneParameterLogLikelihood)
{
    // f(x) = −N·ln x has f'' = N/x², so at x = 0.5 the Hessian is N/0.25.
    const double n = 400.0;
    const TestFunc f([n](const std::vector<double>& x) { return -n * std::log(x[0]); });
    Matrix covariance(1, 1);
    Matrix hessian;
    CovarianceCalculator calculator(nullptr, 1e-5);
    calculator.computeCovariance(f, {0.5}, covariance, &hessian);
    EXPECT_REL_NEAR(hessian(0, 0), n / 0.25, 1e-5);
    EXPECT_REL_NEAR(covariance(0, 0), 0.25 / n, 1e-5);
    EXPECT_EQ(f.evaluations, 1 + 2 * 1 * 1);

    std::vector<double> gradient;
    f.gradient({0.5}, gradient);
    EXPECT_REL_NEAR(gradient[0], -n / 0.5, 1e-6);
}

TEST(CovarianceCalculator, HessianIsSymmetricAndCostsOnePlusTwoNSquaredEvaluations)
{
    // f = x0²·x1 + exp(x1·x2) + 3·x0·x2², Hessian worked out by hand.
    const TestFunc f([](const std::vector<double>& x) {
        return x[0] * x[0] * x[1] + std::exp(x[1] * x[2]) + 3.0 * x[0] * x[2] * x[2];
    });
    const std::vector<double> x = {0.7, 1.3, -0.4};
    const double e = std::exp(x[1] * x[2]);
    const double expected[3][3] = {
        {2 * x[1], 2 * x[0], 6 * x[2]},
        {2 * x[0], x[2] * x[2] * e, e * (1 + x[1] * x[2])},
        {6 * x[2], e * (1 + x[1] * x[2]), x[1] * x[1] * e + 6 * x[0]},
    };
    Matrix hessian(3, 3);
    CovarianceCalculator(nullptr, 1e-5).computeHessian(f, x, 1e-5, hessian);
    EXPECT_EQ(f.evaluations, 1 + 2 * 3 * 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_REL_NEAR(hessian(i, j), expected[i][j], 1e-4);
            EXPECT_EQ(hessian(i, j), hessian(j, i));
        }
}

TEST(CovarianceCalculator, IgnoredParameterMakesHessianSingular)
{
    const TestFunc f([](const std::vector<double>& x) { return -10.0 * std::log(x[0]); });
    const std::vector<double> x = {0.5, 0.3};
    Matrix covariance(2, 2);
    covariance(0, 0) = 42.0;

    CovarianceCalculator throwing(nullptr, 1e-5);
    try {
        throwing.computeCovariance(f, x, covariance);
        ADD_FAILURE() << "a singular Hessian must throw";
    } catch (const NR3::NRError& error) {
        EXPECT_STREQ(error.what(), "Singular Hessian in calculating covariance matrix");
    }

    bool ok = true;
    Matrix hessian;
    CovarianceCalculator reporting(nullptr, 1e-5);
    EXPECT_NO_THROW(reporting.computeCovariance(f, x, covariance, &hessian, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(reporting.errorText(), "Singular Hessian in calculating covariance matrix");
    EXPECT_EQ(hessian(1, 1), 0.0);
    EXPECT_EQ(hessian(0, 1), 0.0);
    EXPECT_EQ(covariance(0, 0), 42.0);

    // A covariance matrix of the wrong size is reported, not overrun.
    Matrix wrongSize(3, 3);
    reporting.computeCovariance(f, x, wrongSize, nullptr, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reporting.errorText().isEmpty());
}

TEST(CovarianceCalculator, PresetCancelLeavesCovarianceUntouched)
{
    const TestFunc f([](const std::vector<double>& x) { return x[0] * x[0] + x[1] * x[1]; });
    Matrix covariance(2, 2);
    covariance(1, 0) = 7.0;
    Matrix hessian(1, 1);
    hessian(0, 0) = -2.0;
    const std::atomic<bool> canceled{true};
    bool ok = false;
    CovarianceCalculator calculator(&canceled, 1e-5);
    EXPECT_NO_THROW(calculator.computeCovariance(f, {1.0, 2.0}, covariance, &hessian, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(covariance(1, 0), 7.0);
    ASSERT_EQ(hessian.rows(), 1);
    EXPECT_EQ(hessian(0, 0), -2.0);
    EXPECT_EQ(covariance(0, 0), 0.0);
    EXPECT_EQ(f.evaluations, 1);
}

TEST(CovarianceCalculator, RankTestAndInverseWorkOnTheirOwn)
{
    Matrix singular(2, 2);
    singular(0, 0) = 1;
    singular(0, 1) = singular(1, 0) = 2;
    singular(1, 1) = 4;
    EXPECT_FALSE(CovarianceCalculator::hasFullRank(singular));

    Matrix information(2, 2);
    information(0, 0) = 2;
    information(0, 1) = information(1, 0) = 1;
    information(1, 1) = 1;
    EXPECT_TRUE(CovarianceCalculator::hasFullRank(information));
    Matrix inverse;
    CovarianceCalculator::invert(information, inverse);
    ASSERT_EQ(inverse.rows(), 2);
    EXPECT_REL_NEAR(inverse(0, 0), 1.0, 1e-15);
    EXPECT_REL_NEAR(inverse(0, 1), -1.0, 1e-15);
    EXPECT_REL_NEAR(inverse(1, 0), -1.0, 1e-15);
    EXPECT_REL_NEAR(inverse(1, 1), 2.0, 1e-15);
}
