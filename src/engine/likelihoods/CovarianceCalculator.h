#pragma once

#include "engine/likelihoods/LikelihoodFunc.h"
#include "numerics/Matrix.h"

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// Turns a negative log-likelihood loaded with expected counts into the
// expected variance-covariance matrix of the estimates: the central-difference
// Hessian at the true parameter values, checked for full rank by singular
// value decomposition and inverted by LU decomposition. Built on the stack for
// one computation.
class CovarianceCalculator
{
public:
    // cancelFlag belongs to the caller and may be null; it is read before
    // every Hessian element. step is the finite-difference step relative to
    // each parameter's value (the study runs use 1e-5).
    CovarianceCalculator(const std::atomic<bool>* cancelFlag, double step);
    ~CovarianceCalculator();

    CovarianceCalculator(const CovarianceCalculator&) = delete;
    CovarianceCalculator& operator=(const CovarianceCalculator&) = delete;

    // Fills covariance (n × n, n the number of parameters) with the inverse of
    // the Hessian of func at parameters. hessianOut, when given, receives a
    // copy of the Hessian. Failures (NR3::NRError for a singular Hessian or a
    // linear-algebra error, std::invalid_argument for a covariance matrix of
    // the wrong size) throw, or, when okFlag is given, set it to false and
    // leave the message in errorText(). A cancel leaves covariance untouched
    // and is not a failure.
    void computeCovariance(const ryn::LikelihoodFunc& func, const std::vector<double>& parameters,
                           Matrix& covariance, Matrix* hessianOut = nullptr,
                           bool* okFlag = nullptr);

    // Central-difference Hessian with step h_i = step·x_i. Costs 1 + 2n²
    // evaluations of func; stops early, leaving hessian partly filled, when
    // the cancel flag is seen. Allocates only its working copy of x.
    void computeHessian(const ryn::Func& func, const std::vector<double>& x, double step,
                        Matrix& hessian) const;

    // True when the numerical rank of the square matrix equals its order: its
    // singular values are compared with the threshold of rankThreshold().
    static bool hasFullRank(const Matrix& hessian);

    // covariance = hessian⁻¹ by LU decomposition; covariance is resized to
    // match. Throws NR3::NRError for a matrix with a zero row.
    static void invert(const Matrix& hessian, Matrix& covariance);

    const QString& errorText() const { return lastError; }

private:
    bool isCanceled() const;

    const std::atomic<bool>* cancelFlag;
    double step;
    std::unique_ptr<Matrix> hessian;
    QString lastError;
};
