#include "numerics/SVD.h"

#include "MatrixBuilder.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

using NR3::Matrix;
using NR3::SVD;

namespace {

// A = U·diag(w)·Vᵀ, with orthonormal columns in U and V, values sorted in
// decreasing order and the sign convention applied. The products are compared
// absolutely: their rounding scales with the norm of A, not with each element.
void expectValidDecomposition(const Matrix& a, const SVD& svd)
{
    const int m = a.nrows();
    const int n = a.ncols();
    for (int k = 1; k < n; ++k)
        EXPECT_GE(svd.w()[k - 1], svd.w()[k]);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k)
                sum += svd.u()[i][k] * svd.w()[k] * svd.v()[j][k];
            EXPECT_NEAR(sum, a[i][j], 1e-12);
        }
    for (int p = 0; p < n; ++p)
        for (int q = 0; q < n; ++q) {
            double vv = 0.0;
            double uu = 0.0;
            for (int k = 0; k < n; ++k)
                vv += svd.v()[k][p] * svd.v()[k][q];
            for (int k = 0; k < m; ++k)
                uu += svd.u()[k][p] * svd.u()[k][q];
            EXPECT_NEAR(vv, p == q ? 1.0 : 0.0, 1e-12);
            EXPECT_NEAR(uu, p == q ? 1.0 : 0.0, 1e-12);
        }
    for (int k = 0; k < n; ++k) {
        int negatives = 0;
        for (int i = 0; i < m; ++i)
            negatives += svd.u()[i][k] < 0.0;
        for (int i = 0; i < n; ++i)
            negatives += svd.v()[i][k] < 0.0;
        EXPECT_LE(negatives, (m + n) / 2);
    }
}

} // namespace

TEST(SVD, IdentityHasFullRankAndSortedValues)
{
    EXPECT_EQ(SVD(makeMatrix(3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1})).rank(), 3);

    const Matrix diagonal = makeMatrix(3, 3, {1, 0, 0, 0, -3, 0, 0, 0, 2});
    const SVD svd(diagonal);
    EXPECT_DOUBLE_EQ(svd.w()[0], 3.0);
    EXPECT_DOUBLE_EQ(svd.w()[1], 2.0);
    EXPECT_DOUBLE_EQ(svd.w()[2], 1.0);
    expectValidDecomposition(diagonal, svd);
}

TEST(SVD, KnownSingularValuesOfTallAndSquareMatrices)
{
    // AᵀA = [[25, 20], [20, 25]] has eigenvalues 45 and 5.
    const Matrix square = makeMatrix(2, 2, {3, 0, 4, 5});
    const SVD squareSvd(square);
    EXPECT_REL_NEAR(squareSvd.w()[0], std::sqrt(45.0), 1e-14);
    EXPECT_REL_NEAR(squareSvd.w()[1], std::sqrt(5.0), 1e-14);
    expectValidDecomposition(square, squareSvd);

    // Columns (1,1,1,1) and (1,−1,1,−1) are orthogonal with norm 2 each,
    // scaled by 3 and 1; the third column is their sum.
    const Matrix tall = makeMatrix(4, 3, {3, 1, 4, 3, -1, 2, 3, 1, 4, 3, -1, 2});
    const SVD tallSvd(tall);
    expectValidDecomposition(tall, tallSvd);
    EXPECT_EQ(tallSvd.rank(), 2);

    const Matrix general = makeMatrix(4, 4, {4, -2, 1, 3, 0.5, 7, -1, 2, 1, 1, 1, 1, -3, 2, 0, 5});
    expectValidDecomposition(general, SVD(general));
}

TEST(SVD, RankCountsValuesAboveThreshold)
{
    const SVD singular(makeMatrix(2, 2, {1, 2, 2, 4}));
    EXPECT_EQ(singular.rank(), 1);
    EXPECT_REL_NEAR(singular.w()[0], 5.0, 1e-14);
    EXPECT_REL_NEAR(singular.tsh(), 0.5 * std::sqrt(5.0) * 5.0 * 2.220446049250313e-16, 1e-14);

    const SVD graded(makeMatrix(2, 2, {1, 0, 0, 0.1}));
    EXPECT_EQ(graded.rank(), 2);
    EXPECT_EQ(graded.rank(0.5), 1);
    EXPECT_EQ(graded.rank(1.0), 0);
}
