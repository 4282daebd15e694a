#include "engine/simulation/BinomialDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The mean and variance of many draws against n p and n p (1 − p): within
// four standard errors, those of a mean (sqrt(var / m)) and of a variance
// (var sqrt(2 / m), the normal approximation, close here since every case's
// variance is large or its count of draws is).
void expectMoments(long long n, double p, int draws, std::uint64_t seed)
{
    SimulationStream stream = simulationStream(seed, 0);
    double sum = 0.0, sumOfSquares = 0.0;
    for (int i = 0; i < draws; ++i) {
        const long long x = binomialDraw(n, p, stream);
        ASSERT_GE(x, 0);
        ASSERT_LE(x, n);
        const double centred = static_cast<double>(x) - static_cast<double>(n) * p;
        sum += centred;
        sumOfSquares += centred * centred;
    }
    const double variance = static_cast<double>(n) * p * (1.0 - p);
    const double meanError = sum / draws;
    const double sampleVariance = sumOfSquares / draws - meanError * meanError;
    EXPECT_LE(std::fabs(meanError), 4.0 * std::sqrt(variance / draws)) << n << ", " << p;
    EXPECT_LE(std::fabs(sampleVariance - variance), 4.0 * variance * std::sqrt(2.0 / draws) + 1e-9)
        << n << ", " << p << ": variance " << sampleVariance << " against " << variance;
}

// log of n choose k, p^k (1 − p)^(n − k).
double binomialProbability(int n, int k, double p)
{
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                    k * std::log(p) + (n - k) * std::log1p(-p));
}

} // namespace

// The inversion (small expected counts, either tail), the splits at order
// statistics (large ones) and a release of two billion fish all give the
// binomial's mean and variance; the certain and empty cases draw nothing.
TEST(BinomialDraw, MeanAndVarianceAreThoseOfTheBinomialAtEveryScale)
{
    SimulationStream stream = simulationStream(3, 0);
    EXPECT_EQ(binomialDraw(0, 0.4, stream), 0);
    EXPECT_EQ(binomialDraw(1000, 0.0, stream), 0);
    EXPECT_EQ(binomialDraw(1000, 1.0, stream), 1000);
    EXPECT_EQ(binomialDraw(2000000000, 1.0, stream), 2000000000);

    expectMoments(1, 0.3, 20000, 1);
    expectMoments(20, 0.3, 20000, 2);
    expectMoments(50, 0.97, 20000, 3);
    expectMoments(1000, 0.5, 20000, 4);
    expectMoments(100000, 0.02, 20000, 5);
    expectMoments(2000000000, 0.45, 20000, 6);
    expectMoments(2000000000, 1e-8, 20000, 7);
    expectMoments(2147483647, 0.999999, 20000, 8);
}

// The whole distribution where the draw splits once and then inverts (n p
// just above the split's threshold): a chi-square test of the counts of
// 100000 draws of Binomial(100, 0.4) against the exact probabilities, cells
// of the tails pooled until each expects at least 5 draws.
TEST(BinomialDraw, SplitDrawsFollowTheExactDistribution)
{
    const int n = 100;
    const double p = 0.4;
    const int draws = 100000;
    std::vector<int> counts(n + 1, 0);
    SimulationStream stream = simulationStream(11, 0);
    for (int i = 0; i < draws; ++i)
        ++counts[static_cast<std::size_t>(binomialDraw(n, p, stream))];

    double chiSquare = 0.0;
    int cells = 0;
    double expected = 0.0;
    double observed = 0.0;
    for (int k = 0; k <= n; ++k) {
        expected += draws * binomialProbability(n, k, p);
        observed += counts[static_cast<std::size_t>(k)];
        if (expected >= 5.0 || k == n) {
            chiSquare += (observed - expected) * (observed - expected) / expected;
            ++cells;
            expected = observed = 0.0;
        }
    }
    // About 35 cells: the 0.999 quantile of chi-square with 34 degrees of
    // freedom is 65.2.
    EXPECT_GT(cells, 25);
    EXPECT_LT(chiSquare, 65.2) << cells << " cells";
}
