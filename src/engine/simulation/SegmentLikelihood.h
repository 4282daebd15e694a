#pragma once

#include "engine/information/ReleaseChain.h"
#include "engine/simulation/ChainProbabilities.h"
#include "engine/simulation/SegmentCounts.h"

#include <vector>

// The log-likelihood of a design's segment counts as a function of its
// parameter vector, with its exact gradient. Given the fish that start each
// segment, the segments' ends are multinomial with the probabilities q(a, b)
// and chi_a of ReleaseChain.cpp, so up to a constant (the multinomial
// coefficients and the removals' c_j, which hold no parameter)
//     log L = sum_{a, b} m(a, b) log q(a, b) + sum_a n_a log chi_a,
// m(a, b) the fish next detected at b, n_a those never seen again.
//
// The detection segments' part is a sum over reaches. A segment (a, b) holds
// log S_j for every reach j it passed (a <= j < b), log(1 - P_j) for every
// site it passed unseen (j + 1 < b) and log P_{b-1} at its end, or log lambda
// at the final site, so with
//     survived_j = sum_{a <= j < b} m(a, b),  missed_j = sum_{a <= j, b > j + 1} m(a, b),
//     detected_j = sum_{a <= j} m(a, j + 1),  final = sum_a m(a, K + 1)
// it is sum_j [survived_j log S_j + detected_j log P_j + missed_j log(1 - P_j)]
// + final log lambda. These sums are formed once from the counts.
//
// The never-seen part needs the derivatives of chi_a: by a variable v of reach
// k >= a, d chi_a / d v = U(a, k) g_k(v), with U(a, k) = u_a ... u_{k-1},
// u_j = S_j (1 - P_j), and g_k the derivative of chi_k by v at fixed chi_{k+1}
// (g_k(S_k) = -(P_k + (1 - P_k)(1 - chi_{k+1})), g_k(P_k) = -S_k chi_{k+1},
// g_K(lambda) = -1). So its gradient is W_k g_k(v) with
//     W_k = sum_{a <= k} (n_a / chi_a) U(a, k) = W_{k-1} u_{k-1} + n_k / chi_k,
// and an evaluation costs O(K) per chain.
class SegmentLikelihood
{
public:
    // counts[c] are the counts of chains[c]. Throws std::invalid_argument
    // when the numbers of chains and counts, or of their reaches, differ.
    SegmentLikelihood(const std::vector<ReleaseChain>& chains,
                      const std::vector<SegmentCounts>& counts);

    // log L at parameters, -infinity where a cell with fish has probability
    // 0. gradient, when given and log L is finite, receives d log L / d theta
    // (resized to parameters.size()); a survival factor's share comes by the
    // product rule.
    double evaluate(const std::vector<double>& parameters, std::vector<double>* gradient) const;

private:
    struct ChainStatistics
    {
        std::vector<double> survived, detected, missed, neverSeen;
        double final = 0.0;
    };

    static ChainStatistics statisticsOf(const SegmentCounts& counts);
    double evaluateChain(int c, const std::vector<double>& parameters,
                         std::vector<double>* gradient) const;

    std::vector<ReleaseChain> chains;
    std::vector<ChainStatistics> statistics;
    // Working storage of evaluate, which makes one object unfit for use by
    // two threads at once.
    mutable ChainProbabilities probabilities;
    mutable std::vector<double> chi, seen, survivalSlope, detectionSlope;
};
