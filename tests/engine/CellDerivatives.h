#pragma once

#include "engine/Expression.h"
#include "engine/Matrix.h"
#include "engine/ReleaseRecaptureLikelihoodFunc.h"

#include <vector>

namespace quorvel::test {

// The value, gradient and Hessian of a parameter expression at parameters,
// found by walking its elements and operations with second-order
// forward-mode differentiation. The derivatives are taken only by the
// parameters the expression mentions (indices), which keeps the cells of the
// enumerated likelihoods cheap.
struct CellDerivatives
{
    std::vector<int> indices;
    double value = 0.0;
    std::vector<double> gradient; // by indices[i]
    Matrix hessian;               // by indices[i], indices[j]
};

CellDerivatives differentiate(const Expression& expression, const std::vector<double>& parameters);

// The exact Hessian of the enumerated likelihood's negative log-likelihood at
// parameters: sum over the cells with a positive expected count n_k of
// n_k (grad pi_k grad pi_k^T / pi_k^2 - Hess pi_k / pi_k).
Matrix enumeratedHessian(const ReleaseRecaptureLikelihoodFunc& likelihood,
                         const std::vector<double>& parameters);

} // namespace quorvel::test
