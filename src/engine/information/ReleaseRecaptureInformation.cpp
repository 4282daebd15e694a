#include "engine/information/ReleaseRecaptureInformation.h"

#include "numerics/NRError.h"
#include "numerics/OrthogonalComplement.h"
#include "numerics/PositiveDefiniteInverse.h"

#include <stdexcept>

void ReleaseRecaptureInformation::computeHessian(Matrix& hessian) const
{
    computeHessian(hessian, nullptr);
}

void ReleaseRecaptureInformation::computeHessian(
    Matrix& hessian, std::vector<std::vector<double>>* divergentDirections) const
{
    if (trueValues.size() != static_cast<std::size_t>(parameters))
        throw std::logic_error("ReleaseRecaptureInformation: no case loaded");
    hessian.resize(parameters, parameters);
    addGroupHessians(hessian, divergentDirections);
}

void ReleaseRecaptureInformation::addGroupHessians(
    Matrix& hessian, std::vector<std::vector<double>>* divergentDirections) const
{
    for (const ReleaseChain& chain : chains)
        addChainHessian(chain, trueValues, hessian, divergentDirections);
}

void ReleaseRecaptureInformation::computeCovariance(Matrix& covariance,
                                                    const std::atomic<bool>* cancelFlag,
                                                    Matrix* hessianOut) const
{
    if (isCanceled(cancelFlag))
        return;
    Matrix hessian;
    std::vector<std::vector<double>> directions;
    computeHessian(hessian, &directions);
    if (hessianOut != nullptr)
        *hessianOut = hessian;

    if (directions.empty())
        invertChecked(hessian, covariance, cancelFlag);
    else
        invertInformationLimit(hessian, directions, covariance, cancelFlag);
}

std::vector<bool> ReleaseRecaptureInformation::knownParameters() const
{
    if (trueValues.size() != static_cast<std::size_t>(parameters))
        throw std::logic_error("ReleaseRecaptureInformation: no case loaded");
    std::vector<std::vector<double>> directions;
    for (const ReleaseChain& chain : chains)
        addChainDivergentDirections(chain, trueValues, directions);
    if (directions.empty())
        return std::vector<bool>(static_cast<std::size_t>(parameters), false);
    return orthogonalSplit(directions, parameters).inSpan;
}

void ReleaseRecaptureInformation::invertChecked(const Matrix& hessian, Matrix& covariance,
                                                const std::atomic<bool>* cancelFlag) const
{
    if (isCanceled(cancelFlag))
        return;
    if (!positiveDefiniteInverse(hessian, covariance))
        throw NR3::NRError("Singular Hessian in calculating covariance matrix");
}

// Z^T H Z and Z R^-1 Z^T skip the zero entries of Z, which where the
// directions are unit vectors holds one 1 per column: the cost is then that
// of choosing rows and columns.
void invertInformationLimit(const Matrix& hessian,
                            const std::vector<std::vector<double>>& directions, Matrix& covariance,
                            const std::atomic<bool>* cancelFlag)
{
    const int n = hessian.rows();
    const OrthogonalSplit split = orthogonalSplit(directions, n);
    const std::vector<std::vector<double>>& z = split.complement;
    const int m = static_cast<int>(z.size());
    std::vector<std::vector<int>> nonzero(z.size());
    for (int c = 0; c < m; ++c)
        for (int k = 0; k < n; ++k)
            if (z[c][k] != 0.0)
                nonzero[c].push_back(k);

    Matrix reduced(m, m);
    for (int a = 0; a < m; ++a)
        for (int b = 0; b <= a; ++b) {
            double sum = 0.0;
            for (int i : nonzero[a])
                for (int j : nonzero[b])
                    sum += z[a][i] * hessian(i, j) * z[b][j];
            reduced(a, b) = reduced(b, a) = sum;
        }

    if (cancelFlag != nullptr && cancelFlag->load())
        return;
    Matrix reducedInverse;
    if (m > 0) {
        if (!positiveDefiniteInverse(reduced, reducedInverse))
            throw NR3::NRError("Singular Hessian in calculating covariance matrix");
    }

    Matrix limit(n, n);
    for (int a = 0; a < m; ++a)
        for (int b = 0; b < m; ++b) {
            const double r = reducedInverse(a, b);
            for (int i : nonzero[a])
                for (int j : nonzero[b])
                    limit(i, j) += z[a][i] * r * z[b][j];
        }
    for (int k = 0; k < n; ++k)
        if (split.inSpan[k])
            for (int j = 0; j < n; ++j)
                limit(k, j) = limit(j, k) = 0.0;
    covariance = limit;
}
