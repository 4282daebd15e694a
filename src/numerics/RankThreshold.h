#pragma once

#include <cmath>
#include <limits>

// The numerical rank rule of the covariance computation. A singular value of
// an m × n matrix counts towards its rank only when it is above
// 0.5·sqrt(m + n + 1)·w_max·eps, with w_max the largest singular value and eps
// the machine epsilon; values at or below it cannot be told from rounding
// noise. A matrix of order n has full rank when n of its singular values (for
// a symmetric matrix, the absolute values of its eigenvalues) pass.
inline double rankThreshold(int rows, int cols, double largestSingularValue)
{
    return 0.5 * std::sqrt(rows + cols + 1.0) * largestSingularValue *
           std::numeric_limits<double>::epsilon();
}
