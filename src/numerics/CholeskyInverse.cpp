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
    // M(i, j) = -(sum_{j<=k<i} L(i, k) M(k, j)) / L(i, i). Rows k of M are
    // taken two at a time, which halves the passes over row i without
    // changing the order of any entry's terms.
    LowerTriangle m(n);
    for (int i = 0; i < n; ++i) {
        const double* li = l.row(i);
        double* mi = m.row(i);
        for (int j = 0; j < i; ++j)
            mi[j] = 0.0;
        int k = 0;
        for (; k + 1 < i; k += 2) {
            const double* mk = m.row(k);
            const double* mk1 = m.row(k + 1);
            for (int j = 0; j <= k; ++j)
                mi[j] = mi[j] - li[k] * mk[j] - li[k + 1] * mk1[j];
            mi[k + 1] -= li[k + 1] * mk1[k + 1];
        }
        for (; k < i; ++k) {
            const double* mk = m.row(k);
            for (int j = 0; j <= k; ++j)
                mi[j] -= li[k] * mk[j];
        }
        for (int j = 0; j < i; ++j)
            mi[j] /= li[i];
        mi[i] = 1.0 / li[i];
    }

    // A^-1 = M^T M: A^-1(i, j) = sum_{k>=max(i,j)} M(k, i) M(k, j), gathered
    // row by row of M into the lower triangle, two rows at a time as above,
    // and mirrored.
    inverse.resize(n, n);
    const auto row = [&inverse, n](int i) {
        return inverse.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(n);
    };
    int k = 0;
    for (; k + 1 < n; k += 2) {
        const double* mk = m.row(k);
        const double* mk1 = m.row(k + 1);
        for (int i = 0; i <= k; ++i) {
            double* target = row(i);
            const double mki = mk[i];
            const double mk1i = mk1[i];
            for (int j = 0; j <= i; ++j)
                target[j] = target[j] + mki * mk[j] + mk1i * mk1[j];
        }
        double* target = row(k + 1);
        for (int j = 0; j <= k + 1; ++j)
            target[j] += mk1[k + 1] * mk1[j];
    }
    for (; k < n; ++k) {
        const double* mk = m.row(k);
        for (int i = 0; i <= k; ++i) {
            double* target = row(i);
            const double mki = mk[i];
            for (int j = 0; j <= i; ++j)
                target[j] += mki * mk[j];
        }
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            inverse(j, i) = inverse(i, j);
}
