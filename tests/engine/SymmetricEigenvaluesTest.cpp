#include "Tolerance.h"

#include "engine/CovarianceCalculator.h"
#include "engine/SymmetricEigenvalues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<double> sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

// Q diag(spectrum) Q^T with Q = I - 2 v v^T / v^T v, a reflection, so the
// eigenvalues are exactly the given spectrum.
Matrix withSpectrum(const std::vector<double>& spectrum, unsigned seed)
{
    const int n = static_cast<int>(spectrum.size());
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<double> v(spectrum.size());
    double vv = 0.0;
    for (double& x : v) {
        x = normal(rng);
        vv += x * x;
    }
    Matrix q(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            q(i, j) = (i == j ? 1.0 : 0.0) - 2.0 * v[i] * v[j] / vv;
    Matrix a(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                a(i, j) += q(i, k) * spectrum[k] * q(j, k);
    return a;
}

} // namespace

TEST(SymmetricEigenvalues, TridiagonalToeplitzMatchesClosedForm)
{
    // 2 on the diagonal, -1 beside it: 2 - 2 cos(k pi / (n + 1)), k = 1 .. n.
    const int n = 40;
    Matrix a(n, n);
    for (int i = 0; i < n; ++i) {
        a(i, i) = 2.0;
        if (i + 1 < n)
            a(i + 1, i) = a(i, i + 1) = -1.0;
    }
    const std::vector<double> values = sorted(symmetricEigenvalues(a));
    ASSERT_EQ(values.size(), 40u);
    for (int k = 1; k <= n; ++k)
        EXPECT_REL_NEAR(values[k - 1], 2.0 - 2.0 * std::cos(k * M_PI / (n + 1)), 1e-12);
}

TEST(SymmetricEigenvalues, DenseMatrixGivesItsSpectrum)
{
    std::vector<double> spectrum;
    for (int i = 0; i < 30; ++i)
        spectrum.push_back((i % 3 == 0 ? -1.0 : 1.0) * std::pow(10.0, (i % 7) - 3));
    const std::vector<double> values = sorted(symmetricEigenvalues(withSpectrum(spectrum, 5)));
    const std::vector<double> expected = sorted(spectrum);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(values[i], expected[i], 1e-11) << i;
}

TEST(SymmetricEigenvalues, ZeroRowGivesExactlyZero)
{
    Matrix a = withSpectrum({3.0, 1.0, 2.0, 5.0}, 9);
    Matrix b(5, 5);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            b(i < 2 ? i : i + 1, j < 2 ? j : j + 1) = a(i, j);
    const std::vector<double> values = sorted(symmetricEigenvalues(b));
    EXPECT_EQ(values.front(), 0.0);
    EXPECT_REL_NEAR(values.back(), 5.0, 1e-13);
}

TEST(SymmetricRankTest, DecidesLikeTheSingularValueTest)
{
    Matrix dependent(2, 2);
    dependent(0, 0) = 1.0;
    dependent(0, 1) = dependent(1, 0) = 2.0;
    dependent(1, 1) = 4.0;
    EXPECT_FALSE(symmetricHasFullRank(dependent));

    Matrix full(2, 2);
    full(0, 0) = full(1, 1) = 2.0;
    full(0, 1) = full(1, 0) = 1.0;
    EXPECT_TRUE(symmetricHasFullRank(full));

    EXPECT_FALSE(symmetricHasFullRank(Matrix(3, 3)));

    // B B^T with B of rank n - 1 is singular; a well-spread spectrum is not.
    const int n = 12;
    std::mt19937 rng(3);
    std::normal_distribution<double> normal;
    Matrix b(n, n - 1);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n - 1; ++j)
            b(i, j) = normal(rng);
    Matrix deficient(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n - 1; ++k)
                deficient(i, j) += b(i, k) * b(j, k);
    std::vector<double> spectrum;
    for (int i = 0; i < n; ++i)
        spectrum.push_back(std::pow(10.0, i % 5));
    const Matrix spread = withSpectrum(spectrum, 4);

    for (const Matrix* m :
         std::initializer_list<const Matrix*>{&dependent, &full, &deficient, &spread})
        EXPECT_EQ(symmetricHasFullRank(*m), CovarianceCalculator::hasFullRank(*m));
    EXPECT_FALSE(symmetricHasFullRank(deficient));
    EXPECT_TRUE(symmetricHasFullRank(spread));
}
