#include "EigenvalueMatrix.h"
#include "Tolerance.h"

#include "numerics/SVD.h"
#include "numerics/SymmetricEigenvalues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

// The rank test by singular value decomposition on the same matrix.
bool svdHasFullRank(const Matrix& m)
{
    NR3::Matrix copy(m.rows(), m.cols());
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            copy[i][j] = m(i, j);
    return NR3::SVD(copy).rank() == m.cols();
}

} // namespace

TEST(SymmetricEigenvalues, DenseMatrixGivesItsSpectrum)
{
    std::vector<double> spectrum;
    for (int i = 0; i < 30; ++i)
        spectrum.push_back((i % 3 == 0 ? -1.0 : 1.0) * std::pow(10.0, (i % 7) - 3));
    std::vector<double> values = symmetricEigenvalues(withEigenvalues(spectrum));
    std::sort(values.begin(), values.end());
    std::sort(spectrum.begin(), spectrum.end());
    // Absolutely: the rounding of every eigenvalue scales with the largest.
    for (std::size_t i = 0; i < spectrum.size(); ++i)
        EXPECT_NEAR(values[i], spectrum[i], 1e-11) << i;

    // A zero row gives the eigenvalue 0 exactly, beside the others.
    values = symmetricEigenvalues(withEigenvalues({3.0, 1.0, 2.0, 5.0}, {2}));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values.front(), 0.0);
    EXPECT_REL_NEAR(values.back(), 5.0, 1e-13);

    // Zero diagonal, indefinite: the shift of the first step is taken on
    // equal diagonal elements.
    Matrix swap(2, 2);
    swap(0, 1) = swap(1, 0) = 1.0;
    values = symmetricEigenvalues(swap);
    std::sort(values.begin(), values.end());
    EXPECT_REL_NEAR(values.front(), -1.0, 1e-15);
    EXPECT_REL_NEAR(values.back(), 1.0, 1e-15);
}

TEST(SymmetricRankTest, DecidesLikeTheSingularValueTest)
{
    Matrix dependent(2, 2); // [[1, 2], [2, 4]]
    dependent(0, 0) = 1.0;
    dependent(0, 1) = dependent(1, 0) = 2.0;
    dependent(1, 1) = 4.0;
    std::vector<double> spread;
    for (int i = 0; i < 12; ++i)
        spread.push_back(std::pow(10.0, i % 5));
    std::vector<double> deficient = spread;
    deficient[4] = 0.0;

    const std::vector<Matrix> singular = {dependent, Matrix(3, 3), withEigenvalues(deficient),
                                          withEigenvalues(spread, {7})};
    for (const Matrix& m : singular) {
        EXPECT_FALSE(symmetricHasFullRank(m));
        EXPECT_FALSE(svdHasFullRank(m));
    }
    EXPECT_TRUE(symmetricHasFullRank(withEigenvalues(spread)));
    EXPECT_TRUE(svdHasFullRank(withEigenvalues(spread)));

    // Rank counts absolute values: a negative eigenvalue is full rank.
    std::vector<double> indefinite = spread;
    indefinite[3] = -indefinite[3];
    EXPECT_TRUE(symmetricHasFullRank(withEigenvalues(indefinite)));
    EXPECT_TRUE(svdHasFullRank(withEigenvalues(indefinite)));
}

TEST(SymmetricRankTest, PositiveDefiniteNeedsEveryEigenvalueAboveTheThreshold)
{
    std::vector<double> spectrum = {1e4, 3.0, 1.0, 0.5};
    EXPECT_TRUE(symmetricIsPositiveDefinite(withEigenvalues(spectrum)));
    spectrum[2] = -1.0;
    EXPECT_FALSE(symmetricIsPositiveDefinite(withEigenvalues(spectrum)));
    // Positive, but below 0.5 * sqrt(9) * 1e4 * eps, about 3.3e-12.
    spectrum[2] = 1e-12;
    EXPECT_FALSE(symmetricIsPositiveDefinite(withEigenvalues(spectrum)));
    spectrum[2] = 1e-10;
    EXPECT_TRUE(symmetricIsPositiveDefinite(withEigenvalues(spectrum)));
}
