#include "engine/likelihoods/PairedReleaseBaseLikelihoodFunc.h"

#include "engine/likelihoods/LengthCheck.h"

#include <algorithm>

PairedReleaseBaseLikelihoodFunc::PairedReleaseBaseLikelihoodFunc(
    const char* owner, const std::vector<int>& survivalLabels,
    const std::vector<int>& detectionLabels, int leadingParameterCount)
    : layout(owner, survivalLabels, detectionLabels, leadingParameterCount)
{}

void PairedReleaseBaseLikelihoodFunc::setGroups(
    const char* owner, const std::vector<double>& leadingValues,
    const std::vector<double>& removalProportions, std::vector<double>& parametersOut,
    int controlRelease, int treatmentRelease, const std::vector<double>& survivalValues,
    const std::vector<double>& detectionValues, double lambda)
{
    requireLength(owner, leadingValues.size(), leadingParameterCount(), "leading parameters");
    layout.checkCase(owner, removalProportions, survivalValues, detectionValues, lambda,
                     controlRelease, treatmentRelease);

    clear();
    removals = removalProportions;
    parametersOut.resize(static_cast<std::size_t>(parameterCount()));
    std::copy(leadingValues.begin(), leadingValues.end(), parametersOut.begin());
    layout.writeGroupParameters(parametersOut, survivalValues, detectionValues, lambda);

    const ParameterMap& controlSurvivals = controlSurvivalMap();
    const ParameterMap& controlDetections = controlDetectionMap();
    const ParameterMap& treatmentSurvivals = treatmentSurvivalMap();
    const ParameterMap& treatmentDetections = treatmentDetectionMap();
    buildChi(controlChis, chiSize(), controlSurvivals, controlDetections, controlLambdaIndex());
    buildChi(treatmentChis, chiSize(), treatmentSurvivals, treatmentDetections,
             treatmentLambdaIndex());

    std::vector<int> releases(static_cast<std::size_t>(chiSize()), 0);
    releases[0] = controlRelease;
    addCells(releases, controlChis, controlSurvivals, controlDetections, controlLambdaIndex(),
             parametersOut);
    releases[0] = treatmentRelease;
    addCells(releases, treatmentChis, treatmentSurvivals, treatmentDetections,
             treatmentLambdaIndex(), parametersOut);
}

double PairedReleaseBaseLikelihoodFunc::removalProportion(int reach) const
{
    return removals[static_cast<std::size_t>(reach)];
}

void PairedReleaseBaseLikelihoodFunc::clear()
{
    ReleaseRecaptureLikelihoodFunc::clear();
    controlChis.clear();
    treatmentChis.clear();
}
