#include "numerics/LUdcmp.h"

#include "numerics/NRError.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace NR3 {

namespace {

// Stands in for an exactly zero pivot, so that a singular matrix still
// decomposes (the rank test decides elsewhere whether it is usable).
constexpr double tinyPivot = 1.0e-40;

} // namespace

LUdcmp::LUdcmp(const Matrix& a)
    : order(a.nrows())
    , factors(a)
    , swaps(static_cast<std::size_t>(a.nrows()))
{
    if (a.ncols() != order)
        throw NRError("LUdcmp: matrix is not square");

    // Implicit pivoting compares candidates as if each row had been scaled so
    // that its largest element were 1.
    std::vector<double> rowScale(static_cast<std::size_t>(order));
    for (int i = 0; i < order; ++i) {
        double largest = 0.0;
        for (int j = 0; j < order; ++j)
            largest = std::max(largest, std::fabs(factors[i][j]));
        if (largest == 0.0)
            throw NRError("Singular matrix in LUdcmp");
        rowScale[i] = 1.0 / largest;
    }

    for (int k = 0; k < order; ++k) {
        int pivotRow = k;
        double best = 0.0;
        for (int i = k; i < order; ++i) {
            const double weight = rowScale[i] * std::fabs(factors[i][k]);
            if (weight > best) {
                best = weight;
                pivotRow = i;
            }
        }
        if (pivotRow != k) {
            for (int j = 0; j < order; ++j)
                std::swap(factors[pivotRow][j], factors[k][j]);
            parity = -parity;
            rowScale[pivotRow] = rowScale[k];
        }
        swaps[k] = pivotRow;
        if (factors[k][k] == 0.0)
            factors[k][k] = tinyPivot;

        // Eliminate column k below the pivot; the multipliers are stored in
        // place as the column of L.
        const double* pivot = factors[k];
        for (int i = k + 1; i < order; ++i) {
            double* row = factors[i];
            const double multiplier = row[k] / pivot[k];
            row[k] = multiplier;
            for (int j = k + 1; j < order; ++j)
                row[j] -= multiplier * pivot[j];
        }
    }
}

void LUdcmp::solve(const std::vector<double>& b, std::vector<double>& x) const
{
    const auto n = static_cast<std::size_t>(order);
    if (b.size() != n || x.size() != n)
        throw NRError("LUdcmp::solve bad sizes");
    if (&x != &b)
        x = b;

    // Forward substitution with L, undoing the row interchanges on the way.
    // Leading rows whose right-hand side is zero contribute nothing, so the
    // sums start at the first row with a non-zero value.
    int firstNonZero = -1;
    for (int i = 0; i < order; ++i) {
        const int swapped = swaps[i];
        double sum = x[swapped];
        x[swapped] = x[i];
        if (firstNonZero >= 0) {
            for (int j = firstNonZero; j < i; ++j)
                sum -= factors[i][j] * x[j];
        } else if (sum != 0.0) {
            firstNonZero = i;
        }
        x[i] = sum;
    }

    // Back substitution with U.
    for (int i = order - 1; i >= 0; --i) {
        double sum = x[i];
        for (int j = i + 1; j < order; ++j)
            sum -= factors[i][j] * x[j];
        x[i] = sum / factors[i][i];
    }
}

void LUdcmp::solve(const Matrix& b, Matrix& x) const
{
    if (b.nrows() != order || x.nrows() != order || b.ncols() != x.ncols())
        throw NRError("LUdcmp::solve bad sizes");
    std::vector<double> column(static_cast<std::size_t>(order));
    for (int j = 0; j < b.ncols(); ++j) {
        for (int i = 0; i < order; ++i)
            column[i] = b[i][j];
        solve(column, column);
        for (int i = 0; i < order; ++i)
            x[i][j] = column[i];
    }
}

void LUdcmp::inverse(Matrix& ainv) const
{
    ainv.resize(order, order);
    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j)
            ainv[i][j] = i == j ? 1.0 : 0.0;
    solve(ainv, ainv);
}

} // namespace NR3
