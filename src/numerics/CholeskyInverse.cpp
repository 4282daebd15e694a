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
    // L(j, j) = sqrt(A(j, j) - sum_{k<j} L(j, k)^2).
    LowerTriangle l(n);
    for (int i = 0; i < n; ++i) {
        double* li = l.row(i);
        for (int j = 0; j < i; ++j)
            li[j] = (a(i, j) - dot(li, l.row(j), j)) / l.row(j)[j];
        const double pivot = a(i, i) - dot(li, li, i);
        if (!(pivot > 0.0) || !std::isfinite(pivot))
            throw NR3::NRError("Matrix not positive definite in CholeskyInverse");
        li[i] = std::sqrt(pivot);
    }

    // M = L^-1, lower triangular: M(i, i) = 1 / L(i, i) and, for j < i,
    // M(i, j) = -(sum_{j<=k<i} L(i, k) M(k, j)) / L(i, i).
    LowerTriangle m(n);
    for (int i = 0; i < n; ++i) {
        const double* li = l.row(i);
        double* mi = m.row(i);
        for (int j = 0; j < i; ++j)
            mi[j] = 0.0;
        for (int k = 0; k < i; ++k) {
            const double* mk = m.row(k);
            for (int j = 0; j <= k; ++j)
                mi[j] -= li[k] * mk[j];
        }
        for (int j = 0; j < i; ++j)
            mi[j] /= li[i];
        mi[i] = 1.0 / li[i];
    }

    // A^-1 = M^T M: A^-1(i, j) = sum_{k>=max(i,j)} M(k, i) M(k, j), gathered
    // row by row of M into the lower triangle and mirrored.
    inverse.resize(n, n);
    for (int k = 0; k < n; ++k) {
        const double* mk = m.row(k);
        for (int i = 0; i <= k; ++i) {
            double* target = inverse.data() + static_cast<std::size_t>(i) * n;
            const double mki = mk[i];
            for (int j = 0; j <= i; ++j)
                target[j] += mki * mk[j];
        }
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            inverse(j, i) = inverse(i, j);
}
