#pragma once

#include "numerics/NRMatrix.h"

#include <vector>

namespace NR3 {

// Singular value decomposition A = U·diag(w)·Vᵀ of an m × n matrix by the
// Golub–Reinsch method: Householder reduction to upper bidiagonal form, then
// implicitly shifted QR sweeps on the bidiagonal. The covariance computation
// uses it only to count the singular values above a noise threshold (the
// numerical rank of the Hessian).
class SVD
{
public:
    // Decomposes a at once. The singular values come out non-negative and in
    // decreasing order. Throws NRError "no convergence in 30 svdcmp
    // iterations" when a singular value does not settle.
    explicit SVD(const Matrix& a);

    // Number of singular values strictly greater than thresh; a negative
    // thresh means the default threshold tsh().
    int rank(double thresh = -1.0) const;

    const Matrix& u() const { return left; }
    const Matrix& v() const { return right; }
    const std::vector<double>& w() const { return values; }
    // Default rank threshold, rankThreshold(m, n, w[0]): singular values at or
    // below it are indistinguishable from rounding noise.
    double tsh() const { return threshold; }

private:
    void decompose(Matrix& work);
    void diagonalize(Matrix& uWork, std::vector<double>& superdiagonal, double anorm);
    void reorder();
    double defaultThreshold() const;

    int m;
    int n;
    Matrix left;
    Matrix right;
    std::vector<double> values;
    double threshold = 0.0;
};

} // namespace NR3
