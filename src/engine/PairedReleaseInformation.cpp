#include "engine/PairedReleaseInformation.h"

#include <algorithm>

namespace {

const char* const owner = "PairedReleaseInformation";

} // namespace

PairedReleaseInformation::PairedReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : controlSurvivals(survivalLabels, stIndex + 1)
    , treatmentSurvivals(survivalLabels, controlSurvivals.nextIndex())
    , controlDetections(detectionLabels, treatmentSurvivals.nextIndex())
    , treatmentDetections(detectionLabels, controlDetections.nextIndex())
    , controlLambda(treatmentDetections.nextIndex())
{
    requireLength(owner, detectionLabels.size(), static_cast<int>(survivalLabels.size()) + 1,
                  "detection labels");
    setParameterCount(controlLambda + 2);

    ReleaseChain control = groupChain(controlSurvivals, controlDetections, controlLambda);
    ReleaseChain treatment =
        groupChain(treatmentSurvivals, treatmentDetections, treatmentLambdaIndex());
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
    const int reaches = downstreamReachCount() + 1;
    requireLength(owner, removalProportions.size(), reaches, "removal proportions");
    requireLength(owner, survivalValues.size(), controlSurvivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), controlDetections.createdCount(),
                  "detection values");

    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    parametersOut[scIndex] = sc;
    parametersOut[stIndex] = st;
    auto out = parametersOut.begin() + controlSurvivals.firstIndex();
    out = std::copy(survivalValues.begin(), survivalValues.end(), out);
    out = std::copy(survivalValues.begin(), survivalValues.end(), out);
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    *out++ = lambda;
    *out = lambda;
    trueValues = parametersOut;

    const int releases[] = {controlRelease, treatmentRelease};
    for (std::size_t group = 0; group < chains.size(); ++group) {
        ReleaseChain& chain = chains[group];
        chain.removals = removalProportions;
        chain.releaseSizes.assign(static_cast<std::size_t>(reaches) + 1, 0.0);
        chain.releaseSizes.front() = releases[group];
    }
}
