#include "engine/likelihoods/SingleReleaseLayout.h"

#include "engine/likelihoods/DomainCheck.h"
#include "engine/likelihoods/LengthCheck.h"

#include <algorithm>

SingleReleaseLayout::SingleReleaseLayout(const char* owner, const std::vector<int>& survivalLabels,
                                         const std::vector<int>& detectionLabels)
    : survivals(survivalLabels, 0)
    , detections(detectionLabels, survivals.nextIndex())
    , lambdaPosition(detections.nextIndex())
{
    requireLength(owner, detectionLabels.size(), static_cast<int>(survivalLabels.size()),
                  "detection labels");
    requireLabels(owner, "survival label", survivalLabels);
    requireLabels(owner, "detection label", detectionLabels);
}

void SingleReleaseLayout::checkCase(const char* owner,
                                    const std::vector<double>& removalProportions,
                                    const std::vector<int>& releaseSizes,
                                    const std::vector<double>& survivalValues,
                                    const std::vector<double>& detectionValues, double lambda) const
{
    requireLength(owner, removalProportions.size(), reachCount(), "removal proportions");
    requireLength(owner, releaseSizes.size(), reachCount() + 1, "release sizes");
    requireLength(owner, survivalValues.size(), survivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), detections.createdCount(), "detection values");

    requireRemovalProportions(owner, removalProportions);
    for (std::size_t s = 0; s < releaseSizes.size(); ++s)
        requireReleaseSize(owner, "release size " + std::to_string(s), releaseSizes[s]);
    requireProbabilities(owner, "survival value", survivalValues);
    requireProbabilities(owner, "detection value", detectionValues);
    requireProbability(owner, "lambda", lambda);
}

void SingleReleaseLayout::writeParameters(std::vector<double>& parametersOut,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues,
                                          double lambda) const
{
    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    auto out = std::copy(survivalValues.begin(), survivalValues.end(), parametersOut.begin());
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    *out = lambda;
}
