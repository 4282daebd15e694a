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
void addChainHessian(const ReleaseChain& chain, const std::vector<double>& parameters,
                     Matrix& hessian);
