#include "numerics/OrthogonalComplement.h"

#include <cmath>
#include <cstddef>

namespace {

using Vector = std::vector<double>;

double dot(const Vector& a, const Vector& b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

// Removes from v its components along the orthonormal vectors of basis.
void project(Vector& v, const std::vector<Vector>& basis)
{
    for (const Vector& q : basis) {
        const double c = dot(v, q);
        if (c == 0.0)
            continue;
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] -= c * q[i];
    }
}

// Appends v, made orthogonal to basis, when enough of it is left: more than
// a relative 1e-10 of its length before.
bool extend(Vector v, std::vector<Vector>& basis, const std::vector<Vector>& against)
{
    const double before = std::sqrt(dot(v, v));
    if (before == 0.0)
        return false;
    project(v, against);
    project(v, basis);
    const double after = std::sqrt(dot(v, v));
    if (!(after > 1e-10 * before))
        return false;
    for (double& x : v)
        x /= after;
    basis.push_back(std::move(v));
    return true;
}

} // namespace

OrthogonalSplit orthogonalSplit(const std::vector<Vector>& directions, int n)
{
    const std::size_t size = static_cast<std::size_t>(n);
    std::vector<Vector> span;
    for (const Vector& d : directions)
        extend(d, span, {});

    OrthogonalSplit split;
    split.inSpan.assign(size, false);
    for (std::size_t k = 0; k < size; ++k) {
        Vector unit(size, 0.0);
        unit[k] = 1.0;
        double inside = 0.0;
        for (const Vector& q : span)
            inside += q[k] * q[k];
        split.inSpan[k] = 1.0 - inside < 1e-10;
        if (!split.inSpan[k])
            extend(unit, split.complement, span);
    }
    return split;
}
