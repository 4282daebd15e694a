#include "numerics/OrthogonalComplement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

using Vector = std::vector<double>;

// A vector with the increasing positions outside of which its entries are 0.
// Most vectors of a split are unit vectors or close to them: the sums and
// updates below run over these positions only. A sum that leaves out terms
// of exactly 0 is the sum over every position in the same order, so the
// split is the one of the whole vectors.
struct SparseVector
{
    Vector values;
    std::vector<int> support;
};

SparseVector sparse(const Vector& v)
{
    SparseVector s{v, {}};
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] != 0.0)
            s.support.push_back(static_cast<int>(i));
    return s;
}

double dot(const SparseVector& a, const SparseVector& b)
{
    const SparseVector& fewer = a.support.size() <= b.support.size() ? a : b;
    double sum = 0.0;
    for (int i : fewer.support)
        sum += a.values[i] * b.values[i];
    return sum;
}

// Removes from v its components along the orthonormal vectors of basis.
void project(SparseVector& v, const std::vector<SparseVector>& basis)
{
    std::vector<int> merged;
    for (const SparseVector& q : basis) {
        const double c = dot(v, q);
        if (c == 0.0)
            continue;
        for (int i : q.support)
            v.values[i] -= c * q.values[i];
        merged.clear();
        std::set_union(v.support.begin(), v.support.end(), q.support.begin(), q.support.end(),
                       std::back_inserter(merged));
        v.support.swap(merged);
    }
}

// Appends v, made orthogonal to basis, when enough of it is left: more than
// a relative 1e-10 of its length before.
bool extend(SparseVector v, std::vector<SparseVector>& basis,
            const std::vector<SparseVector>& against)
{
    const double before = std::sqrt(dot(v, v));
    if (before == 0.0)
        return false;
    project(v, against);
    project(v, basis);
    const double after = std::sqrt(dot(v, v));
    if (!(after > 1e-10 * before))
        return false;
    for (int i : v.support)
        v.values[i] /= after;
    basis.push_back(std::move(v));
    return true;
}

} // namespace

OrthogonalSplit orthogonalSplit(const std::vector<Vector>& directions, int n)
{
    const std::size_t size = static_cast<std::size_t>(n);
    std::vector<SparseVector> span;
    for (const Vector& d : directions)
        extend(sparse(d), span, {});

    OrthogonalSplit split;
    split.inSpan.assign(size, false);
    std::vector<SparseVector> complement;
    for (std::size_t k = 0; k < size; ++k) {
        double inside = 0.0;
        for (const SparseVector& q : span)
            inside += q.values[k] * q.values[k];
        split.inSpan[k] = 1.0 - inside < 1e-10;
        if (!split.inSpan[k]) {
            SparseVector unit{Vector(size, 0.0), {static_cast<int>(k)}};
            unit.values[k] = 1.0;
            extend(std::move(unit), complement, span);
        }
    }
    for (SparseVector& q : complement)
        split.complement.push_back(std::move(q.values));
    return split;
}
