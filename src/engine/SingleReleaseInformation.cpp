#include "engine/SingleReleaseInformation.h"

#include <algorithm>

namespace {

const char* const owner = "SingleReleaseInformation";

} // namespace

SingleReleaseInformation::SingleReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : survivals(survivalLabels, 0)
    , detections(detectionLabels, survivals.nextIndex())
    , lambdaPosition(detections.nextIndex())
{
    requireLength(owner, detectionLabels.size(), static_cast<int>(survivalLabels.size()),
                  "detection labels");
    setParameterCount(lambdaPosition + 1);

    ReleaseChain chain;
    chain.survivalIndices = survivals.positionIndices();
    chain.detectionIndices = detections.positionIndices();
    chain.lambdaIndex = lambdaPosition;
    chains.push_back(chain);
}

void SingleReleaseInformation::setCase(const std::vector<double>& removalProportions,
                                       std::vector<double>& parametersOut,
                                       const std::vector<int>& releaseSizes,
                                       const std::vector<double>& survivalValues,
                                       const std::vector<double>& detectionValues, double lambda)
{
    requireLength(owner, removalProportions.size(), reachCount(), "removal proportions");
    requireLength(owner, releaseSizes.size(), reachCount() + 1, "release sizes");
    requireLength(owner, survivalValues.size(), survivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), detections.createdCount(), "detection values");

    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    auto out = std::copy(survivalValues.begin(), survivalValues.end(), parametersOut.begin());
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    *out = lambda;
    trueValues = parametersOut;

    ReleaseChain& chain = chains.front();
    chain.removals = removalProportions;
    chain.releaseSizes.assign(releaseSizes.begin(), releaseSizes.end());
}
