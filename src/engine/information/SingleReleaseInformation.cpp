#include "engine/information/SingleReleaseInformation.h"

namespace {

const char* const owner = "SingleReleaseInformation";

} // namespace

SingleReleaseInformation::SingleReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : layout(owner, survivalLabels, detectionLabels)
{
    setParameterCount(layout.parameterCount());

    ReleaseChain chain;
    chain.survivalIndices = survivalMap().positionIndices();
    chain.detectionIndices = detectionMap().positionIndices();
    chain.lambdaIndex = lambdaIndex();
    chains.push_back(chain);
}

void SingleReleaseInformation::setCase(const std::vector<double>& removalProportions,
                                       std::vector<double>& parametersOut,
                                       const std::vector<int>& releaseSizes,
                                       const std::vector<double>& survivalValues,
                                       const std::vector<double>& detectionValues, double lambda)
{
    layout.checkCase(owner, removalProportions, releaseSizes, survivalValues, detectionValues,
                     lambda);

    layout.writeParameters(parametersOut, survivalValues, detectionValues, lambda);
    trueValues = parametersOut;

    ReleaseChain& chain = chains.front();
    chain.removals = removalProportions;
    chain.releaseSizes.assign(releaseSizes.begin(), releaseSizes.end());
}
