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

namespace {

// What the bound of certainlyAboveInverse shows of a matrix: its Cholesky
// factorisation failed, or inverse holds its Cholesky inverse and the bound
// is inconclusive or certain.
enum class Bound { NotFactored, Inconclusive, Certain };

Bound boundOf(const Matrix& a, Matrix& inverse, double threshold)
{
    try {
        choleskyInverse(a, inverse);
    } catch (const NR3::NRError&) {
        return Bound::NotFactored;
    }
    const int n = a.rows();
    double trace = 0.0;
    for (int i = 0; i < n; ++i)
        trace += inverse(i, i);
    return traceShowsAbove(trace, n, threshold) ? Bound::Certain : Bound::Inconclusive;
}

} // namespace

bool certainlyAboveInverse(const Matrix& a, Matrix& inverse, double threshold)
{
    return boundOf(a, inverse, threshold) == Bound::Certain;
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
    const Bound bound = boundOf(a, candidate, rankThreshold(n, n, symmetricRowSumNorm(a)));
    if (bound != Bound::Certain) {
        if (!symmetricIsPositiveDefinite(a))
            return false;
        // The inverse the bound computed, or the factorisation's error.
        if (bound == Bound::NotFactored)
            choleskyInverse(a, candidate);
    }
    inverse = std::move(candidate);
    return true;
}
