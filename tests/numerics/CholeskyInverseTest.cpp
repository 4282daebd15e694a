#include "Tolerance.h"

#include "numerics/CholeskyInverse.h"
#include "numerics/NRError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// B B^T + n I for a random B: symmetric and positive definite.
Matrix randomPositiveDefinite(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal;
    Matrix b(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            b(i, j) = normal(rng);
    Matrix a(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k)
                a(i, j) += b(i, k) * b(j, k);
            a(i, j) += i == j ? n : 0.0;
        }
    return a;
}

} // namespace

TEST(CholeskyInverse, InverseTimesMatrixIsTheIdentity)
{
    // The 2 × 2 inverse by hand: [[4, 2], [2, 3]]^-1 = [[3, -2], [-2, 4]] / 8.
    Matrix small(2, 2);
    small(0, 0) = 4.0;
    small(0, 1) = small(1, 0) = 2.0;
    small(1, 1) = 3.0;
    Matrix inverse;
    choleskyInverse(small, inverse);
    EXPECT_REL_NEAR(inverse(0, 0), 3.0 / 8.0, 1e-15);
    EXPECT_REL_NEAR(inverse(0, 1), -2.0 / 8.0, 1e-15);
    EXPECT_REL_NEAR(inverse(1, 0), -2.0 / 8.0, 1e-15);
    EXPECT_REL_NEAR(inverse(1, 1), 4.0 / 8.0, 1e-15);

    for (int n : {1, 5, 40}) {
        const Matrix a = randomPositiveDefinite(n, 3u + n);
        choleskyInverse(a, inverse);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                double product = 0.0;
                for (int k = 0; k < n; ++k)
                    product += inverse(i, k) * a(k, j);
                EXPECT_NEAR(product, i == j ? 1.0 : 0.0, 1e-12) << n << ": " << i << ", " << j;
            }
    }
}

TEST(CholeskyInverse, RefusesAMatrixThatIsNotPositiveDefinite)
{
    // Eigenvalues 3 and -1.
    Matrix indefinite(2, 2);
    indefinite(0, 0) = indefinite(1, 1) = 1.0;
    indefinite(0, 1) = indefinite(1, 0) = 2.0;
    Matrix inverse(1, 1);
    inverse(0, 0) = 7.0;
    try {
        choleskyInverse(indefinite, inverse);
        ADD_FAILURE() << "an indefinite matrix must be refused";
    } catch (const NR3::NRError& error) {
        EXPECT_STREQ(error.what(), "Matrix not positive definite in CholeskyInverse");
    }
    EXPECT_EQ(inverse.rows(), 1);
    EXPECT_EQ(inverse(0, 0), 7.0);
    EXPECT_THROW(choleskyInverse(Matrix(2, 3), inverse), NR3::NRError);
}
