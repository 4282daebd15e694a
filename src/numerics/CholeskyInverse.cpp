#include "numerics/CholeskyInverse.h"

#include "numerics/NRError.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// A lower triangular n × n matrix, row i holding its i + 1 entries.
class LowerTriangle
{
public:
    explicit LowerTriangle(int n)
        : values(static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2)
    {}

    double* row(int i) { return values.data() + static_cast<std::size_t>(i) * (i + 1) / 2; }
    const double* row(int i) const
    {
        return values.data() + static_cast<std::size_t>(i) * (i + 1) / 2;
    }

private:
    std::vector<double> values;
};

double dot(const double* x, const double* y, int count)
{
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += x[k] * y[k];
    return sum;
}

} // namespace

void choleskyInverse(const Matrix& a, Matrix& inverse)
{
    if (a.rows() != a.cols())
        throw NR3::NRError("Matrix not square in CholeskyInverse");
    const int n = a.rows();

    // L(i, j) = (A(i, j) - sum_{k<j} L(i, k) L(j, k)) / L(j, j), and
    // L(j, j) = sqrt(A(j, j) - sum_{k<j} L(j, k)^2), column by column. Each
    // sum is a chain of dependent additions; four rows of a column are summed
    // side by side, each in its own order k = 0, 1, ..., so that the
    // additions overlap and every entry is rounded as if computed alone.
    LowerTriangle l(n);
    for (int j = 0; j < n; ++j) {
        double* lj = l.row(j);
        const double pivot = a(j, j) - dot(lj, lj, j);
        if (!(pivot > 0.0) || !std::isfinite(pivot))
            throw NR3::NRError("Matrix not positive definite in CholeskyInverse");
        lj[j] = std::sqrt(pivot);
        int i = j + 1;
        for (; i + 3 < n; i += 4) {
            double* r0 = l.row(i);
            double* r1 = l.row(i + 1);
            double* r2 = l.row(i + 2);
            double* r3 = l.row(i + 3);
            double s0 = 0.0;
            double s1 = 0.0;
            double s2 = 0.0;
            double s3 = 0.0;
            for (int k = 0; k < j; ++k) {
                const double ljk = lj[k];
                s0 += r0[k] * ljk;
                s1 += r1[k] * ljk;
                s2 += r2[k] * ljk;
                s3 += r3[k] * ljk;
            }
            r0[j] = (a(i, j) - s0) / lj[j];
            r1[j] = (a(i + 1, j) - s1) / lj[j];
            r2[j] = (a(i + 2, j) - s2) / lj[j];
            r3[j] = (a(i + 3, j) - s3) / lj[j];
        }
        for (; i < n; ++i) {
            double* li = l.row(i);
            li[j] = (a(i, j) - dot(li, lj, j)) / lj[j];
        }
    }

    // M = L^-1, lower triangular: M(i, i) = 1 / L(i, i) and, for j < i,
    // M(i, j) = -(sum_{j<=k<i} L(i, k) M(k, j)) / L(i, i), the terms taken in
    // the order of k. Four entries of a row are summed side by side; entry
    // j + r joins at k = j + r.
    LowerTriangle m(n);
    for (int i = 0; i < n; ++i) {
        const double* li = l.row(i);
        double* mi = m.row(i);
        int j = 0;
        for (; j + 3 < i; j += 4) {
            const double* mj = m.row(j);
            const double* mj1 = m.row(j + 1);
            const double* mj2 = m.row(j + 2);
            double s0 = 0.0 - li[j] * mj[j];
            s0 -= li[j + 1] * mj1[j];
            double s1 = 0.0 - li[j + 1] * mj1[j + 1];
            s0 -= li[j + 2] * mj2[j];
            s1 -= li[j + 2] * mj2[j + 1];
            double s2 = 0.0 - li[j + 2] * mj2[j + 2];
            double s3 = 0.0;
            for (int k = j + 3; k < i; ++k) {
                const double* mk = m.row(k);
                const double lik = li[k];
                s0 -= lik * mk[j];
                s1 -= lik * mk[j + 1];
                s2 -= lik * mk[j + 2];
                s3 -= lik * mk[j + 3];
            }
            mi[j] = s0 / li[i];
            mi[j + 1] = s1 / li[i];
            mi[j + 2] = s2 / li[i];
            mi[j + 3] = s3 / li[i];
        }
        for (; j < i; ++j) {
            double sum = 0.0;
            for (int k = j; k < i; ++k)
                sum -= li[k] * m.row(k)[j];
            mi[j] = sum / li[i];
        }
        mi[i] = 1.0 / li[i];
    }

    // A^-1 = M^T M: A^-1(i, j) = sum_{k>=i} M(k, i) M(k, j) for j <= i, the
    // terms taken in the order of k, four entries of a row side by side; the
    // upper triangle is the mirror.
    inverse.resize(n, n);
    for (int i = 0; i < n; ++i) {
        double* target = inverse.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(n);
        int j = 0;
        for (; j + 3 <= i; j += 4) {
            double s0 = 0.0;
            double s1 = 0.0;
            double s2 = 0.0;
            double s3 = 0.0;
            for (int k = i; k < n; ++k) {
                const double* mk = m.row(k);
                const double mki = mk[i];
                s0 += mki * mk[j];
                s1 += mki * mk[j + 1];
                s2 += mki * mk[j + 2];
                s3 += mki * mk[j + 3];
            }
            target[j] = s0;
            target[j + 1] = s1;
            target[j + 2] = s2;
            target[j + 3] = s3;
        }
        for (; j <= i; ++j) {
            double sum = 0.0;
            for (int k = i; k < n; ++k)
                sum += m.row(k)[i] * m.row(k)[j];
            target[j] = sum;
        }
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            inverse(j, i) = inverse(i, j);
}
