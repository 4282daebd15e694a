#include "numerics/SymmetricEigenvalues.h"

#include "numerics/NRError.h"
#include "numerics/RankThreshold.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// Householder reduction of the symmetric matrix a (n x n, row-major, both
// triangles filled) to a tridiagonal matrix with diagonal diag and
// off-diagonal off (off[k] couples rows k and k + 1). Step k reflects rows and
// columns k + 1 .. n - 1 so that column k has zeros below its subdiagonal:
// with x the part of column k below the diagonal, v = x - alpha e_1 where
// alpha = -sign(x_1) |x|, beta = 2 / v^T v, the trailing block B becomes
// (I - beta v v^T) B (I - beta v v^T) = B - v w^T - w v^T, with p = beta B v and
// w = p - (beta p^T v / 2) v.
void tridiagonalise(std::vector<double>& a, int n, std::vector<double>& diag,
                    std::vector<double>& off)
{
    const auto at = [&a, n](int i, int j) -> double& {
        return a[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) +
                 static_cast<std::size_t>(j)];
    };
    std::vector<double> v(static_cast<std::size_t>(n));
    std::vector<double> w(static_cast<std::size_t>(n));
    for (int k = 0; k + 2 < n; ++k) {
        double scale = 0.0;
        for (int i = k + 1; i < n; ++i)
            scale = std::max(scale, std::fabs(at(i, k)));
        double tail = 0.0;
        if (scale > 0.0) {
            for (int i = k + 2; i < n; ++i) {
                v[i] = at(i, k) / scale;
                tail += v[i] * v[i];
            }
        }
        if (tail == 0.0) {
            off[k] = at(k + 1, k);
            continue;
        }
        const double head = at(k + 1, k) / scale;
        const double norm = std::sqrt(head * head + tail);
        const double alpha = head >= 0.0 ? -norm : norm;
        v[k + 1] = head - alpha;
        const double beta = 2.0 / (v[k + 1] * v[k + 1] + tail);

        // p = beta B v, four rows side by side, each summed in the order of
        // j so that every entry is rounded as if computed alone.
        int i = k + 1;
        for (; i + 3 < n; i += 4) {
            const double* r0 = &at(i, 0);
            const double* r1 = &at(i + 1, 0);
            const double* r2 = &at(i + 2, 0);
            const double* r3 = &at(i + 3, 0);
            double s0 = 0.0;
            double s1 = 0.0;
            double s2 = 0.0;
            double s3 = 0.0;
            for (int j = k + 1; j < n; ++j) {
                const double vj = v[j];
                s0 += r0[j] * vj;
                s1 += r1[j] * vj;
                s2 += r2[j] * vj;
                s3 += r3[j] * vj;
            }
            w[i] = beta * s0;
            w[i + 1] = beta * s1;
            w[i + 2] = beta * s2;
            w[i + 3] = beta * s3;
        }
        for (; i < n; ++i) {
            double sum = 0.0;
            for (int j = k + 1; j < n; ++j)
                sum += at(i, j) * v[j];
            w[i] = beta * sum;
        }
        double pv = 0.0;
        for (i = k + 1; i < n; ++i)
            pv += w[i] * v[i];
        const double half = 0.5 * beta * pv;
        for (int i = k + 1; i < n; ++i)
            w[i] -= half * v[i];
        const double* __restrict vp = v.data();
        const double* __restrict wp = w.data();
        for (int i = k + 1; i < n; ++i) {
            double* __restrict row = &at(i, 0);
            const double vi = vp[i];
            const double wi = wp[i];
            for (int j = k + 1; j < n; ++j)
                row[j] -= vi * wp[j] + wi * vp[j];
        }
        off[k] = alpha * scale;
    }
    if (n >= 2)
        off[n - 2] = at(n - 1, n - 2);
    for (int i = 0; i < n; ++i)
        diag[i] = at(i, i);
}

// Diagonalises the symmetric tridiagonal matrix (diag, off) in place by
// implicit QR steps. Each step works on the lowest unreduced block l .. m: it
// takes the Wilkinson shift mu (the eigenvalue of the block's trailing 2 x 2
// nearer its last diagonal element), rotates rows and columns l, l + 1 so that
// the first column of the block minus mu becomes a multiple of e_1, and chases
// the resulting bulge down the block with further rotations. An off-diagonal
// element no larger than eps (|d_i| + |d_{i+1}|) is set to zero, which splits
// the matrix.
void diagonaliseTridiagonal(std::vector<double>& diag, std::vector<double>& off, int n)
{
    const double eps = std::numeric_limits<double>::epsilon();
    const auto negligible = [&](int i) {
        return std::fabs(off[i]) <= eps * (std::fabs(diag[i]) + std::fabs(diag[i + 1]));
    };
    const long limit = 30L * std::max(n, 1);
    long steps = 0;
    int m = n - 1;
    while (m > 0) {
        if (negligible(m - 1)) {
            off[m - 1] = 0.0;
            --m;
            continue;
        }
        int l = m - 1;
        while (l > 0 && !negligible(l - 1))
            --l;
        if (l > 0)
            off[l - 1] = 0.0;
        if (++steps > limit)
            throw NR3::NRError("no convergence in symmetric eigenvalue iterations");

        const double delta = 0.5 * (diag[m - 1] - diag[m]);
        const double b = off[m - 1];
        const double mu = diag[m] - b * b / (delta + std::copysign(std::hypot(delta, b), delta));

        double x = diag[l] - mu;
        double z = off[l];
        for (int k = l; k < m; ++k) {
            // Rotation [c s; -s c] with c x - s z = r and s x + c z = 0.
            const double r = std::hypot(x, z);
            const double c = r > 0.0 ? x / r : 1.0;
            const double s = r > 0.0 ? -z / r : 0.0;
            if (k > l)
                off[k - 1] = r;
            const double dk = diag[k];
            const double ek = off[k];
            const double dn = diag[k + 1];
            diag[k] = dk * c * c - 2.0 * ek * c * s + dn * s * s;
            diag[k + 1] = dk * s * s + 2.0 * ek * c * s + dn * c * c;
            off[k] = (dk - dn) * c * s + ek * (c * c - s * s);
            if (k + 1 < m) {
                x = off[k];
                z = -s * off[k + 1];
                off[k + 1] *= c;
            }
        }
    }
}

} // namespace

std::vector<double> symmetricEigenvalues(const Matrix& matrix)
{
    const int order = matrix.rows();
    const auto lower = [&matrix](int i, int j) { return i >= j ? matrix(i, j) : matrix(j, i); };

    std::vector<int> kept;
    for (int i = 0; i < order; ++i) {
        bool zero = true;
        for (int j = 0; j < order && zero; ++j)
            zero = lower(i, j) == 0.0;
        if (!zero)
            kept.push_back(i);
    }

    const int n = static_cast<int>(kept.size());
    const auto size = static_cast<std::size_t>(n);
    std::vector<double> a(size * size);
    for (std::size_t i = 0; i < size; ++i)
        for (std::size_t j = 0; j <= i; ++j)
            a[i * size + j] = a[j * size + i] = lower(kept[i], kept[j]);

    std::vector<double> diag(size);
    std::vector<double> off(size);
    tridiagonalise(a, n, diag, off);
    diagonaliseTridiagonal(diag, off, n);
    diag.resize(static_cast<std::size_t>(order), 0.0);
    return diag;
}

namespace {

// The rank threshold of the covariance computation for the n × n matrix of
// these eigenvalues, whose absolute values are its singular values.
double eigenvalueThreshold(const std::vector<double>& eigenvalues)
{
    double largest = 0.0;
    for (double e : eigenvalues)
        largest = std::max(largest, std::fabs(e));
    const int n = static_cast<int>(eigenvalues.size());
    return rankThreshold(n, n, largest);
}

} // namespace

bool symmetricHasFullRank(const Matrix& matrix)
{
    const std::vector<double> eigenvalues = symmetricEigenvalues(matrix);
    const double threshold = eigenvalueThreshold(eigenvalues);
    return std::all_of(eigenvalues.begin(), eigenvalues.end(),
                       [threshold](double e) { return std::fabs(e) > threshold; });
}

bool symmetricIsPositiveDefinite(const Matrix& matrix)
{
    const std::vector<double> eigenvalues = symmetricEigenvalues(matrix);
    const double threshold = eigenvalueThreshold(eigenvalues);
    return std::all_of(eigenvalues.begin(), eigenvalues.end(),
                       [threshold](double e) { return e > threshold; });
}
