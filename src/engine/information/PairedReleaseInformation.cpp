#include "engine/information/PairedReleaseInformation.h"

namespace {

const char* const owner = "PairedReleaseInformation";

} // namespace

PairedReleaseInformation::PairedReleaseInformation(const std::vector<int>& survivalLabels,
                                                   const std::vector<int>& detectionLabels)
    : layout(owner, survivalLabels, detectionLabels, PairedReleaseLayout::firstReachParameterCount)
{
    setParameterCount(layout.parameterCount());

    ReleaseChain control =
        groupChain(controlSurvivalMap(), controlDetectionMap(), controlLambdaIndex());
    ReleaseChain treatment =
        groupChain(treatmentSurvivalMap(), treatmentDetectionMap(), treatmentLambdaIndex());
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
    PairedReleaseLayout::checkFirstReach(owner, sc, st);
    layout.checkCase(owner, removalProportions, survivalValues, detectionValues, lambda,
                     controlRelease, treatmentRelease);

    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    parametersOut[scIndex] = sc;
    parametersOut[stIndex] = st;
    layout.writeGroupParameters(parametersOut, survivalValues, detectionValues, lambda);
    trueValues = parametersOut;

    const int releases[] = {controlRelease, treatmentRelease};
    for (std::size_t group = 0; group < chains.size(); ++group) {
        ReleaseChain& chain = chains[group];
        chain.removals = removalProportions;
        chain.releaseSizes.assign(static_cast<std::size_t>(downstreamReachCount()) + 2, 0.0);
        chain.releaseSizes.front() = releases[group];
    }
}
