#include "EigenvalueMatrix.h"

#include "numerics/NRError.h"
#include "numerics/PositiveDefiniteInverse.h"
#include "numerics/RankThreshold.h"
#include "numerics/SymmetricEigenvalues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Whether inverse * a is the identity to within tolerance in every entry.
bool invertsTo(const Matrix& a, const Matrix& inverse, double tolerance)
{
    const int n = a.rows();
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double product = 0.0;
            for (int k = 0; k < n; ++k)
                product += inverse(i, k) * a(k, j);
            if (!(std::fabs(product - (i == j ? 1.0 : 0.0)) <= tolerance))
                return false;
        }
    return true;
}

} // namespace

// Spectra from 1 to 1e4 whose smallest eigenvalue is moved from far above the
// rank threshold through it to below zero. Near the threshold the verdict is
// the eigenvalue test's, whichever way its rounding falls; far from it the
// verdict is known.
TEST(PositiveDefiniteInverse, DecidesAsTheEigenvalueTestOnBothSidesOfTheThreshold)
{
    for (int n : {2, 7, 30}) {
        const double threshold = rankThreshold(n, n, 1e4);
        for (unsigned seed = 1; seed <= 3; ++seed) {
            for (double factor : {1e8, 1e4, 1e2, 3.0, 1.5, 1.0, 0.7, 0.1, 0.0, -1.0, -1e6}) {
                std::vector<double> spectrum;
                for (int i = 0; i < n; ++i)
                    spectrum.push_back(std::pow(10.0, 4.0 * i / (n - 1)));
                spectrum[seed % n == static_cast<unsigned>(n - 1) ? 0 : seed % n] =
                    factor * threshold;
                const Matrix a = withEigenvalues(spectrum, {}, seed);
                Matrix inverse(1, 1);
                inverse(0, 0) = 7.0;
                const bool accepted = positiveDefiniteInverse(a, inverse);
                SCOPED_TRACE(testing::Message()
                             << "n " << n << ", seed " << seed << ", factor " << factor);
                EXPECT_EQ(accepted, symmetricIsPositiveDefinite(a));
                if (factor >= 1e2) {
                    EXPECT_TRUE(accepted);
                }
                if (factor <= -1e6) {
                    EXPECT_FALSE(accepted);
                }
                // The condition is then below 1e8: the inverse is good to 1e-8.
                if (accepted && factor >= 1e8) {
                    EXPECT_TRUE(invertsTo(a, inverse, 1e-6));
                }
                if (!accepted) {
                    EXPECT_TRUE(inverse.rows() == 1 && inverse(0, 0) == 7.0);
                }
            }
        }
    }

    // A zero row, and an indefinite matrix of good scale.
    Matrix inverse;
    EXPECT_FALSE(positiveDefiniteInverse(withEigenvalues({3.0, 1.0, 2.0, 5.0}, {2}), inverse));
    EXPECT_FALSE(positiveDefiniteInverse(withEigenvalues({3.0, -1.0, 2.0, 5.0}), inverse));
    EXPECT_THROW(positiveDefiniteInverse(Matrix(2, 3), inverse), NR3::NRError);
}

// The bound: no threshold at or above the smallest eigenvalue is certain, and
// a well-conditioned matrix is certain far above its rank threshold without
// its eigenvalues.
TEST(PositiveDefiniteInverse, BoundNeverClaimsMoreThanTheSmallestEigenvalue)
{
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const std::vector<double> spectrum = {0.25, 4.0, 9.0, 2.0, 30.0, 0.5};
        const Matrix a = withEigenvalues(spectrum, {}, seed);
        Matrix inverse;
        EXPECT_FALSE(certainlyAboveInverse(a, inverse, 0.25));
        EXPECT_TRUE(certainlyAboveInverse(a, inverse, rankThreshold(6, 6, 30.0)));
        EXPECT_TRUE(invertsTo(a, inverse, 1e-13));
        EXPECT_GE(symmetricRowSumNorm(a), 30.0 * (1 - 1e-15));

        // The trace of the inverse of 1000 a, from that of a's, bounds the
        // smallest eigenvalue of 1000 a, 250, the same way; the margin is
        // 64 (n + 1) = 448.
        double trace = 0.0;
        for (int i = 0; i < 6; ++i)
            trace += inverse(i, i);
        EXPECT_FALSE(traceShowsAbove(trace / 1000.0, 6, 250.0));
        EXPECT_FALSE(traceShowsAbove(trace / 1000.0, 6, 250.0 / 448.0));
        EXPECT_TRUE(traceShowsAbove(trace / 1000.0, 6, 250.0 / 448.0 / 6.0 / 1.01));
    }
    EXPECT_FALSE(traceShowsAbove(-1.0, 2, 1e-12));
    EXPECT_FALSE(traceShowsAbove(std::numeric_limits<double>::infinity(), 2, 1e-12));
}
