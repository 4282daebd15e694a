#include "engine/simulation/ChainProbabilities.h"

void readChainProbabilities(const ReleaseChain& chain, const std::vector<double>& parameters,
                            ChainProbabilities& out)
{
    const int reaches = chain.reachCount();
    out.survival.resize(static_cast<std::size_t>(reaches));
    out.detection.resize(static_cast<std::size_t>(reaches));
    for (int j = 0; j < reaches; ++j) {
        out.survival[j] = parameters[chain.survivalIndices[j]];
        out.detection[j] = parameters[chain.detectionIndices[j]];
    }
    if (chain.firstSurvivalFactorIndex >= 0)
        out.survival[0] *= parameters[chain.firstSurvivalFactorIndex];
    out.lambda = parameters[chain.lambdaIndex];
}
