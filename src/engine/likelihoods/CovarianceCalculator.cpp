#include "engine/likelihoods/CovarianceCalculator.h"

#include "numerics/LUdcmp.h"
#include "numerics/NRError.h"
#include "numerics/NRMatrix.h"
#include "numerics/SVD.h"

#include <exception>
#include <stdexcept>

namespace {

const char* const singularHessianText = "Singular Hessian in calculating covariance matrix";

NR3::Matrix toNumericsMatrix(const Matrix& source)
{
    NR3::Matrix copy(source.rows(), source.cols());
    for (int i = 0; i < source.rows(); ++i)
        for (int j = 0; j < source.cols(); ++j)
            copy[i][j] = source(i, j);
    return copy;
}

} // namespace

CovarianceCalculator::CovarianceCalculator(const std::atomic<bool>* cancelFlag, double step)
    : cancelFlag(cancelFlag)
    , step(step)
{}

CovarianceCalculator::~CovarianceCalculator() = default;

bool CovarianceCalculator::isCanceled() const
{
    return cancelFlag != nullptr && cancelFlag->load();
}

void CovarianceCalculator::computeCovariance(const ryn::LikelihoodFunc& func,
                                             const std::vector<double>& parameters,
                                             Matrix& covariance, Matrix* hessianOut, bool* okFlag)
{
    lastError.clear();
    if (okFlag != nullptr)
        *okFlag = true;
    try {
        const int n = covariance.rows();
        if (covariance.cols() != n || static_cast<std::size_t>(n) != parameters.size())
            throw std::invalid_argument(
                "Covariance matrix size doesn't match the number of parameters");
        hessian = std::make_unique<Matrix>(n, n);

        computeHessian(func, parameters, step, *hessian);
        if (isCanceled())
            return;
        if (hessianOut != nullptr)
            *hessianOut = *hessian;

        if (!hasFullRank(*hessian))
            throw NR3::NRError(singularHessianText);
        invert(*hessian, covariance);
        hessian.reset();
    } catch (const std::exception& error) {
        hessian.reset();
        if (okFlag == nullptr)
            throw;
        *okFlag = false;
        lastError = QString::fromUtf8(error.what());
    } catch (...) {
        hessian.reset();
        if (okFlag == nullptr)
            throw;
        *okFlag = false;
        lastError = QStringLiteral("Unknown error");
    }
}

void CovarianceCalculator::computeHessian(const ryn::Func& func, const std::vector<double>& x,
                                          double step, Matrix& hessian) const
{
    // H(i, i) = (f(x + h_i e_i) − 2 f(x) + f(x − h_i e_i)) / h_i²
    // H(i, j) = (f(++) − f(+−) − f(−+) + f(−−)) / (4 h_i h_j), the signs
    // giving the direction of the steps along parameters i and j.
    const int n = static_cast<int>(x.size());
    const double f0 = func.value(x);
    std::vector<double> shifted(x);
    for (int i = 0; i < n; ++i) {
        const double hi = step * x[i];
        for (int j = 0; j <= i; ++j) {
            if (isCanceled())
                return;
            if (i == j) {
                shifted[i] = x[i] + hi;
                const double fPlus = func.value(shifted);
                shifted[i] = x[i] - hi;
                const double fMinus = func.value(shifted);
                hessian(i, i) = (fPlus - 2.0 * f0 + fMinus) / (hi * hi);
            } else {
                const double hj = step * x[j];
                shifted[i] = x[i] + hi;
                shifted[j] = x[j] + hj;
                const double fPlusPlus = func.value(shifted);
                shifted[j] = x[j] - hj;
                const double fPlusMinus = func.value(shifted);
                shifted[i] = x[i] - hi;
                const double fMinusMinus = func.value(shifted);
                shifted[j] = x[j] + hj;
                const double fMinusPlus = func.value(shifted);
                hessian(i, j) =
                    (fMinusMinus + (fPlusPlus - fMinusPlus - fPlusMinus)) / (4.0 * hi * hj);
                hessian(j, i) = hessian(i, j);
            }
            shifted[i] = x[i];
            shifted[j] = x[j];
        }
    }
}

bool CovarianceCalculator::hasFullRank(const Matrix& hessian)
{
    const NR3::SVD decomposition(toNumericsMatrix(hessian));
    return decomposition.rank() >= hessian.cols();
}

void CovarianceCalculator::invert(const Matrix& hessian, Matrix& covariance)
{
    const NR3::LUdcmp decomposition(toNumericsMatrix(hessian));
    NR3::Matrix inverse;
    decomposition.inverse(inverse);
    covariance.resize(inverse.nrows(), inverse.ncols());
    for (int i = 0; i < inverse.nrows(); ++i)
        for (int j = 0; j < inverse.ncols(); ++j)
            covariance(i, j) = inverse[i][j];
}
