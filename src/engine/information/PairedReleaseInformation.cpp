#include "engine/information/PairedReleaseInformation.h"

#include "numerics/CholeskyInverse.h"
#include "numerics/NRError.h"
#include "numerics/PositiveDefiniteInverse.h"
#include "numerics/RankThreshold.h"
#include "numerics/SymmetricEigenvalues.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const char* const owner = "PairedReleaseInformation";

} // namespace

PairedReleaseInformation::PairedReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : layout(owner, survivalLabels, detectionLabels, PairedReleaseLayout::firstReachParameterCount)
{
    setParameterCount(layout.parameterCount());

    ReleaseChain control =
        groupChain(controlSurvivalMap(), controlDetectionMap(), controlLambdaIndex());
    ReleaseChain treatment =
        groupChain(treatmentSurvivalMap(), treatmentDetectionMap(), treatmentLambdaIndex());
    treatment.firstSurvivalFactorIndex = stIndex;
    chains = {control, treatment};
}

// The first reach survives with Sc (times St for the treatment), the
// downstream reach i with the group's parameter of survival label i - 1.
ReleaseChain PairedReleaseInformation::groupChain(const ParameterMap& survivalMap,
                                                  const ParameterMap& detectionMap,
                                                  int lambdaIndex) const
{
    ReleaseChain chain;
    chain.survivalIndices.push_back(scIndex);
    const std::vector<int>& downstream = survivalMap.positionIndices();
    chain.survivalIndices.insert(chain.survivalIndices.end(), downstream.begin(), downstream.end());
    chain.detectionIndices = detectionMap.positionIndices();
    chain.lambdaIndex = lambdaIndex;
    return chain;
}

void PairedReleaseInformation::setCase(double st, double sc,
                                       const std::vector<double>& removalProportions,
                                       std::vector<double>& parametersOut, int controlRelease,
                                       int treatmentRelease,
                                       const std::vector<double>& survivalValues,
                                       const std::vector<double>& detectionValues, double lambda)
{
    PairedReleaseLayout::checkFirstReach(owner, sc, st);
    layout.checkCase(owner, removalProportions, survivalValues, detectionValues, lambda,
                     controlRelease, treatmentRelease);

    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    parametersOut[scIndex] = sc;
    parametersOut[stIndex] = st;
    layout.writeGroupParameters(parametersOut, survivalValues, detectionValues, lambda);
    trueValues = parametersOut;

    const int releases[] = {controlRelease, treatmentRelease};
    for (std::size_t group = 0; group < chains.size(); ++group) {
        ReleaseChain& chain = chains[group];
        chain.removals = removalProportions;
        chain.releaseSizes.assign(static_cast<std::size_t>(downstreamReachCount()) + 2, 0.0);
        chain.releaseSizes.front() = releases[group];
    }
}

namespace {

// The indices of one group's own parameters: its survivals, its detections
// and its lambda.
std::vector<int> groupIndices(const ParameterMap& survivals, const ParameterMap& detections,
                              int lambdaIndex)
{
    std::vector<int> indices;
    for (int i = survivals.firstIndex(); i < survivals.nextIndex(); ++i)
        indices.push_back(i);
    for (int i = detections.firstIndex(); i < detections.nextIndex(); ++i)
        indices.push_back(i);
    indices.push_back(lambdaIndex);
    return indices;
}

Matrix submatrix(const Matrix& m, const std::vector<int>& rows, const std::vector<int>& cols)
{
    Matrix part(static_cast<int>(rows.size()), static_cast<int>(cols.size()));
    for (int r = 0; r < part.rows(); ++r)
        for (int c = 0; c < part.cols(); ++c)
            part(r, c) = m(rows[r], cols[c]);
    return part;
}

double largestMagnitude(const std::vector<double>& eigenvalues)
{
    double largest = 0.0;
    for (double e : eigenvalues)
        largest = std::max(largest, std::fabs(e));
    return largest;
}

bool allAbove(const std::vector<double>& eigenvalues, double threshold)
{
    return std::all_of(eigenvalues.begin(), eigenvalues.end(),
                       [threshold](double e) { return e > threshold; });
}

// One group's block D of the Hessian with its inverse and E = D^-1 B, B the
// block's columns of Sc and St.
struct GroupBlock
{
    std::vector<int> indices;
    Matrix inverse;
    Matrix e;
};

// E = D^-1 B for the group whose inverse is computed, B the block's columns
// of Sc and St.
void solveBorder(const Matrix& hessian, const std::vector<int>& border, GroupBlock& group)
{
    const Matrix b = submatrix(hessian, group.indices, border);
    const int size = static_cast<int>(group.indices.size());
    group.e.resize(size, 2);
    for (int r = 0; r < size; ++r)
        for (int k = 0; k < size; ++k)
            for (int c = 0; c < 2; ++c)
                group.e(r, c) += group.inverse(r, k) * b(k, c);
}

} // namespace

// With the border b = (Sc, St) first and the groups' own parameters g = (c, t):
//
//     H = | A    Bc'  Bt' |        A = H(b, b), Bc = H(c, b), Dc = H(c, c),
//         | Bc   Dc   0   |        and likewise for the treatment group t.
//         | Bt   0    Dt  |
//
// H is positive definite exactly when Dc, Dt and the Schur complement
// S = A - Bc' Dc^-1 Bc - Bt' Dt^-1 Bt are. With E = D^-1 B for each group and
// D = diag(Dc, Dt), the inverse is cov(b, b) = S^-1, cov(g, b) = -E S^-1 and
// cov(g, g) = D^-1 + E S^-1 E'. The eigenvalue test of the whole Hessian is
// applied to Dc, Dt and S with one threshold: the rank threshold of the
// whole n x n matrix, its largest eigenvalue taken as the largest of the
// blocks' and A's (by interlacing none exceeds the whole matrix's).
//
// The blocks' eigenvalues are computed only when that test is close: with
// each block's norm in place of its largest eigenvalue the threshold can only
// grow, and blocks that clear the grown threshold by the margin of
// certainlyAboveInverse, and a complement whose eigenvalues clear twice it
// (room for the rounding of the blocks' computed eigenvalues), pass the exact
// test too.
void PairedReleaseInformation::invertChecked(const Matrix& hessian, Matrix& covariance,
                                             const std::atomic<bool>* cancelFlag) const
{
    if (isCanceled(cancelFlag))
        return;
    const std::vector<int> border = {scIndex, stIndex};
    GroupBlock groups[2];
    groups[0].indices =
        groupIndices(controlSurvivalMap(), controlDetectionMap(), controlLambdaIndex());
    groups[1].indices =
        groupIndices(treatmentSurvivalMap(), treatmentDetectionMap(), treatmentLambdaIndex());

    const int n = parameterCount();
    const Matrix a = submatrix(hessian, border, border);
    const double borderLargest = largestMagnitude(symmetricEigenvalues(a));
    Matrix blocks[2];
    double largestBound = borderLargest;
    for (int g = 0; g < 2; ++g) {
        blocks[g] = submatrix(hessian, groups[g].indices, groups[g].indices);
        largestBound = std::max(largestBound, symmetricRowSumNorm(blocks[g]));
    }
    const double boundThreshold = rankThreshold(n, n, largestBound);
    const NR3::NRError singular("Singular Hessian in calculating covariance matrix");

    // The complement's threshold: twice the grown one until the exact one
    // is known.
    double threshold = 2.0 * boundThreshold;
    bool exact = false;
    const auto testBlocksExactly = [&]() {
        std::vector<double> eigenvalues[2];
        double largest = borderLargest;
        for (int g = 0; g < 2; ++g) {
            eigenvalues[g] = symmetricEigenvalues(blocks[g]);
            largest = std::max(largest, largestMagnitude(eigenvalues[g]));
        }
        threshold = rankThreshold(n, n, largest);
        exact = true;
        if (!allAbove(eigenvalues[0], threshold) || !allAbove(eigenvalues[1], threshold))
            throw singular;
    };
    if (!certainlyAboveInverse(blocks[0], groups[0].inverse, boundThreshold) ||
        !certainlyAboveInverse(blocks[1], groups[1].inverse, boundThreshold)) {
        testBlocksExactly();
        for (int g = 0; g < 2; ++g)
            choleskyInverse(blocks[g], groups[g].inverse);
    }

    if (isCanceled(cancelFlag))
        return;
    Matrix schur = a;
    for (int g = 0; g < 2; ++g) {
        solveBorder(hessian, border, groups[g]);
        const Matrix b = submatrix(hessian, groups[g].indices, border);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                for (int k = 0; k < b.rows(); ++k)
                    schur(r, c) -= b(k, r) * groups[g].e(k, c);
    }
    schur(0, 1) = schur(1, 0) = 0.5 * (schur(0, 1) + schur(1, 0));
    const std::vector<double> schurEigenvalues = symmetricEigenvalues(schur);
    if (!allAbove(schurEigenvalues, threshold)) {
        if (exact)
            throw singular;
        testBlocksExactly();
        if (!allAbove(schurEigenvalues, threshold))
            throw singular;
    }

    const double det = schur(0, 0) * schur(1, 1) - schur(0, 1) * schur(1, 0);
    Matrix schurInverse(2, 2);
    schurInverse(0, 0) = schur(1, 1) / det;
    schurInverse(1, 1) = schur(0, 0) / det;
    schurInverse(0, 1) = schurInverse(1, 0) = -schur(0, 1) / det;

    // F = E S^-1 for every own parameter of either group, in group order.
    std::vector<int> own;
    std::vector<std::array<double, 2>> e;
    std::vector<std::array<double, 2>> f;
    for (const GroupBlock& group : groups) {
        for (int r = 0; r < static_cast<int>(group.indices.size()); ++r) {
            own.push_back(group.indices[r]);
            e.push_back({group.e(r, 0), group.e(r, 1)});
            f.push_back({group.e(r, 0) * schurInverse(0, 0) + group.e(r, 1) * schurInverse(1, 0),
                         group.e(r, 0) * schurInverse(0, 1) + group.e(r, 1) * schurInverse(1, 1)});
        }
    }

    covariance.resize(n, n);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            covariance(border[r], border[c]) = schurInverse(r, c);
    for (std::size_t i = 0; i < own.size(); ++i) {
        for (int c = 0; c < 2; ++c)
            covariance(own[i], border[c]) = covariance(border[c], own[i]) = -f[i][c];
        for (std::size_t j = 0; j < own.size(); ++j)
            covariance(own[i], own[j]) = f[i][0] * e[j][0] + f[i][1] * e[j][1];
    }
    std::size_t offset = 0;
    for (const GroupBlock& group : groups) {
        const int size = static_cast<int>(group.indices.size());
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                covariance(own[offset + r], own[offset + c]) += group.inverse(r, c);
        offset += static_cast<std::size_t>(size);
    }
}
