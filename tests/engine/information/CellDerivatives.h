#pragma once

#include "engine/likelihoods/ReleaseRecaptureLikelihoodFunc.h"
#include "numerics/Matrix.h"

#include <vector>

namespace quorvel::test {

// The exact Hessian of an enumerated likelihood's negative log-likelihood at
// parameters: the sum over the cells with a positive expected count n_k of
// n_k (grad pi_k grad pi_k^T / pi_k^2 - Hess pi_k / pi_k), where every cell
// expression is walked with second-order forward-mode differentiation.
Matrix enumeratedHessian(const ReleaseRecaptureLikelihoodFunc& likelihood,
                         const std::vector<double>& parameters);

} // namespace quorvel::test
