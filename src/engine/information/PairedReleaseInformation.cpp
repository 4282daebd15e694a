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

Matrix submatrix(const Matrix& m, const std::vector<int>& rows, const std::vector<int>& cols)
{
    Matrix part(static_cast<int>(rows.size()), static_cast<int>(cols.size()));
    for (int r = 0; r < part.rows(); ++r)
        for (int c = 0; c < part.cols(); ++c)
            part(r, c) = m(rows[r], cols[c]);
    return part;
}

// symmetricRowSumNorm of the symmetric submatrix of m at indices, read from
// m's lower triangle.
double rowSumNorm(const Matrix& m, const std::vector<int>& indices)
{
    double largest = 0.0;
    for (int r : indices) {
        double sum = 0.0;
        for (int c : indices)
            sum += std::fabs(r >= c ? m(r, c) : m(c, r));
        largest = std::max(largest, sum);
    }
    return largest;
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

// One group's block D of the Hessian with its inverse, scale times the matrix
// at inverse (its own, or the inverse of the block for one fish released),
// and E = D^-1 B, B the block's columns of Sc and St.
struct GroupBlock
{
    std::vector<int> indices;
    Matrix ownInverse;
    const Matrix* inverse = &ownInverse;
    double scale = 1.0;
    std::vector<std::array<double, 2>> e;
};

// E = D^-1 B for the group whose inverse is known, B the block's columns of
// Sc and St.
void solveBorder(const Matrix& hessian, const std::vector<int>& border, GroupBlock& group)
{
    const std::size_t size = group.indices.size();
    std::vector<std::array<double, 2>> b(size);
    for (std::size_t k = 0; k < size; ++k)
        b[k] = {hessian(group.indices[k], border[0]), hessian(group.indices[k], border[1])};
    group.e.assign(size, {0.0, 0.0});
    for (std::size_t r = 0; r < size; ++r) {
        const double* row = group.inverse->data() + r * size;
        double e0 = 0.0;
        double e1 = 0.0;
        for (std::size_t k = 0; k < size; ++k) {
            e0 += row[k] * b[k][0];
            e1 += row[k] * b[k][1];
        }
        group.e[r] = {group.scale * e0, group.scale * e1};
    }
}

} // namespace

// The indices of one group's own parameters: its survivals, its detections
// and its lambda.
std::vector<int> PairedReleaseInformation::groupIndices(int group) const
{
    const ParameterMap& survivals = group == 0 ? controlSurvivalMap() : treatmentSurvivalMap();
    const ParameterMap& detections = group == 0 ? controlDetectionMap() : treatmentDetectionMap();
    std::vector<int> indices;
    for (int i = survivals.firstIndex(); i < survivals.nextIndex(); ++i)
        indices.push_back(i);
    for (int i = detections.firstIndex(); i < detections.nextIndex(); ++i)
        indices.push_back(i);
    indices.push_back(group == 0 ? controlLambdaIndex() : treatmentLambdaIndex());
    return indices;
}

const PairedReleaseInformation::PerFishPart& PairedReleaseInformation::perFishPart(int group) const
{
    const ReleaseChain& chain = chains[static_cast<std::size_t>(group)];
    std::vector<double> key = chain.removals;
    for (int index : chain.survivalIndices)
        key.push_back(trueValues[index]);
    for (int index : chain.detectionIndices)
        key.push_back(trueValues[index]);
    key.push_back(trueValues[chain.lambdaIndex]);
    if (chain.firstSurvivalFactorIndex >= 0)
        key.push_back(trueValues[chain.firstSurvivalFactorIndex]);

    PerFishPart& part = perFish[group];
    if (part.formed && part.key == key)
        return part;
    part.key = std::move(key);
    part.formed = false;
    ReleaseChain oneFish = chain;
    std::fill(oneFish.releaseSizes.begin(), oneFish.releaseSizes.end(), 0.0);
    oneFish.releaseSizes.front() = 1.0;
    Matrix whole(parameterCount(), parameterCount());
    part.directions.clear();
    addChainHessian(oneFish, trueValues, whole, &part.directions);

    const std::vector<int> own = groupIndices(group);
    part.indices = {scIndex, stIndex};
    part.indices.insert(part.indices.end(), own.begin(), own.end());
    part.hessian = submatrix(whole, part.indices, part.indices);
    try {
        choleskyInverse(submatrix(whole, own, own), part.blockInverse);
        part.inverted = true;
    } catch (const NR3::NRError&) {
        part.inverted = false;
    }
    part.blockTrace = 0.0;
    for (int i = 0; part.inverted && i < part.blockInverse.rows(); ++i)
        part.blockTrace += part.blockInverse(i, i);
    part.formed = true;
    return part;
}

// A group with no fish released adds nothing: its chain would add zeros.
void PairedReleaseInformation::addGroupHessians(
    Matrix& hessian, std::vector<std::vector<double>>* divergentDirections) const
{
    for (int g = 0; g < 2; ++g) {
        const double release = chains[static_cast<std::size_t>(g)].releaseSizes.front();
        if (!(release > 0.0))
            continue;
        const PerFishPart& part = perFishPart(g);
        const int size = static_cast<int>(part.indices.size());
        for (int r = 0; r < size; ++r) {
            double* row =
                hessian.data() + static_cast<std::size_t>(part.indices[r]) * hessian.cols();
            for (int c = 0; c < size; ++c)
                row[part.indices[c]] += release * part.hessian(r, c);
        }
        if (divergentDirections != nullptr)
            divergentDirections->insert(divergentDirections->end(), part.directions.begin(),
                                        part.directions.end());
    }
}

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
// test too. The blocks' inverses come from their blocks for one fish
// released (perFishPart), whose trace divided by the release size is that
// of the block's inverse; where that bound is inconclusive both blocks are
// tested and inverted as they stand.
void PairedReleaseInformation::invertChecked(const Matrix& hessian, Matrix& covariance,
                                             const std::atomic<bool>* cancelFlag) const
{
    if (isCanceled(cancelFlag))
        return;
    const std::vector<int> border = {scIndex, stIndex};
    GroupBlock groups[2];
    for (int g = 0; g < 2; ++g)
        groups[g].indices = groupIndices(g);

    const int n = parameterCount();
    const Matrix a = submatrix(hessian, border, border);
    const double borderLargest = largestMagnitude(symmetricEigenvalues(a));
    double largestBound = borderLargest;
    for (const GroupBlock& group : groups)
        largestBound = std::max(largestBound, rowSumNorm(hessian, group.indices));
    const double boundThreshold = rankThreshold(n, n, largestBound);
    const NR3::NRError singular("Singular Hessian in calculating covariance matrix");

    // The complement's threshold: twice the grown one until the exact one
    // is known.
    double threshold = 2.0 * boundThreshold;
    bool exact = false;
    Matrix blocks[2];
    const auto testBlocksExactly = [&]() {
        std::vector<double> eigenvalues[2];
        double largest = borderLargest;
        for (int g = 0; g < 2; ++g) {
            if (blocks[g].rows() == 0)
                blocks[g] = submatrix(hessian, groups[g].indices, groups[g].indices);
            eigenvalues[g] = symmetricEigenvalues(blocks[g]);
            largest = std::max(largest, largestMagnitude(eigenvalues[g]));
        }
        threshold = rankThreshold(n, n, largest);
        exact = true;
        if (!allAbove(eigenvalues[0], threshold) || !allAbove(eigenvalues[1], threshold))
            throw singular;
    };
    const auto scaledInverse = [&](int g) {
        const double release = chains[static_cast<std::size_t>(g)].releaseSizes.front();
        if (!(release > 0.0))
            return false;
        const PerFishPart& part = perFishPart(g);
        if (!part.inverted ||
            !traceShowsAbove(part.blockTrace / release, part.blockInverse.rows(), boundThreshold))
            return false;
        groups[g].inverse = &part.blockInverse;
        groups[g].scale = 1.0 / release;
        return true;
    };
    if (!scaledInverse(0) || !scaledInverse(1)) {
        testBlocksExactly();
        for (GroupBlock& group : groups) {
            choleskyInverse(blocks[&group - groups], group.ownInverse);
            group.inverse = &group.ownInverse;
            group.scale = 1.0;
        }
    }

    if (isCanceled(cancelFlag))
        return;
    Matrix schur = a;
    for (GroupBlock& group : groups) {
        solveBorder(hessian, border, group);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                for (std::size_t k = 0; k < group.indices.size(); ++k)
                    schur(r, c) -= hessian(group.indices[k], border[r]) * group.e[k][c];
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
        own.insert(own.end(), group.indices.begin(), group.indices.end());
        for (const std::array<double, 2>& row : group.e) {
            e.push_back(row);
            f.push_back({row[0] * schurInverse(0, 0) + row[1] * schurInverse(1, 0),
                         row[0] * schurInverse(0, 1) + row[1] * schurInverse(1, 1)});
        }
    }

    // cov(g, g) = E S^-1 E' plus D^-1 within each group.
    covariance.resize(n, n);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            covariance(border[r], border[c]) = schurInverse(r, c);
    std::size_t offset = 0;
    for (const GroupBlock& group : groups) {
        const std::size_t size = group.indices.size();
        for (std::size_t r = 0; r < size; ++r) {
            const std::size_t i = offset + r;
            double* row = covariance.data() + static_cast<std::size_t>(own[i]) * n;
            for (int c = 0; c < 2; ++c)
                row[border[c]] = covariance(border[c], own[i]) = -f[i][c];
            for (std::size_t j = 0; j < own.size(); ++j)
                row[own[j]] = f[i][0] * e[j][0] + f[i][1] * e[j][1];
            const double* inverse = group.inverse->data() + r * size;
            for (std::size_t c = 0; c < size; ++c)
                row[own[offset + c]] += group.scale * inverse[c];
        }
        offset += size;
    }
}
