#pragma once

#include "numerics/NRMatrix.h"

#include <vector>

namespace NR3 {

// LU decomposition of a square matrix by Crout's method with implicit partial
// pivoting (each row scaled by its largest element when choosing pivots).
// The covariance computation uses it to invert the Hessian.
class LUdcmp
{
public:
    // Decomposes a at once. Throws NRError "Singular matrix in LUdcmp" when a
    // row of a is entirely zero.
    explicit LUdcmp(const Matrix& a);

    // Solves A·x = b. b and x must both have n elements; x may be b itself.
    void solve(const std::vector<double>& b, std::vector<double>& x) const;
    // Solves A·X = B column by column. B and X must have n rows and the same
    // number of columns; X may be B itself.
    void solve(const Matrix& b, Matrix& x) const;
    // Sets ainv to the inverse of A.
    void inverse(Matrix& ainv) const;

    int n() const { return order; }
    // L below the diagonal (unit diagonal implied) and U on and above it, of
    // the row-permuted matrix.
    const Matrix& lu() const { return factors; }
    // indx()[k] is the row swapped with row k at step k.
    const std::vector<int>& indx() const { return swaps; }
    // +1 for an even, -1 for an odd number of row interchanges.
    double d() const { return parity; }

private:
    int order;
    Matrix factors;
    std::vector<int> swaps;
    double parity = 1.0;
};

} // namespace NR3
