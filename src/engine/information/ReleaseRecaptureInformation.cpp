#include "engine/information/ReleaseRecaptureInformation.h"

#include "numerics/CholeskyInverse.h"
#include "numerics/NRError.h"
#include "numerics/SymmetricEigenvalues.h"

#include <stdexcept>

void ReleaseRecaptureInformation::computeHessian(Matrix& hessian) const
{
    if (trueValues.size() != static_cast<std::size_t>(parameters))
        throw std::logic_error("ReleaseRecaptureInformation: no case loaded");
    hessian.resize(parameters, parameters);
    for (const ReleaseChain& chain : chains)
        addChainHessian(chain, trueValues, hessian);
}

void ReleaseRecaptureInformation::computeCovariance(Matrix& covariance,
                                                    const std::atomic<bool>* cancelFlag,
                                                    Matrix* hessianOut) const
{
    if (isCanceled(cancelFlag))
        return;
    Matrix hessian;
    computeHessian(hessian);
    if (hessianOut != nullptr)
        *hessianOut = hessian;

    invertChecked(hessian, covariance, cancelFlag);
}

void ReleaseRecaptureInformation::invertChecked(const Matrix& hessian, Matrix& covariance,
                                                const std::atomic<bool>* cancelFlag) const
{
    if (isCanceled(cancelFlag))
        return;
    if (!symmetricIsPositiveDefinite(hessian))
        throw NR3::NRError("Singular Hessian in calculating covariance matrix");

    if (isCanceled(cancelFlag))
        return;
    choleskyInverse(hessian, covariance);
}
