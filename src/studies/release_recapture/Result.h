#pragma once

#include "numerics/Matrix.h"

#include <cstddef>
#include <vector>

// One computed point of a release-recapture run: the true parameter vector,
// its expected variance-covariance matrix (both in the likelihood's parameter
// order), the release sizes of the point and which parameters are known
// exactly (a detection or lambda of 1 that the data would show to be 1):
// their variance is 0.
class Result
{
public:
    // known: one flag per parameter, or empty when none is known.
    Result(std::vector<double> estimates, Matrix covariance, std::vector<int> releaseSizes,
           std::vector<bool> known = {});

    const std::vector<double>& estimates() const { return parameterValues; }
    const Matrix& covariance() const { return variances; }
    const std::vector<int>& releaseSizes() const { return releases; }
    bool isKnown(int index) const
    {
        return static_cast<std::size_t>(index) < knownParameters.size() &&
               knownParameters[static_cast<std::size_t>(index)];
    }
    const std::vector<bool>& known() const { return knownParameters; }

    // Π θ_j over the entries j of indices (1 for none); an index may repeat,
    // as when several reaches share one survival parameter. Throws
    // std::invalid_argument for an index that is not a parameter.
    double product(const std::vector<int>& indices) const;

    // Delta-method variance of product(indices): gᵀ·Σ·g, where g_j, the
    // derivative of the product by θ_j, is (multiplicity of j) × the product
    // with one occurrence of j left out. Computed without dividing by θ_j, so
    // a zero estimate is harmless. Throws std::invalid_argument for an index
    // that is not a parameter.
    double productVariance(const std::vector<int>& indices) const;

private:
    std::vector<double> parameterValues;
    Matrix variances;
    std::vector<int> releases;
    std::vector<bool> knownParameters;
};

// True when every variance of covariance (its diagonal) may be shown
// (isShowableVariance), a parameter flagged in known (one flag per
// parameter, or empty) taken as known. A point whose covariance
// fails this is not a result to show: the callers treat it as a singular
// point, as when the Hessian is refused.
bool hasPositiveFiniteVariances(const Matrix& covariance, const std::vector<bool>& known = {});
