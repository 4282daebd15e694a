#include "numerics/SVD.h"

#include "numerics/NRError.h"
#include "numerics/RankThreshold.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace NR3 {

namespace {

constexpr int maxIterations = 30;

// Householder reflector H = I − beta·v·vᵀ; beta = 0 stands for H = I.
struct Reflector
{
    std::vector<double> v;
    double beta = 0.0;
};

// The reflector with H·x = alpha·e₁; returns alpha. The vector is scaled by
// its largest magnitude first, so that no square can overflow or underflow.
double makeReflector(std::vector<double> x, Reflector& reflector)
{
    double scale = 0.0;
    for (double value : x)
        scale = std::max(scale, std::fabs(value));
    reflector.beta = 0.0;
    if (scale == 0.0) {
        reflector.v.clear();
        return 0.0;
    }
    double sumOfSquares = 0.0;
    for (double& value : x) {
        value /= scale;
        sumOfSquares += value * value;
    }
    const double norm = std::sqrt(sumOfSquares);
    // alpha takes the sign opposite to x₀, so that v₀ = x₀ − alpha does not
    // cancel; then vᵀv = 2·norm·(norm + |x₀|).
    const double alpha = x[0] >= 0.0 ? -norm : norm;
    reflector.beta = 1.0 / (norm * (norm + std::fabs(x[0])));
    x[0] -= alpha;
    reflector.v = std::move(x);
    return alpha * scale;
}

// target ← H·target on rows firstRow .. firstRow + |v| − 1, columns from
// firstColumn on.
void reflectRows(const Reflector& h, Matrix& target, int firstRow, int firstColumn)
{
    if (h.beta == 0.0)
        return;
    const int length = static_cast<int>(h.v.size());
    for (int c = firstColumn; c < target.ncols(); ++c) {
        double dot = 0.0;
        for (int k = 0; k < length; ++k)
            dot += h.v[k] * target[firstRow + k][c];
        const double factor = h.beta * dot;
        for (int k = 0; k < length; ++k)
            target[firstRow + k][c] -= factor * h.v[k];
    }
}

// target ← target·H on columns firstColumn .. firstColumn + |v| − 1, rows from
// firstRow on.
void reflectColumns(const Reflector& h, Matrix& target, int firstColumn, int firstRow)
{
    if (h.beta == 0.0)
        return;
    const int length = static_cast<int>(h.v.size());
    for (int r = firstRow; r < target.nrows(); ++r) {
        double dot = 0.0;
        for (int k = 0; k < length; ++k)
            dot += h.v[k] * target[r][firstColumn + k];
        const double factor = h.beta * dot;
        for (int k = 0; k < length; ++k)
            target[r][firstColumn + k] -= factor * h.v[k];
    }
}

// Plane rotation (c, s) with c·f + s·g = r and −s·f + c·g = 0.
void rotationFor(double f, double g, double& c, double& s, double& r)
{
    r = std::hypot(f, g);
    if (r == 0.0) {
        c = 1.0;
        s = 0.0;
        return;
    }
    c = f / r;
    s = g / r;
}

// Columns p and q of a become c·a_p + s·a_q and −s·a_p + c·a_q.
void rotateColumns(Matrix& a, int p, int q, double c, double s)
{
    for (int row = 0; row < a.nrows(); ++row) {
        const double x = a[row][p];
        const double y = a[row][q];
        a[row][p] = c * x + s * y;
        a[row][q] = c * y - s * x;
    }
}

void negateColumn(Matrix& a, int column)
{
    for (int row = 0; row < a.nrows(); ++row)
        a[row][column] = -a[row][column];
}

} // namespace

SVD::SVD(const Matrix& a)
    : m(a.nrows())
    , n(a.ncols())
    , right(a.ncols(), a.ncols())
    , values(static_cast<std::size_t>(a.ncols()), 0.0)
{
    // A wide matrix is handled as the square one with zero rows appended; the
    // extra rows of U are dropped at the end.
    const int rows = std::max(m, n);
    Matrix work(rows, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            work[i][j] = a[i][j];

    decompose(work);

    left.resize(m, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            left[i][j] = work[i][j];

    reorder();
    threshold = defaultThreshold();
}

// Reduces work to upper bidiagonal form B = Qᵀ·A·P by alternating Householder
// reflections from the left (clearing a column below the diagonal) and from
// the right (clearing a row right of the superdiagonal), accumulates P into
// right and Q into work, and diagonalizes B.
void SVD::decompose(Matrix& work)
{
    const int rows = work.nrows();
    std::vector<double> superdiagonal(static_cast<std::size_t>(n), 0.0);
    std::vector<Reflector> leftReflectors(static_cast<std::size_t>(n));
    std::vector<Reflector> rightReflectors(static_cast<std::size_t>(n));

    for (int i = 0; i < n; ++i) {
        std::vector<double> column;
        for (int r = i; r < rows; ++r)
            column.push_back(work[r][i]);
        values[i] = makeReflector(column, leftReflectors[i]);
        reflectRows(leftReflectors[i], work, i, i + 1);

        if (i + 2 < n) {
            const std::vector<double> row(work[i] + i + 1, work[i] + n);
            superdiagonal[i + 1] = makeReflector(row, rightReflectors[i]);
            reflectColumns(rightReflectors[i], work, i + 1, i + 1);
        } else if (i + 1 < n) {
            superdiagonal[i + 1] = work[i][i + 1];
        }
    }

    double anorm = 0.0;
    for (int i = 0; i < n; ++i)
        anorm = std::max(anorm, std::fabs(values[i]) + std::fabs(superdiagonal[i]));

    // P = P₀·P₁·… and Q = Q₀·Q₁·…·[I; 0], each accumulated from its last
    // reflector backwards, so that every reflector only touches the trailing
    // block it acts on.
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            right[i][j] = i == j ? 1.0 : 0.0;
    for (int i = n - 3; i >= 0; --i)
        reflectRows(rightReflectors[i], right, i + 1, i + 1);

    Matrix uWork(rows, n);
    for (int i = 0; i < n; ++i)
        uWork[i][i] = 1.0;
    for (int i = n - 1; i >= 0; --i)
        reflectRows(leftReflectors[i], uWork, i, i);

    diagonalize(uWork, superdiagonal, anorm);
    work = uWork;
}

// Drives the superdiagonal e of B (e[i] couples rows i−1 and i) to zero with
// implicitly shifted QR sweeps, from the bottom singular value upwards. The
// rotations are accumulated into uWork (from the left) and right (from the
// right). An element counts as zero when it is at most eps·anorm.
void SVD::diagonalize(Matrix& uWork, std::vector<double>& e, double anorm)
{
    std::vector<double>& d = values;
    const double negligible = std::numeric_limits<double>::epsilon() * anorm;

    for (int k = n - 1; k >= 0; --k) {
        for (int iteration = 1;; ++iteration) {
            // Find the top l of the unreduced block l .. k: either e[l] is
            // negligible (the block splits there), or d[l−1] is, in which case
            // e[l] has to be rotated away against row l−1 first.
            int l = k;
            bool cancel = false;
            while (l > 0 && std::fabs(e[l]) > negligible) {
                if (std::fabs(d[l - 1]) <= negligible) {
                    cancel = true;
                    break;
                }
                --l;
            }

            if (cancel) {
                // Row l−1 holds only e[l]; chase it to the right out of the
                // matrix with rotations of rows (l−1, i).
                double c = 0.0;
                double s = 1.0;
                for (int i = l; i <= k; ++i) {
                    const double f = s * e[i];
                    e[i] = c * e[i];
                    if (std::fabs(f) <= negligible)
                        break;
                    const double g = d[i];
                    const double h = std::hypot(f, g);
                    d[i] = h;
                    c = g / h;
                    s = -f / h;
                    rotateColumns(uWork, l - 1, i, c, s);
                }
            }

            if (l == k) {
                if (d[k] < 0.0) {
                    d[k] = -d[k];
                    negateColumn(right, k);
                }
                break;
            }
            if (iteration == maxIterations)
                throw NRError("no convergence in 30 svdcmp iterations");

            // Wilkinson shift: the eigenvalue of the trailing 2 × 2 block of
            // BᵀB that lies closer to its last diagonal element. Everything is
            // divided by the largest entry involved to keep the squares finite.
            const double scale =
                std::max({std::fabs(d[l]), std::fabs(d[k - 1]), std::fabs(d[k]),
                          std::fabs(e[k - 1]), std::fabs(e[k]), std::fabs(e[l + 1])});
            const double y = d[k - 1] / scale;
            const double z = d[k] / scale;
            const double above = k - 1 > l ? e[k - 1] / scale : 0.0;
            const double h = e[k] / scale;
            const double t11 = y * y + above * above;
            const double t22 = z * z + h * h;
            const double t12 = y * h;
            const double half = 0.5 * (t11 - t22);
            const double root = std::copysign(std::hypot(half, t12), half);
            const double shift = half + root == 0.0 ? t22 : t22 - t12 * t12 / (half + root);

            // First column of BᵀB − shift·I decides the first rotation; the
            // rest chase the resulting bulge down the bidiagonal.
            const double top = d[l] / scale;
            double f = top * top - shift;
            double g = top * (e[l + 1] / scale);
            for (int i = l; i < k; ++i) {
                double c;
                double s;
                double r;
                rotationFor(f, g, c, s, r);
                if (i > l)
                    e[i] = r;
                const double diagonal = c * d[i] + s * e[i + 1];
                e[i + 1] = c * e[i + 1] - s * d[i];
                const double bulge = s * d[i + 1];
                d[i + 1] = c * d[i + 1];
                rotateColumns(right, i, i + 1, c, s);

                rotationFor(diagonal, bulge, c, s, r);
                d[i] = r;
                f = c * e[i + 1] + s * d[i + 1];
                d[i + 1] = c * d[i + 1] - s * e[i + 1];
                e[i + 1] = f;
                if (i + 1 < k) {
                    g = s * e[i + 2];
                    e[i + 2] = c * e[i + 2];
                }
                rotateColumns(uWork, i, i + 1, c, s);
            }
            e[l] = 0.0;
        }
    }
}

// Sorts the singular values into decreasing order by Shell's method (gaps
// 1, 4, 13, 40, …), moving the columns of U and V with them, then flips the
// sign of each pair of columns in which most entries are negative.
void SVD::reorder()
{
    int gap = 1;
    while (3 * gap + 1 <= n)
        gap = 3 * gap + 1;

    std::vector<double> uColumn(static_cast<std::size_t>(m));
    std::vector<double> vColumn(static_cast<std::size_t>(n));
    for (; gap >= 1; gap /= 3) {
        for (int i = gap; i < n; ++i) {
            const double value = values[i];
            for (int r = 0; r < m; ++r)
                uColumn[r] = left[r][i];
            for (int r = 0; r < n; ++r)
                vColumn[r] = right[r][i];
            int j = i;
            while (j >= gap && values[j - gap] < value) {
                values[j] = values[j - gap];
                for (int r = 0; r < m; ++r)
                    left[r][j] = left[r][j - gap];
                for (int r = 0; r < n; ++r)
                    right[r][j] = right[r][j - gap];
                j -= gap;
            }
            values[j] = value;
            for (int r = 0; r < m; ++r)
                left[r][j] = uColumn[r];
            for (int r = 0; r < n; ++r)
                right[r][j] = vColumn[r];
        }
    }

    for (int k = 0; k < n; ++k) {
        int negatives = 0;
        for (int r = 0; r < m; ++r)
            negatives += left[r][k] < 0.0 ? 1 : 0;
        for (int r = 0; r < n; ++r)
            negatives += right[r][k] < 0.0 ? 1 : 0;
        if (negatives > (m + n) / 2) {
            negateColumn(left, k);
            negateColumn(right, k);
        }
    }
}

double SVD::defaultThreshold() const
{
    if (n == 0)
        return 0.0;
    return rankThreshold(m, n, values[0]);
}

int SVD::rank(double thresh) const
{
    const double limit = thresh >= 0.0 ? thresh : defaultThreshold();
    int count = 0;
    for (double value : values)
        if (value > limit)
            ++count;
    return count;
}

} // namespace NR3
