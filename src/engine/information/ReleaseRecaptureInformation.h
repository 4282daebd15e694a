#pragma once

#include "engine/information/ReleaseChain.h"
#include "numerics/Matrix.h"

#include <atomic>
#include <cstddef>
#include <vector>

// The precision of a release-recapture design of any size. The likelihoods
// list every capture history, whose number doubles with each detection site,
// and differentiate numerically; this works on the histories' segments (see
// ReleaseChain) and differentiates exactly. It yields the Hessian of the
// expected negative log-likelihood at the true values, in the likelihood's
// own parameter order, and its inverse, the expected variance-covariance
// matrix of the estimates. The derived designs say how their groups of fish
// read the parameter vector and load one case at a time.
//
// Every run of the program uses this path, the virtual paired-release design
// included. The enumerated likelihoods with the central-difference
// covariance (CovarianceCalculator) are the tests' reference model only: the
// round-off of their numerical Hessian grows with the number of cells, and on
// some designs (several downstream reaches, heavy removals) their variances
// are off by more than 1e-3 relative, at worst by a multiple of the value.
// This path agrees with the exact derivatives of the enumerated cells to
// rounding.
class ReleaseRecaptureInformation
{
public:
    virtual ~ReleaseRecaptureInformation() = default;

    int parameterCount() const { return parameters; }

    // The groups of fish of the current case and its true parameter values:
    // what a simulation of the design draws its data from.
    const std::vector<ReleaseChain>& releaseChains() const { return chains; }
    const std::vector<double>& caseValues() const { return trueValues; }

    // The Hessian at the parameters of the current case, into hessian
    // (resized to n x n).
    void computeHessian(Matrix& hessian) const;

    // covariance (resized to n x n) = the inverse of the Hessian. The Hessian
    // is accepted only when every eigenvalue is positive and above the
    // threshold of the covariance computation's rank rule: where some cells
    // have probability 0 (a detection or lambda of 0, or of 1 with removals)
    // the Hessian can have full rank and yet be indefinite, and its inverse
    // would hold negative variances. Any other Hessian throws NR3::NRError
    // "Singular Hessian in calculating covariance matrix". An accepted Hessian
    // is inverted by its Cholesky factor, which throws its own error should
    // rounding make a pivot non-positive. hessianOut, when given, receives the
    // Hessian. cancelFlag (may be null) is read before each stage; once it is
    // set the call returns with covariance untouched, which is not a failure.
    //
    // Where a probability is exactly 1 the covariance is the limit as it
    // tends to 1 (see addChainHessian): the information grows without bound
    // along the divergent directions D, so with Z an orthonormal basis of the
    // complement of D the covariance tends to Z (Z^T H Z)^-1 Z^T, the limit of
    // the Schur complement. The test and the inverse then apply to Z^T H Z.
    // Where D holds unit vectors (a detection or lambda of 1 with fish that
    // would show its misses), this drops their rows and columns: those
    // parameters are known exactly and get variance and covariances 0.
    void computeCovariance(Matrix& covariance, const std::atomic<bool>* cancelFlag = nullptr,
                           Matrix* hessianOut = nullptr) const;

    // The parameters of the current case that are known exactly: those whose
    // unit vector lies in the divergent directions of computeCovariance. Their
    // variance is 0, and only theirs.
    std::vector<bool> knownParameters() const;

protected:
    ReleaseRecaptureInformation() = default;
    void setParameterCount(int count) { parameters = count; }

    // The test and inverse of computeCovariance for a Hessian already
    // computed: throws as computeCovariance says, returns with covariance
    // untouched once cancelFlag is set. A design whose Hessian has a known
    // structure may test and invert it by parts.
    virtual void invertChecked(const Matrix& hessian, Matrix& covariance,
                               const std::atomic<bool>* cancelFlag) const;
    // Adds the Hessian of every group of fish (addChainHessian of each chain)
    // at the current case to hessian (n x n), with their divergent directions
    // when asked for. A design may form it from parts it keeps between cases.
    virtual void addGroupHessians(Matrix& hessian,
                                  std::vector<std::vector<double>>* divergentDirections) const;
    static bool isCanceled(const std::atomic<bool>* cancelFlag)
    {
        return cancelFlag != nullptr && cancelFlag->load();
    }

    // The groups of fish of the design, with the removals and release sizes
    // of the current case.
    std::vector<ReleaseChain> chains;
    // The true parameter values of the current case.
    std::vector<double> trueValues;

private:
    void computeHessian(Matrix& hessian,
                        std::vector<std::vector<double>>* divergentDirections) const;

    int parameters = 0;
};

// The limit covariance of computeCovariance for a Hessian whose information
// grows without bound along directions (from addChainHessian, not empty):
// Z (Z^T H Z)^-1 Z^T, known rows and columns exactly 0. Throws NR3::NRError
// "Singular Hessian in calculating covariance matrix" when Z^T H Z fails the
// test of computeCovariance; returns with covariance untouched once
// cancelFlag (may be null) is set. The simulation's fits use it too.
void invertInformationLimit(const Matrix& hessian,
                            const std::vector<std::vector<double>>& directions, Matrix& covariance,
                            const std::atomic<bool>* cancelFlag = nullptr);
