#include "engine/SingleReleaseInformation.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

void requireLength(std::size_t actual, int expected, const char* what)
{
    if (actual != static_cast<std::size_t>(expected))
        throw std::invalid_argument(std::string("SingleReleaseInformation: expected ") +
                                    std::to_string(expected) + ' ' + what + ", got " +
                                    std::to_string(actual));
}

} // namespace

SingleReleaseInformation::SingleReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : survivals(survivalLabels, 0)
    , detections(detectionLabels, survivals.nextIndex())
    , lambdaPosition(detections.nextIndex())
{
    requireLength(detectionLabels.size(), static_cast<int>(survivalLabels.size()),
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
    requireLength(removalProportions.size(), reachCount(), "removal proportions");
    requireLength(releaseSizes.size(), reachCount() + 1, "release sizes");
    requireLength(survivalValues.size(), survivals.createdCount(), "survival values");
    requireLength(detectionValues.size(), detections.createdCount(), "detection values");

    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    auto out = std::copy(survivalValues.begin(), survivalValues.end(), parametersOut.begin());
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    *out = lambda;
    trueValues = parametersOut;

    ReleaseChain& chain = chains.front();
    chain.removals = removalProportions;
    chain.releaseSizes.assign(releaseSizes.begin(), releaseSizes.end());
}
