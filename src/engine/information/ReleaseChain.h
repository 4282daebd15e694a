#pragma once

#include "numerics/Matrix.h"

#include <vector>

// One group of tagged fish moving down a chain of detection sites, as the
// release-recapture likelihoods model it. Reach j (j = 0 .. reachCount() - 1)
// leads from site j to site j + 1: a fish survives it with probability S_j and,
// alive at site j + 1, is detected there with probability P_j; the proportion
// c_j of the detected fish is removed. After the last of these reaches comes
// the final reach, whose survival and detection are one probability, lambda.
// Fish are released at sites 0 .. reachCount().
//
// The chain names the position of every probability in the parameter vector,
// so reaches that share a label read the same parameter.
struct ReleaseChain
{
    // Parameter index of S_j, one per reach.
    std::vector<int> survivalIndices;
    // Index of a parameter that multiplies S_0, or -1 when there is none: the
    // treatment group of the paired release survives its first reach with
    // Sc * St.
    int firstSurvivalFactorIndex = -1;
    // Parameter index of P_j, one per reach.
    std::vector<int> detectionIndices;
    int lambdaIndex = 0;
    // c_j, one per reach.
    std::vector<double> removals;
    // N_s, the number released at site s, for s = 0 .. reachCount().
    std::vector<double> releaseSizes;

    int reachCount() const { return static_cast<int>(survivalIndices.size()); }
};

// Adds to hessian (n x n, n = parameters.size()) the exact Hessian,
// at parameters, of the chain's multinomial negative log-likelihood of the
// expected counts of its capture histories under those same parameters.
// Capture histories with no expected fish take no part, as in the enumerated
// likelihood, so the result is the second derivative also where a probability
// is exactly 0 or 1.
//
// Where a probability is exactly 1, some histories have no expected fish only
// because of it: fish that pass a site whose detection is 1 unseen, or that
// are never seen again from a site beyond which every fish survives and is
// seen. As the probability tends to 1 the expected count m of such a history
// tends to 0 while its information grad m grad m^T / m grows without bound
// along grad m; every other entry of the Hessian tends to its value at 1.
// divergentDirections, when given, receives grad m (carried to the parameter
// vector) of each such history with a first-order gradient: the directions in
// which the parameters are known exactly in the limit. The histories of fish
// that pass two such sites unseen vanish to second order and add none.
void addChainHessian(const ReleaseChain& chain, const std::vector<double>& parameters,
                     Matrix& hessian,
                     std::vector<std::vector<double>>* divergentDirections = nullptr);

// The divergent directions of addChainHessian alone, without the Hessian.
void addChainDivergentDirections(const ReleaseChain& chain, const std::vector<double>& parameters,
                                 std::vector<std::vector<double>>& divergentDirections);
