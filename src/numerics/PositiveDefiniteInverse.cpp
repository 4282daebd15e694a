#include "numerics/PositiveDefiniteInverse.h"

#include "numerics/CholeskyInverse.h"
#include "numerics/NRError.h"
#include "numerics/RankThreshold.h"
#include "numerics/SymmetricEigenvalues.h"

#include <algorithm>
#include <cmath>
#include <utility>

double symmetricRowSumNorm(const Matrix& a)
{
    const int n = a.rows();
    double largest = 0.0;
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int j = 0; j < n; ++j)
            sum += std::fabs(i >= j ? a(i, j) : a(j, i));
        largest = std::max(largest, sum);
    }
    return largest;
}

bool certainlyAboveInverse(const Matrix& a, Matrix& inverse, double threshold)
{
    try {
        choleskyInverse(a, inverse);
    } catch (const NR3::NRError&) {
        return false;
    }
    const int n = a.rows();
    double trace = 0.0;
    for (int i = 0; i < n; ++i)
        trace += inverse(i, i);
    return traceShowsAbove(trace, n, threshold);
}

bool traceShowsAbove(double inverseTrace, int n, double threshold)
{
    // 1 / trace > margin * threshold, without dividing by the trace.
    const double margin = 64.0 * (n + 1);
    return std::isfinite(inverseTrace) && inverseTrace > 0.0 &&
           inverseTrace * margin * threshold < 1.0;
}

bool positiveDefiniteInverse(const Matrix& a, Matrix& inverse)
{
    if (a.rows() != a.cols())
        throw NR3::NRError("Matrix not square in positiveDefiniteInverse");
    // The rank threshold of a with its largest eigenvalue bounded by the norm,
    // so at least the threshold of the rule.
    const int n = a.rows();
    Matrix candidate;
    if (!certainlyAboveInverse(a, candidate, rankThreshold(n, n, symmetricRowSumNorm(a)))) {
        if (!symmetricIsPositiveDefinite(a))
            return false;
        choleskyInverse(a, candidate);
    }
    inverse = std::move(candidate);
    return true;
}
