#pragma once

#include "engine/information/ReleaseChain.h"

#include <vector>

// The probabilities of one group of fish at a parameter vector, by reach:
// S_j (for j = 0 times the chain's survival factor, when it has one), P_j,
// and the final reach's lambda.
struct ChainProbabilities
{
    std::vector<double> survival;
    std::vector<double> detection;
    double lambda = 0.0;
};

// Reads chain's probabilities from parameters into out, reusing its storage.
void readChainProbabilities(const ReleaseChain& chain, const std::vector<double>& parameters,
                            ChainProbabilities& out);
