#pragma once

#include <vector>

// The split of R^n by a set of directions into their span and the span's
// orthogonal complement, by modified Gram-Schmidt. A direction that adds less
// than a relative 1e-10 of its length to the span already found counts as
// dependent. The complement is built from the unit vectors e_0 .. e_{n-1} in
// turn, so that a unit vector orthogonal to every direction is kept exactly as
// it is: where the directions are unit vectors themselves, the complement is
// the unit vectors of the remaining coordinates, free of rounding.
struct OrthogonalSplit
{
    // inSpan[k]: e_k lies in the span of the directions (to a relative 1e-10).
    std::vector<bool> inSpan;
    // An orthonormal basis of the complement, each vector of length n.
    std::vector<std::vector<double>> complement;
};

// directions: vectors of length n (any length, zero vectors allowed).
OrthogonalSplit orthogonalSplit(const std::vector<std::vector<double>>& directions, int n);
