#pragma once

#include "numerics/Matrix.h"

#include <algorithm>
#include <random>
#include <vector>

// Q diag(eigenvalues) Q^T with the reflection Q = I - 2 v v^T / v^T v, v drawn
// from seed, whose eigenvalues are exactly those given. Rows listed in
// zeroRows are zero.
inline Matrix withEigenvalues(const std::vector<double>& eigenvalues,
                              const std::vector<int>& zeroRows = {}, unsigned seed = 5)
{
    const int n = static_cast<int>(eigenvalues.size() + zeroRows.size());
    std::vector<int> rows;
    for (int i = 0; i < n; ++i)
        if (std::find(zeroRows.begin(), zeroRows.end(), i) == zeroRows.end())
            rows.push_back(i);
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<double> v(eigenvalues.size());
    double vv = 0.0;
    for (double& x : v) {
        x = normal(rng);
        vv += x * x;
    }
    Matrix a(n, n);
    const std::size_t m = eigenvalues.size();
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < m; ++j)
            for (std::size_t k = 0; k < m; ++k)
                a(rows[i], rows[j]) += ((i == k) - 2.0 * v[i] * v[k] / vv) * eigenvalues[k] *
                                       ((j == k) - 2.0 * v[j] * v[k] / vv);
    return a;
}
